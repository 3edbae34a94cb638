#pragma once
// The text window frmtexte, the program's main window for the whole run. The user names the
// Latin text file (required), the French text file (optional) and a title for the search.
// Reads: nothing of the other windows. It opens a chosen file only to check that it can be
//        read; the texts themselves are read through the session when they are needed.
// Writes: the session's two paths and title, as the boxes change.

#include <QMainWindow>
#include <QString>

class QAction;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace quorvex {

class WindowDirectory;

class TextWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit TextWindow(WindowDirectory& windows);
    bool load();

    void onBrowseLatinClicked();
    void onBrowseFrenchClicked();
    void onOpenLatinTriggered() { onBrowseLatinClicked(); }
    void onOpenFrenchTriggered() { onBrowseFrenchClicked(); }
    void onLatinPathChanged();
    void onFrenchPathChanged();
    void onTitleChanged();
    void onConcordanceTriggered();
    void onAboutTriggered();
    void onQuitTriggered();
    // Takes the texts named on the command line into their boxes, each checked as a browse
    // command checks its file; the focus is then in the Latin box.
    void openStartingTexts();

private:
    void buildControls();
    void buildMenus();
    // Browses for a text file and puts its path into `target`.
    void browseInto(QLineEdit* target);
    // Puts a file the user named into `target` once it proves readable; a refused one is
    // reported and the box keeps what it held.
    void placeCheckedFile(const QString& path, QLineEdit* target);
    // "&Concordance" is enabled exactly when the Latin box is not empty (blanks count).
    void updateConcordanceState();

    WindowDirectory& m_windows;
    // The shared open dialog remembers the name last chosen with either browse command.
    QString m_dialogFileName;

    QGroupBox* m_latinFrame = nullptr;
    QGroupBox* m_frenchFrame = nullptr;
    QGroupBox* m_titleFrame = nullptr;
    QLineEdit* m_titleEdit = nullptr;
    QLineEdit* m_latinPathEdit = nullptr;
    QLineEdit* m_frenchPathEdit = nullptr;
    QPushButton* m_browseLatinButton = nullptr;
    QPushButton* m_browseFrenchButton = nullptr;
    QAction* m_openLatinAction = nullptr;
    QAction* m_openFrenchAction = nullptr;
    QAction* m_quitAction = nullptr;
    QAction* m_concordanceAction = nullptr;
    QAction* m_aboutAction = nullptr;
};

} // namespace quorvex
