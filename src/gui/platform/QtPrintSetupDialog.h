#pragma once
// The print-setup dialog over Qt's print dialog: the user picks a printer, or printing into
// a PDF file, and the paper. Accepting makes the choice the current printer's; cancelling
// leaves the printer as it was (and the printing still goes on).

#include "platform/PrintSetupDialog.h"

class QPrinter;

namespace quorvex {

class QtPrintSetupDialog : public PrintSetupDialog {
public:
    explicit QtPrintSetupDialog(QPrinter& printer);
    bool showPrinter(QWidget* parent) override;

private:
    QPrinter& m_printer;
};

} // namespace quorvex
