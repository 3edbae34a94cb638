#pragma once
// The print-setup dialog, never shown: records each showing and changes nothing, as on a
// cancel.

#include "platform/PrintSetupDialog.h"

namespace quorvex {

class FakePrintSetupDialog : public PrintSetupDialog {
public:
    void showPrinter(QWidget* parent) override
    {
        ++shown;
        lastParent = parent;
    }

    int shown = 0;
    QWidget* lastParent = nullptr;
};

} // namespace quorvex
