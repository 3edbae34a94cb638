#include "shell/frmtexte.h"

#include "shell/Forms.h"

#include <QCloseEvent>

namespace quorvex {

frmtexte::frmtexte(Forms& forms) : m_forms(forms)
{
    setObjectName("frmtexte");
    setWindowTitle(QStringLiteral("Veltrano - Quorvex"));
}

bool frmtexte::Form_Load() { return true; }

void frmtexte::closeEvent(QCloseEvent* event)
{
    event->ignore();
    m_forms.unload(this);
}

} // namespace quorvex
