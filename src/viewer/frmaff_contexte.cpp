#include "viewer/frmaff_contexte.h"

#include "shell/Forms.h"

#include <QCloseEvent>

namespace quorvex {

frmaff_contexte::frmaff_contexte(Forms& forms) : m_forms(forms)
{
    setObjectName("frmaff_contexte");
    setWindowTitle(QStringLiteral("Veltrano - Quorvex"));
}

bool frmaff_contexte::Form_Load() { return true; }

void frmaff_contexte::closeEvent(QCloseEvent* event)
{
    event->ignore();
    m_forms.unload(this);
}

} // namespace quorvex
