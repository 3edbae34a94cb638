#pragma once
// The print-setup dialog: the user picks a printer (or a PDF file) and its settings.
// Cancelling leaves the current printer as it was; printing goes on either way.

class QWidget;

namespace quorvex {

class PrintSetupDialog {
public:
    virtual ~PrintSetupDialog() = default;
    virtual void showPrinter(QWidget* parent) = 0;
};

} // namespace quorvex
