#pragma once
// Placeholder window; replaced by the real one.

#include <QMainWindow>

namespace quorvex {

class Forms;

class frmaff_contexte : public QMainWindow {
    Q_OBJECT
public:
    explicit frmaff_contexte(Forms& forms);
    bool Form_Load();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Forms& m_forms;
};

} // namespace quorvex
