#include "platform/QtPrintSetupDialog.h"

#include <QPrintDialog>
#include <QPrinter>

namespace quorvex {

QtPrintSetupDialog::QtPrintSetupDialog(QPrinter& printer) : m_printer(printer) {}

bool QtPrintSetupDialog::showPrinter(QWidget* parent)
{
    // A setup dialog: printer, file and paper only; the printout always runs whole.
    QPrintDialog dialog(&m_printer, parent);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    dialog.setWindowTitle(QString::fromUtf8("Configuration de l'impression"));
    return dialog.exec() == QDialog::Accepted;
}

} // namespace quorvex
