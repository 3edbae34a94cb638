#pragma once
// The search window Frmcontexte. Its load asks the session to read and cut the Latin text
// named in the text window; a search fills the session's attestation list, which the grid
// grille01 shows and the sort buttons reorder.
// Reads: the session (paths, title, word table, list, load moment).
// Writes: the session's list and current cell; the save writes the result file, the
//         printing prints the list. The context viewer reads the row the user clicked from
//         the session.

#include "platform/MessageBoxes.h"

#include <QMainWindow>
#include <QString>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quorvex {

enum class SessionFailure;
struct SearchChoices;
class ElidedLabel;
class ResultGrid;
class Session;
enum class SessionFailure;
class ToolsMenu;
class WindowDirectory;

class SearchWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit SearchWindow(WindowDirectory& windows);
    // Reads and cuts the Latin text. false when it cannot be read: the user has been told
    // and the window is not opened.
    bool load();

    ResultGrid* resultGrid() const { return m_resultGrid; }
    // The item of the "Outils" menu of that objectName ("kwic", "traductions"...), for the
    // tool windows to connect to; nullptr for an unknown name. The menu keeps its greying.
    QAction* toolAction(const QString& name) const;

    void onSearchClicked();
    void onSortByFormClicked();
    // "Références" gives back the text order: the search again.
    void onSortByReferenceClicked();
    // Opens the context viewer on the row clicked.
    void onResultGridClicked();
    void onSaveTriggered();
    // "Exporter...": the list in the kind of the filter chosen, as quorvex-cli exports it.
    void onExportTriggered();
    void onPrintTriggered();
    void onCloseTriggered();
    void onAboutTriggered();

private:
    void buildControls();
    void buildMenus();
    void connectToolsMenu();
    // The menu's check marks and greying, from the session's choices and texts.
    void reflectChoices();
    // What the user is told when a search fails: the list shown stays the previous one.
    Message searchFailureMessage(SessionFailure failure, const QString& query) const;
    // label4 and its tool tip for the list shown.
    void showCount();
    // A choice of the menu toggled: the session takes it and the list follows.
    void changeChoices(const SearchChoices& choices);
    void onFrenchFormTriggered();
    // The analysis words entered (Entrée): the lemma search keeps the words they describe.
    void onMorphEntered();
    void onSortByNeighbourTriggered(bool left);
    // The French text read at the first use of an item that needs it; false (the user told)
    // when it cannot be.
    bool frenchTextAtHand();
    // The box of a search that failed: memory, or a file the search needed.

    WindowDirectory& m_windows;
    Session& m_session;
    // The save dialog remembers the name last chosen while the window stays loaded.
    QString m_saveFileName;
    QString m_exportFileName;

    QGroupBox* m_resultFrame = nullptr;
    QGroupBox* m_searchFrame = nullptr;
    QGroupBox* m_sortFrame = nullptr;
    QLineEdit* m_formEdit = nullptr;
    QLabel* m_morphCaption = nullptr;
    QLineEdit* m_morphEdit = nullptr;  // "analyse": the --morph words of a lemma search
    QPushButton* m_searchButton = nullptr;
    QPushButton* m_sortByFormButton = nullptr;
    QPushButton* m_sortByReferenceButton = nullptr;
    QLabel* m_countCaption = nullptr;
    ElidedLabel* m_countLabel = nullptr;
    ResultGrid* m_resultGrid = nullptr;
    QAction* m_saveAction = nullptr;
    QAction* m_printAction = nullptr;
    QAction* m_closeAction = nullptr;
    QAction* m_aboutAction = nullptr;
    ToolsMenu* m_tools = nullptr;
};

} // namespace quorvex
