#include "shell/frmAbout.h"

#include "shell/Forms.h"

#include <QCloseEvent>

namespace quorvex {

frmAbout::frmAbout(Forms& forms) : m_forms(forms)
{
    setObjectName("frmAbout");
    setWindowTitle(QStringLiteral("Veltrano - Quorvex"));
}

bool frmAbout::Form_Load() { return true; }

void frmAbout::closeEvent(QCloseEvent* event)
{
    event->ignore();
    m_forms.unload(this);
}

} // namespace quorvex
