// The printing surface on Qt's own PDF printer: page counts of real documents, and the
// failures a user can meet when printing into a file.

#include "concordance/ResultList.h"
#include "concordance/WordTable.h"
#include "output/PrintLayout.h"
#include "platform/QtPrintingSurface.h"

#include <QDir>
#include <QFontMetricsF>
#include <QPrinter>
#include <QtTest>

#include <cmath>

using namespace quorvex;

namespace {

PrintOperations listOf(int attestations)
{
    std::string text;
    for (int i = 1; i <= attestations; ++i)
        text += "[" + std::to_string(i) + "] amor ";
    const WordTable table = WordTable::segment(text);
    return attestationListLayout(table, findForms(table, "amor"));
}

} // namespace

class QtPrintingSurfaceTest : public QObject {
    Q_OBJECT
private slots:
    void plays_data();
    void plays();
    void aPdfOutputWithoutFileChosenHereIsNoTarget();
    void pagesAreCountedFirstAndAStopMakesNoFile();
};

void QtPrintingSurfaceTest::pagesAreCountedFirstAndAStopMakesNoFile()
{
    // 204 attestations: 67, 68, 68 and 1 on four pages.
    const PrintOperations list = listOf(204);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("liste.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    QtPrintingSurface surface(printer);
    surface.printToPdf(pdf);
    QFile earlier(pdf);
    QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("ancien") == 6);
    earlier.close();

    // Stopped after the second page: no file made, the earlier one untouched.
    QList<QPair<int, int>> calls;
    PrintOutcome outcome = surface.play(list, [&](int sent, int total) {
        calls.append({sent, total});
        return sent < 2;
    });
    QCOMPARE(outcome.failure, PrintFailure::Cancelled);
    QCOMPARE(calls, (QList<QPair<int, int>>{{0, 4}, {1, 4}, {2, 4}}));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("liste.pdf")});
    QVERIFY(earlier.open(QIODevice::ReadOnly));
    QCOMPARE(earlier.readAll(), QByteArray("ancien"));
    earlier.close();

    // The same printer prints the whole list afterwards, the count told before the first page.
    calls.clear();
    outcome = surface.play(list, [&](int sent, int total) {
        calls.append({sent, total});
        return true;
    });
    QCOMPARE(outcome.failure, PrintFailure::None);
    QCOMPARE(calls, (QList<QPair<int, int>>{{0, 4}, {1, 4}, {2, 4}, {3, 4}, {4, 4}}));
    QVERIFY(earlier.open(QIODevice::ReadOnly));
    const QString written = QString::fromLatin1(earlier.readAll());
    QCOMPARE(int(written.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)")))), 4);
}

void QtPrintingSurfaceTest::aPdfOutputWithoutFileChosenHereIsNoTarget()
{
    // What Qt gives when no printer is installed: a PDF output, no file.
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString());
    QtPrintingSurface surface(printer);
    QVERIFY(!surface.target().toPdf && surface.target().name.isEmpty());
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("Essai.pdf"));
    surface.printToPdf(pdf);
    QVERIFY(surface.target().toPdf);
    QCOMPARE(surface.target().name, pdf);
    QCOMPARE(printer.outputFileName(), pdf);

    // Qt's print dialog, turned to a PDF, fills in a name of its own in the home folder: no
    // file chosen, so the program's dialog proposes its own; the file given last stays one.
    printer.setOutputFileName(QDir::home().filePath(QStringLiteral("Veltrano - Quorvex.pdf")));
    QVERIFY(!surface.target().toPdf && surface.target().name.isEmpty());
    printer.setOutputFileName(pdf);
    QCOMPARE(surface.target().name, pdf);
}

void QtPrintingSurfaceTest::plays_data()
{
    QTest::addColumn<PrintOperations>("operations");
    QTest::addColumn<QString>("fileName");  // in a temporary folder holding "dossier"; "": none chosen
    QTest::addColumn<PrintFailure>("failure");
    QTest::addColumn<int>("pages");  // -1: worked out from the printer
    const QString pdf = QStringLiteral("sortie.pdf");
    QTest::newRow("list of 67") << listOf(67) << pdf << PrintFailure::None << 1;
    QTest::newRow("list of 68") << listOf(68) << pdf << PrintFailure::None << 2;
    PrintOperations trailingBreak = listOf(3);
    PrintOperation newPage;
    newPage.op = PrintOp::NewPage;
    trailingBreak.insert(trailingBreak.end() - 1, newPage);
    QTest::newRow("break before the end leaves no empty page") << trailingBreak << pdf << PrintFailure::None << 1;
    // A passage longer than a page is continued, not lost.
    std::string latin;
    for (int i = 0; i < 400; ++i)
        latin += "[" + std::to_string(i) + "] Gallia est omnis divisa in partes tres\r\n";
    QTest::newRow("long passage continues") << contextLayout(latin, "") << pdf << PrintFailure::None << -1;
    QTest::newRow("no printer and no file") << listOf(2) << QString() << PrintFailure::NoPrinter << 0;
    QTest::newRow("a folder as the file") << listOf(2) << "dossier" << PrintFailure::CannotWrite << 0;
    QTest::newRow("missing folder") << listOf(2) << "absent/sortie.pdf" << PrintFailure::CannotWrite << 0;
}

void QtPrintingSurfaceTest::plays()
{
    QFETCH(PrintOperations, operations);
    QFETCH(QString, fileName);
    QFETCH(PrintFailure, failure);
    QFETCH(int, pages);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("dossier")));
    const QString path = fileName.isEmpty() ? QString() : dir.filePath(fileName);
    QFile earlier(path);  // an older file of that name is replaced
    if (failure == PrintFailure::None)
        QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("ancien") == 6);
    earlier.close();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFileName(path);
    printer.setOutputFormat(QPrinter::PdfFormat);
    if (pages < 0) {
        // The last line drawn is the French heading: after the Latin heading, 400 passage
        // lines and the empty line that the passage's final line break opens.
        const QFontMetricsF metrics(QFont(QStringLiteral("verdana"), 9), &printer);
        const int perPage = int(std::floor(printer.height() / metrics.lineSpacing()));
        pages = (1 + 400 + 1 + 1 + perPage - 1) / perPage;
        QVERIFY(pages > 1);
    }
    QtPrintingSurface surface(printer);
    const PrintOutcome outcome = surface.play(operations);
    QCOMPARE(outcome.failure, failure);
    QStringList left = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    if (failure != PrintFailure::None) {
        QCOMPARE(outcome.target, path);
        QCOMPARE(left, QStringList{QStringLiteral("dossier")});  // nothing written
        return;
    }
    QCOMPARE(left, (QStringList{QStringLiteral("dossier"), QStringLiteral("sortie.pdf")}));
    QVERIFY(earlier.open(QIODevice::ReadOnly));
    const QString written = QString::fromLatin1(earlier.readAll());
    QCOMPARE(int(written.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)")))), pages);
}

QTEST_MAIN(QtPrintingSurfaceTest)
#include "QtPrintingSurfaceTest.moc"
