#pragma once
// The print-setup dialog, never shown: records each showing; a test may act as the user
// (change nothing, as on a cancel, by default).

#include "platform/PrintSetupDialog.h"

#include <functional>

namespace quorvex {

class FakePrintSetupDialog : public PrintSetupDialog {
public:
    void showPrinter(QWidget* parent) override;

    int shown = 0;
    QWidget* lastParent = nullptr;
    std::function<void()> onShow;
};

} // namespace quorvex
