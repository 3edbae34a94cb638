#pragma once
// Placeholder window; replaced by the real one.

#include <QDialog>

namespace quorvex {

class Forms;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(Forms& forms);
    bool Form_Load();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Forms& m_forms;
};

} // namespace quorvex
