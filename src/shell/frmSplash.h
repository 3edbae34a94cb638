#pragma once
// Placeholder window; replaced by the real one.

#include <QWidget>

namespace quorvex {

class Forms;

class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(Forms& forms);
    bool Form_Load();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Forms& m_forms;
};

} // namespace quorvex
