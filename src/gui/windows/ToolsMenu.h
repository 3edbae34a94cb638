#pragma once
// The search window's "&Outils" menu: the reader's choices (each a quorvex-cli option), the
// neighbour sorts, the export and the tool windows. It owns its items' check marks and
// greying, worked out from the session's choices and from what is at hand (the Latin
// lexicon, a French text); the search window acts on the items it triggers.
// The tool windows' items only announce the user's wish: their windows connect to them.

#include <QObject>
#include <QString>

class QAction;
class QMenu;

namespace quorvex {

struct SearchChoices;

class ToolsMenu : public QObject {
    Q_OBJECT
public:
    // Fills `menu` with the items, in their order.
    explicit ToolsMenu(QMenu* menu);

    // The item of that objectName, or nullptr.
    QAction* item(const QString& name) const;

    // Check marks for the choices in effect and the greying: an item the command line refuses
    // beside a checked one (the request's one validation) is greyed, and so are the lemma's
    // items without the lexicon and the French text's items while no French text is named.
    // `lexiconMissing` is empty when the lexicon is found, else the lemma items' tool tip;
    // `lexiconWarning`, what the lexicon's reading could not read, is their tool tip then.
    // "Copier la commande" needs `listShown`.
    void reflect(const SearchChoices& choices, const QString& lexiconMissing, bool frenchTextNamed,
                 const QString& lexiconWarning = QString(), bool listShown = false);

    QAction* lemma = nullptr;
    QAction* lemmaStrict = nullptr;
    QAction* lemmaForms = nullptr;
    QAction* normalize = nullptr;
    QAction* phrase = nullptr;
    QAction* frenchSide = nullptr;
    QAction* frenchForm = nullptr;
    QAction* aligned = nullptr;  // the French filters read the hit's aligned words
    QAction* sortLeft = nullptr;
    QAction* sortRight = nullptr;
    QAction* kwic = nullptr;
    QAction* collocates = nullptr;
    QAction* dispersion = nullptr;
    QAction* translations = nullptr;
    QAction* markTranslations = nullptr;
    QAction* exportList = nullptr;
    QAction* copyCommand = nullptr;  // the list shown as a quorvex-cli command line

private:
    QMenu* m_menu;
};

} // namespace quorvex
