#include "support/FakePrintSetupDialog.h"

namespace quorvex {

void FakePrintSetupDialog::showPrinter(QWidget* parent)
{
    ++shown;
    lastParent = parent;
    if (onShow)
        onShow();
}

} // namespace quorvex
