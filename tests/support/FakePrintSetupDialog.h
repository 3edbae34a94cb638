#pragma once
// The print-setup dialog, never shown: records each showing and changes nothing; answers
// as a cancel unless the test says it was confirmed.

#include "platform/PrintSetupDialog.h"

namespace quorvex {

class FakePrintSetupDialog : public PrintSetupDialog {
public:
    bool showPrinter(QWidget* parent) override
    {
        ++shown;
        lastParent = parent;
        return confirms;
    }

    int shown = 0;
    QWidget* lastParent = nullptr;
    bool confirms = false;
};

} // namespace quorvex
