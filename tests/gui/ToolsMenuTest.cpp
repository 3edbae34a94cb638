// The search window's "Outils" menu driven through the doubles: where it stands, its items
// and their keys, what each greys beside the others, the lexicon's absence, and the lexicon
// found in the build tree with nothing named.

#include "support/CliRows.h"
#include "support/WindowDriver.h"

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

using namespace quorvex;

namespace {

const QByteArray kLatin = cp1252("[1] Deus dixit et caelum. [2] Filius Dei dixit cælum.");
const QByteArray kFrench = cp1252("[1] Dieu dit et le ciel. [2] Le Fils de Dieu dit le ciel.");

QStringList enabledItems(const SearchWindow* s)
{
    QStringList out;
    for (const QAction* item : child<QMenu>(s, "outils")->actions())
        if (!item->isSeparator() && item->isEnabled())
            out << item->objectName();
    return out;
}

QStringList checkedItems(const SearchWindow* s)
{
    QStringList out;
    for (const QAction* item : child<QMenu>(s, "outils")->actions())
        if (item->isChecked())
            out << item->objectName();
    return out;
}

} // namespace

class ToolsMenuTest : public WindowTest {
    Q_OBJECT

private slots:
    void menuStandsBetweenFichierAndAideWithItsItemsAndKeys();
    void choicesGreyWhatTheCommandLineRefusesBesideThem_data();
    void choicesGreyWhatTheCommandLineRefusesBesideThem();
    void withoutTheLexiconTheLemmaItemsAreGreyedWithTheirTip();
    void withNothingNamedTheBuildTreesLexiconServesTheLemmaSearch();
    void namingAFrenchTextUngreysItsItems();
    void altOThenLChecksTheLemmaSearch();

private:
    // Opens the search window on the texts, with a lexicon folder when asked.
    SearchWindow* open(bool lexicon = true, bool french = true)
    {
        if (lexicon) {
            d->write(QStringLiteral("lemmes.la"), "!\n");
            d->write(QStringLiteral("modeles.la"), "!\n");
        }
        qputenv("QUORVEX_LEXICON", lexicon ? d->dir.path().toUtf8() : d->dir.filePath("aucun").toUtf8());
        d->useTexts(kLatin, french ? kFrench : QByteArray());
        trigger(d->windows.textWindow(), "concordance");
        return s = d->windows.searchWindowIfLoaded();
    }

    QPointer<SearchWindow> s;
};

void ToolsMenuTest::menuStandsBetweenFichierAndAideWithItsItemsAndKeys()
{
    QVERIFY(open());
    QStringList menus;
    for (const QAction* a : s->menuBar()->actions())
        menus << a->text();
    QCOMPARE(menus, (QStringList{"&Fichier", "&Outils", "&Aide"}));

    const QList<QPair<QString, QString>> expected = {
        {"lemme", "Recherche par &lemme"},
        {"lemme_strict", "Lemme &strict"},
        {"formes_lemme", "For&mes du lemme..."},
        {"orthographe", "&Orthographe normalisée"},
        {"expression", "&Expression de plusieurs mots"},
        {"cote_francais", "Chercher dans le texte &français"},
        {"forme_francaise", "Forme dans le &passage français..."},
        {"filtre_aligne", "Filtrer par les mots &alignés"},
        {"tri_gauche", "Tri par le mot de &gauche"},
        {"tri_droite", "Tri par le mot de d&roite"},
        {"kwic", "Lignes &KWIC..."},
        {"cooccurrents", "&Cooccurrents..."},
        {"dispersion", "&Dispersion..."},
        {"traductions", "&Traductions..."},
        {"marquer_traductions", "Mar&quer les traductions"},
        {"exporter", "E&xporter..."},
        {"copier_commande", "Cop&ier la commande"},
    };
    QList<QPair<QString, QString>> items;
    for (const QAction* a : child<QMenu>(s, "outils")->actions())
        if (!a->isSeparator())
            items.append({a->objectName(), a->text()});
    QCOMPARE(items, expected);
    // The tool windows find their items by name.
    for (const auto& [name, caption] : expected)
        QCOMPARE(s->toolAction(name), child<QAction>(s, name.toLatin1().constData()));
    QCOMPARE(s->toolAction(QStringLiteral("aucun")), nullptr);
}

void ToolsMenuTest::choicesGreyWhatTheCommandLineRefusesBesideThem_data()
{
    QTest::addColumn<QStringList>("toggled");
    QTest::addColumn<QStringList>("checked");
    QTest::addColumn<QStringList>("greyed");  // before any search: no list to copy as a command
    QTest::newRow("nothing chosen") << QStringList{} << QStringList{}
                                    << QStringList{"lemme_strict", "formes_lemme", "copier_commande"};
    QTest::newRow("lemma: normalized spelling implied, no phrase, Latin side only")
        << QStringList{"lemme"} << QStringList{"lemme", "orthographe"}
        << QStringList{"orthographe", "expression", "cote_francais", "copier_commande"};
    QTest::newRow("strict lemma")
        << QStringList{"lemme", "lemme_strict"} << QStringList{"lemme", "lemme_strict", "orthographe"}
        << QStringList{"orthographe", "expression", "cote_francais", "copier_commande"};
    QTest::newRow("lemma off again drops strict")
        << QStringList{"lemme", "lemme_strict", "lemme"} << QStringList{}
        << QStringList{"lemme_strict", "formes_lemme", "copier_commande"};
    QTest::newRow("phrase: no lemma")
        << QStringList{"expression"} << QStringList{"expression"}
        << QStringList{"lemme", "lemme_strict", "formes_lemme", "copier_commande"};
    QTest::newRow("French side: no lemma, French form nor translations")
        << QStringList{"cote_francais"} << QStringList{"cote_francais"}
        << QStringList{"lemme", "lemme_strict", "formes_lemme", "forme_francaise", "filtre_aligne",
                       "traductions", "marquer_traductions", "copier_commande"};
    QTest::newRow("normalized spelling alone greys nothing more")
        << QStringList{"orthographe"} << QStringList{"orthographe"}
        << QStringList{"lemme_strict", "formes_lemme", "copier_commande"};
    QTest::newRow("aligned filters, a way of filtering, greys nothing more")
        << QStringList{"filtre_aligne"} << QStringList{"filtre_aligne"}
        << QStringList{"lemme_strict", "formes_lemme", "copier_commande"};
    QTest::newRow("marking the translations")
        << QStringList{"marquer_traductions"} << QStringList{"marquer_traductions"}
        << QStringList{"lemme_strict", "formes_lemme", "copier_commande"};
}

