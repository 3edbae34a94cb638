#pragma once
// The print-setup dialog: the user picks a printer (or a PDF file) and its settings.
// Cancelling leaves the current printer as it was; printing goes on either way.
// true when the user confirmed the dialog (a file chosen there was confirmed there too).

class QWidget;

namespace quorvex {

class PrintSetupDialog {
public:
    virtual ~PrintSetupDialog() = default;
    virtual bool showPrinter(QWidget* parent) = 0;
};

} // namespace quorvex
