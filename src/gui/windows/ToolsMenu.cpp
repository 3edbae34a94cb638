#include "windows/ToolsMenu.h"

#include "look/WindowLook.h"
#include "concordance/SearchRequest.h"
#include "session/SearchChoices.h"

#include <QAction>
#include <QMenu>

namespace quorvex {

namespace {

QAction* addChoice(QMenu* menu, const QString& caption, const char* name)
{
    QAction* item = addMenuItem(menu, caption, name);
    item->setCheckable(true);
    return item;
}

// Sets the check mark without the item's toggled signal: reflecting the choices is no choice.
void showChecked(QAction* item, bool checked)
{
    const bool blocked = item->blockSignals(true);
    item->setChecked(checked);
    item->blockSignals(blocked);
}

} // namespace

ToolsMenu::ToolsMenu(QMenu* menu) : QObject(menu), m_menu(menu)
{
    lemma = addChoice(menu, QStringLiteral("Recherche par &lemme"), "lemme");
    lemmaStrict = addChoice(menu, QStringLiteral("Lemme &strict"), "lemme_strict");
    lemmaForms = addMenuItem(menu, QStringLiteral("For&mes du lemme..."), "formes_lemme");
    normalize = addChoice(menu, QStringLiteral("&Orthographe normalisée"), "orthographe");
    phrase = addChoice(menu, QStringLiteral("&Expression de plusieurs mots"), "expression");
    frenchSide = addChoice(menu, QStringLiteral("Chercher dans le texte &français"), "cote_francais");
    // Checked while a filter is in effect; triggering it asks for the form.
    frenchForm = addChoice(menu, QStringLiteral("Forme dans le &passage français..."), "forme_francaise");
    aligned = addChoice(menu, QStringLiteral("Filtrer par les mots &alignés"), "filtre_aligne");
    menu->addSeparator();
    sortLeft = addMenuItem(menu, QStringLiteral("Tri par le mot de &gauche"), "tri_gauche");
    sortRight = addMenuItem(menu, QStringLiteral("Tri par le mot de d&roite"), "tri_droite");
    menu->addSeparator();
    kwic = addMenuItem(menu, QStringLiteral("Lignes &KWIC..."), "kwic");
    collocates = addMenuItem(menu, QStringLiteral("&Cooccurrents..."), "cooccurrents");
    dispersion = addMenuItem(menu, QStringLiteral("&Dispersion..."), "dispersion");
    translations = addMenuItem(menu, QStringLiteral("&Traductions..."), "traductions");
    markTranslations = addChoice(menu, QStringLiteral("Mar&quer les traductions"), "marquer_traductions");
    menu->addSeparator();
    exportList = addMenuItem(menu, QStringLiteral("E&xporter..."), "exporter");
    copyCommand = addMenuItem(menu, QStringLiteral("Cop&ier la commande"), "copier_commande");
}

QAction* ToolsMenu::item(const QString& name) const { return m_menu->findChild<QAction*>(name); }

void ToolsMenu::reflect(const SearchChoices& c, const QString& lexiconMissing, bool frenchTextNamed,
                        const QString& lexiconWarning, bool listShown)
{
    const bool lexiconFound = lexiconMissing.isEmpty();
    const SearchRequest& r = c.asked;
    showChecked(lemma, r.lemma);
    showChecked(lemmaStrict, r.lemma && r.lemmaStrict);
    // Under the lemma the spelling is always folded: shown checked, not a choice then.
    showChecked(normalize, c.folds());
    showChecked(phrase, r.phrase);
    showChecked(frenchSide, r.frenchSide);
    showChecked(frenchForm, r.frenchForm.has_value());
    showChecked(aligned, r.aligned);
    showChecked(markTranslations, c.markTranslations);

    // A choice is offered when the request it would make passes the command line's checks.
    const auto accepted = [&](auto change) {
        SearchChoices with = c;
        change(with.asked);
        return requestRefusal(with.request(QString()), frenchTextNamed).empty();
    };
    lemma->setEnabled(lexiconFound && accepted([](SearchRequest& w) { w.lemma = true; }));
    lemmaStrict->setEnabled(lexiconFound && r.lemma);
    lemmaForms->setEnabled(lexiconFound && r.lemma);
    normalize->setEnabled(!r.lemma);
    phrase->setEnabled(accepted([](SearchRequest& w) { w.phrase = true; }));
    frenchSide->setEnabled(accepted([](SearchRequest& w) { w.frenchSide = true; }));
    frenchForm->setEnabled(accepted([](SearchRequest& w) { w.frenchForm = "x"; }));
    aligned->setEnabled(accepted([](SearchRequest& w) {
        w.aligned = true;
        w.frenchForm = "x";
    }));
    translations->setEnabled(frenchTextNamed && !r.frenchSide);
    markTranslations->setEnabled(frenchTextNamed && !r.frenchSide);
    copyCommand->setEnabled(listShown);

    const QString lexiconTip = lexiconFound ? lexiconWarning : lexiconMissing;
    for (QAction* item : {lemma, lemmaStrict, lemmaForms})
        item->setToolTip(lexiconTip);
    // Tool tips of menu items show only when the menu asks for them.
    m_menu->setToolTipsVisible(!lexiconTip.isEmpty());
}

} // namespace quorvex