void ToolsMenuTest::choicesGreyWhatTheCommandLineRefusesBesideThem()
{
    QFETCH(QStringList, toggled);
    QFETCH(QStringList, checked);
    QFETCH(QStringList, greyed);
    QVERIFY(open());
    for (const QString& name : toggled)
        trigger(s, name.toLatin1().constData());
    QCOMPARE(checkedItems(s), checked);
    QStringList all;
    for (const QAction* a : child<QMenu>(s, "outils")->actions())
        if (!a->isSeparator())
            all << a->objectName();
    QStringList expectedEnabled;
    for (const QString& name : all)
        if (!greyed.contains(name))
            expectedEnabled << name;
    QCOMPARE(enabledItems(s), expectedEnabled);
}

void ToolsMenuTest::withoutTheLexiconTheLemmaItemsAreGreyedWithTheirTip()
{
    QVERIFY(open(false));
    // The variable names the folder: the one tried, and the ways to a lexicon.
    const QString tip = QStringLiteral("Le lexique latin est introuvable ; dossiers essayés : « %1 ». Pour "
                                       "l'obtenir : installez le paquet quorvex-lexicon, ou lancez "
                                       "tools/fetch-lexicon.sh depuis les sources du programme, ou nommez son "
                                       "dossier (--lexicon DOSSIER, variable QUORVEX_LEXICON).")
                            .arg(d->dir.filePath("aucun"));
    for (const char* name : {"lemme", "lemme_strict", "formes_lemme"}) {
        QVERIFY2(!child<QAction>(s, name)->isEnabled(), name);
        QCOMPARE(child<QAction>(s, name)->toolTip(), tip);
    }
    QVERIFY(child<QMenu>(s, "outils")->toolTipsVisible());
    QVERIFY(child<QAction>(s, "orthographe")->isEnabled());
}

// The sample texts and no lexicon named: the program finds the one its build laid out, and
// the window lists what quorvex-cli lists.
void ToolsMenuTest::withNothingNamedTheBuildTreesLexiconServesTheLemmaSearch()
{
    if (QStringLiteral(QUORVEX_BUILD_LEXICON).isEmpty())
        QSKIP("this build has no lexicon (tools/fetch-lexicon.sh)");
    qunsetenv("QUORVEX_LEXICON");
    QFile latin(QStringLiteral(QUORVEX_SAMPLES_DIR "/latin.txt"));
    QFile french(QStringLiteral(QUORVEX_SAMPLES_DIR "/francais.txt"));
    QVERIFY(latin.open(QIODevice::ReadOnly) && french.open(QIODevice::ReadOnly));
    d->useTexts(latin.readAll(), french.readAll());
    trigger(d->windows.textWindow(), "concordance");
    s = d->windows.searchWindowIfLoaded();
    QVERIFY(s);
    QVERIFY(child<QAction>(s, "lemme")->isEnabled());
    QVERIFY(!child<QMenu>(s, "outils")->toolTipsVisible());
    trigger(s, "lemme");
    QVERIFY(d->search(QStringLiteral("dico")));
    const QStringList expected = cliListRows(d->latinPath, d->frenchPath, {"--lemma"}, QStringLiteral("dico"));
    QVERIFY(!expected.isEmpty());
    QCOMPARE(d->rows(), expected);
}

void ToolsMenuTest::namingAFrenchTextUngreysItsItems()
{
    QVERIFY(open(true, false));
    const QStringList french = {"cote_francais", "forme_francaise", "filtre_aligne", "traductions",
                                "marquer_traductions"};
    for (const QString& name : french)
        QVERIFY2(!s->toolAction(name)->isEnabled(), qPrintable(name));
    d->setBox("Text_francais", d->write(QStringLiteral("fr.txt"), kFrench));
    for (const QString& name : french)
        QVERIFY2(s->toolAction(name)->isEnabled(), qPrintable(name));
    d->setBox("Text_francais", QString());
    for (const QString& name : french)
        QVERIFY2(!s->toolAction(name)->isEnabled(), qPrintable(name));
}

void ToolsMenuTest::altOThenLChecksTheLemmaSearch()
{
    QVERIFY(open());
    QApplication::setActiveWindow(s);
    QVERIFY(QTest::qWaitForWindowActive(s));
    QMenu* outils = child<QMenu>(s, "outils");
    QTest::keyClick(s, Qt::Key_O, Qt::AltModifier);
    QTRY_VERIFY(outils->isVisible());
    QTest::keyClick(outils, Qt::Key_L);
    QTRY_VERIFY(!outils->isVisible());
    QVERIFY(child<QAction>(s, "lemme")->isChecked());
    QVERIFY(d->session.choices().asked.lemma);
}

QTEST_MAIN(ToolsMenuTest)
#include "ToolsMenuTest.moc"
