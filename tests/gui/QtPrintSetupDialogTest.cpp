// The print-setup dialog over Qt's print dialog: modal, a setup (no page range), and a
// cancel leaves the printer exactly as it was.

#include "platform/QtPrintSetupDialog.h"

#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>
#include <QtTest>

using namespace quorvex;

class QtPrintSetupDialogTest : public QObject {
    Q_OBJECT
private slots:
    void cancelLeavesThePrinterUnchanged();
};

void QtPrintSetupDialogTest::cancelLeavesThePrinterUnchanged()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("liste.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageOrientation(QPageLayout::Landscape);
    bool seen = false;
    bool offersPageRange = true;
    // Acts as the user once the dialog is up: looks at it, then cancels.
    QTimer user;
    connect(&user, &QTimer::timeout, this, [&] {
        if (auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
            user.stop();
            seen = true;
            offersPageRange = dialog->testOption(QAbstractPrintDialog::PrintPageRange);
            dialog->reject();
        }
    });
    user.start(0);
    QtPrintSetupDialog(printer).showPrinter(nullptr);
    QVERIFY2(seen, "the print-setup dialog was never shown");
    QVERIFY(!offersPageRange);
    QCOMPARE(printer.outputFormat(), QPrinter::PdfFormat);
    QCOMPARE(printer.outputFileName(), path);
    QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
}

QTEST_MAIN(QtPrintSetupDialogTest)
#include "QtPrintSetupDialogTest.moc"
