#pragma once
// The search window. Its load reads the Latin file named in the text window and cuts it
// into the word table; a search lists the matching words in the result grid grille01,
// which the sort buttons reorder.
// Reads: the text window's Text_latin at load; Text_latin, Text_francais and References
//        each time the result file is saved.
// Writes: grille01, the one channel to the save, the printing and the context viewer (which
//         reads the row at the selection end and moves the current cell); the load moment,
//         which the save writes as the date of the search.

#include "concordance/WordTable.h"

#include <QDateTime>
#include <QMainWindow>
#include <QString>

#include <cstddef>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quorvex {

class ResultGrid;
class WindowManager;

class SearchWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit SearchWindow(WindowManager& forms);
    // Reads and cuts the Latin text. false when it cannot be read: the user has been told
    // and the window is not opened.
    bool Form_Load();

    ResultGrid* grille01() const { return m_grille01; }
    // When the window was loaded (to the second): the date of the search.
    QDateTime loadMoment() const { return m_loadMoment; }
    const WordTable& wordTable() const { return m_words; }

    void Command1_Click();  // search
    void Command2_Click();  // sort by form
    void Command3_Click();  // back to text order: the search again
    void grille01_Click();  // open the context viewer
    void enregistrer_Click();
    void imprimer_Click();
    void quitter_Click();
    void about_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    // The grid's header row and one empty row.
    void preparer_grille();

    WindowManager& m_forms;
    WordTable m_words;
    QDateTime m_loadMoment;  // the hidden date picker DTPicker1 of the layout
    std::size_t m_compteur = 0;
    // The save dialog remembers the name last chosen while the window stays loaded.
    QString m_saveFileName;

    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QLabel* label3 = nullptr;
    QLabel* label4 = nullptr;
    ResultGrid* m_grille01 = nullptr;
    QAction* enregistrer = nullptr;
    QAction* imprimer = nullptr;
    QAction* quitter = nullptr;
    QAction* about = nullptr;
};

} // namespace quorvex
