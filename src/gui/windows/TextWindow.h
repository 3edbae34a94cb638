#pragma once
// The text window, the program's main window for the whole run. The user names the Latin
// text file (required), the French text file (optional) and a title for the search.
// Reads: nothing of the other windows. It opens a chosen file only to check that it can be
//        read; the texts themselves are read by the windows that need them.
// Writes: its own three boxes. The search window (at its load), the save command and the
//         context viewer read the paths and the title here, at the moment they need them.

#include <QMainWindow>
#include <QString>

class QAction;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace quorvex {

class WindowManager;

class TextWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit TextWindow(WindowManager& forms);
    bool Form_Load();

    // The three boxes as they stand now.
    QString latinPath() const;       // Text_latin
    QString frenchPath() const;      // Text_francais; empty: no French text
    QString referencesText() const;  // References

    void Ouvrir_latin_Click();
    void Ouvrir_francais_Click();
    void open_latin_Click() { Ouvrir_latin_Click(); }
    void open_francais_Click() { Ouvrir_francais_Click(); }
    void Text_latin_Change();
    void Text_francais_Change();
    void concordance_Click();
    void about_Click();
    void quitter_Click();

protected:
    // The close box ends the program, as "&Quitter" does.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    // Browses for a text file and puts its path into `target`.
    void parcourir(QLineEdit* target);
    // "&Concordance" is enabled exactly when the Latin box is not empty (blanks count).
    void appliquer_regle();

    WindowManager& m_forms;
    // The shared open dialog remembers the name last chosen with either browse command.
    QString m_dialogFileName;

    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QLineEdit* References = nullptr;
    QLineEdit* Text_latin = nullptr;
    QLineEdit* Text_francais = nullptr;
    QPushButton* Ouvrir_latin = nullptr;
    QPushButton* Ouvrir_francais = nullptr;
    QAction* open_latin = nullptr;
    QAction* open_francais = nullptr;
    QAction* quitter = nullptr;
    QAction* concordance = nullptr;
    QAction* about = nullptr;
};

} // namespace quorvex
