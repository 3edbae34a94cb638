// The printing surface on Qt's own PDF printer: page counts of real documents, and the
// failures a user can meet when printing into a file.

#include "concordance/GridModel.h"
#include "output/PrintLayout.h"
#include "platform/QtPrintingSurface.h"

#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace quorvex;

namespace {

PrintOperations listOf(int attestations)
{
    GridModel grid;
    grid.setCell(0, 0, "Forme(s)");
    grid.setCell(0, 1, "R\xE9" "f\xE9rences");
    grid.setRows(1);
    for (int i = 1; i <= attestations; ++i)
        grid.appendRow("amor" + std::to_string(i), "[" + std::to_string(i) + "]");
    return attestationListLayout(grid);
}

int pdfPages(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QString pdf = QString::fromLatin1(file.readAll());
    return static_cast<int>(pdf.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))));
}

// Lines of 9-point type that one page of this printer holds.
int linesPerPage(QPrinter& printer)
{
    const QFontMetricsF metrics(QFont(QStringLiteral("verdana"), 9), &printer);
    return static_cast<int>(std::floor(printer.height() / metrics.lineSpacing()));
}

} // namespace

Q_DECLARE_METATYPE(quorvex::PrintOperations)
Q_DECLARE_METATYPE(quorvex::PrintFailure)

class QtPrintingSurfaceTest : public QObject {
    Q_OBJECT
private slots:
    void pageCount_data();
    void pageCount();
    void failures_data();
    void failures();
    void replacesAnEarlierFile();
};

void QtPrintingSurfaceTest::pageCount_data()
{
    QTest::addColumn<PrintOperations>("operations");
    QTest::addColumn<int>("pages");

    QTest::newRow("list of 67") << listOf(67) << 1;
    QTest::newRow("list of 68") << listOf(68) << 2;
    QTest::newRow("list of 136") << listOf(136) << 3;

    PrintOperations trailingBreak = listOf(3);
    PrintOperation newPage;
    newPage.op = PrintOp::NewPage;
    trailingBreak.insert(trailingBreak.end() - 1, newPage);
    QTest::newRow("break before the end leaves no empty page") << trailingBreak << 1;

    // A passage longer than a page is continued, not lost. -1: worked out from the printer.
    std::string latin;
    for (int i = 0; i < 400; ++i)
        latin += "[" + std::to_string(i) + "] Gallia est omnis divisa in partes tres\r\n";
    QTest::newRow("long passage continues") << contextLayout(latin, "") << -1;
}

void QtPrintingSurfaceTest::pageCount()
{
    QFETCH(PrintOperations, operations);
    QFETCH(int, pages);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("sortie.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    if (pages < 0) {
        // The last line drawn is the French heading: after the Latin heading, 400 passage
        // lines and the empty line that the passage's final line break opens.
        const int lines = 1 + 400 + 1 + 1;
        pages = (lines + linesPerPage(printer) - 1) / linesPerPage(printer);
        QVERIFY(pages > 1);
    }

    QtPrintingSurface surface(printer);
    const PrintOutcome outcome = surface.play(operations);
    QCOMPARE(outcome.failure, PrintFailure::None);
    QCOMPARE(pdfPages(path), pages);
    QCOMPARE(printer.outputFileName(), path);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("sortie.pdf")});
}

void QtPrintingSurfaceTest::failures_data()
{
    QTest::addColumn<QString>("fileName");  // relative to a temporary folder; "" none chosen
    QTest::addColumn<PrintFailure>("failure");

    QTest::newRow("no printer and no file") << QString() << PrintFailure::NoPrinter;
    QTest::newRow("a folder as the file") << QStringLiteral("dossier") << PrintFailure::CannotWrite;
    QTest::newRow("missing folder") << QStringLiteral("absent/sortie.pdf") << PrintFailure::CannotWrite;
}

void QtPrintingSurfaceTest::failures()
{
    QFETCH(QString, fileName);
    QFETCH(PrintFailure, failure);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("dossier")));
    const QString path = fileName.isEmpty() ? QString() : dir.filePath(fileName);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setOutputFormat(QPrinter::PdfFormat);

    QtPrintingSurface surface(printer);
    const PrintOutcome outcome = surface.play(listOf(2));
    QCOMPARE(outcome.failure, failure);
    QCOMPARE(outcome.target, path);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("dossier")});
}

void QtPrintingSurfaceTest::replacesAnEarlierFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("liste.pdf"));
    {
        QFile earlier(path);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("ancien");
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    QtPrintingSurface surface(printer);
    QVERIFY(static_cast<bool>(surface.play(listOf(68))));
    QCOMPARE(pdfPages(path), 2);
}

QTEST_MAIN(QtPrintingSurfaceTest)
#include "QtPrintingSurfaceTest.moc"
