#include "concordance/Frmcontexte.h"

#include "shell/Forms.h"

#include <QCloseEvent>

namespace quorvex {

Frmcontexte::Frmcontexte(Forms& forms) : m_forms(forms)
{
    setObjectName("Frmcontexte");
    setWindowTitle(QStringLiteral("Veltrano - Quorvex"));
}

bool Frmcontexte::Form_Load() { return true; }

void Frmcontexte::closeEvent(QCloseEvent* event)
{
    event->ignore();
    m_forms.unload(this);
}

} // namespace quorvex
