#pragma once
// The About box: product, version and credits, and a button that starts the system's
// information tool. It reads nothing from the other windows and writes nothing to them;
// the text window, the search window and the context viewer open the same one from their
// "&A propos de" item. Nothing in it is computed when it loads.

#include <QDialog>

#include <cstdint>
#include <string>

class QPushButton;

namespace quorvex {

class WindowManager;

class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(WindowManager& forms);
    bool Form_Load();

    void StartSysInfo();
    // Reads the value SubKeyRef of the key KeyName under KeyRoot into KeyVal (Windows-1252
    // bytes). False, with KeyVal empty, when the key cannot be opened or the value read; a
    // value neither text nor number leaves KeyVal as it was passed.
    bool GetKeyValue(std::int32_t& KeyRoot, std::string& KeyName, std::string& SubKeyRef,
                     std::string& KeyVal);

public slots:
    // Esc comes here through the dialog's cancel handling.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void cmdOK_Click();
    void cmdSysInfo_Click();
    bool lancer(const std::string& program);

    WindowManager& m_forms;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;
};

} // namespace quorvex
