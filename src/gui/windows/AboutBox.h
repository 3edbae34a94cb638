#pragma once
// The About box: product, version and credits, and a button that starts the system's
// information tool. It reads nothing from the other windows and writes nothing to them;
// the text window, the search window and the context viewer open the same one from their
// "&A propos de" item. Nothing in it is computed when it loads.

#include <QDialog>


class QPushButton;

namespace quorvex {

class WindowDirectory;

class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(WindowDirectory& windows);
    bool load();

    // Starts the system's information tool, or says that there is none.
    void onSystemInfoClicked();

public slots:
    // Esc comes here through the dialog's cancel handling.
    void reject() override;

private:
    void onOkClicked();

    WindowDirectory& m_windows;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_systemInfoButton = nullptr;
};

} // namespace quorvex
