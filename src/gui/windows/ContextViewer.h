#pragma once
// The context viewer: one attestation of the search window's result grid shown in its
// passage, Latin and French side by side, every occurrence of the form marked in the Latin
// pane, with steps to the neighbouring attestations and passages.
// Reads: the search window's grid grille01 (Rows, RowSel and the cells of the row taken),
//        the text window's paths Text_latin and Text_francais, and both text files afresh
//        at every display.
// Writes: the grid's current cell (left on column 0 of the row taken) and the viewer's state
//         (WindowManager::viewerState), which outlives the window. The context printing reads the
//         panes label3 and label4.

#include <QMainWindow>

#include <cstddef>
#include <string>

class QAction;
class QGroupBox;
class QLabel;
class QPushButton;
class QTextEdit;

namespace quorvex {

class ResultGrid;
class WindowManager;
struct ViewerState;

class ContextViewer : public QMainWindow {
    Q_OBJECT
public:
    explicit ContextViewer(WindowManager& forms);

    // Takes the attestation at the grid's selection end and shows it. false when there is no
    // grid or a text file could not be read (the user has been told).
    bool Form_Load();

    // Fills both panes with the passage of `reference`, records the neighbouring passages,
    // sets the buttons and marks the form. false when a text file could not be read: the
    // user has been told and nothing changed.
    bool afficher_passage(const std::string& reference);
    // Marks the form of Label6 in the Latin pane.
    void surligner_forme();

    void Command1_Click();  // next attestation
    void Command2_Click();  // previous attestation
    void Command3_Click();  // previous passage
    void Command4_Click();  // next passage
    void imprimer_Click();
    void fermer_Click();
    void about_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    ResultGrid* grid() const;
    bool prendre_ligne(std::size_t row);
    void stepPassage(const std::string& storedReference);

    WindowManager& m_forms;
    ViewerState& m_state;

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QGroupBox* Frame4 = nullptr;
    QTextEdit* label3 = nullptr;
    QTextEdit* label4 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QAction* imprimer = nullptr;
    QAction* fermer = nullptr;
    QAction* about = nullptr;
};

} // namespace quorvex
