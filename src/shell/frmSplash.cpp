#include "shell/frmSplash.h"

#include "shell/Forms.h"

#include <QCloseEvent>

namespace quorvex {

frmSplash::frmSplash(Forms& forms) : m_forms(forms)
{
    setObjectName("frmSplash");
    setWindowTitle(QStringLiteral("Veltrano - Quorvex"));
}

bool frmSplash::Form_Load() { return true; }

void frmSplash::closeEvent(QCloseEvent* event)
{
    event->ignore();
    m_forms.unload(this);
}

} // namespace quorvex
