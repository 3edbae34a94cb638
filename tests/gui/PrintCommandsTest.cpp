// The two print commands driven through the real windows: what reaches the printer, the
// setup dialog shown first, the busy pointer around the printing, and the failures told.

#include "printing/PrintCommands.h"
#include "output/PrintLayout.h"
#include "support/WindowDriver.h"

#include <QLineEdit>
#include <QPushButton>


using namespace quorvex;

namespace {

// [2] holds the French line rule's cases: a line break inside the passage (two characters of
// the count) before a space that comes 81st, then non-breaking spaces, which never end a line.
const std::string kLatin = "[1] Amor omnia vincit.\r\n[2] Amor et amorem\r\namo.\r\n[3] Finis";
const std::string kFrench2 = "[2] L'amour: " + std::string(21, 'a') + "\r\n" + std::string(44, 'b')
    + " suite\xA0" + std::string(80, 'c') + "\xA0" "fin.\r\n";
const std::string kFrench = "[1] L'amour vainc tout.\r\n" + kFrench2 + "[3] Fin";

} // namespace

class PrintCommandsTest : public WindowTest {
    Q_OBJECT
private slots:
    void attestationsFromTheSearchWindow();
    void aListOfTheReaderChoicesIsPrintedAsShown_data();
    void aListOfTheReaderChoicesIsPrintedAsShown();
    void inputDuringAPrintChangesNothing();
    void failuresAreToldWithThePointerOff_data();
    void failuresAreToldWithThePointerOff();
    void contextFromTheViewer_data();
    void contextFromTheViewer();
    void contextPrintsEveryLineBreakAsCrLf();
    void pdfNameProposed_data();
    void pdfNameProposed();
    void pdfDialogAnswers_data();
    void pdfDialogAnswers();
    void pdfFileAskedEveryTimeInTheLastFolder();
    void longPrintCountsPagesAndStops_data();
    void longPrintCountsPagesAndStops();

private:
    SearchWindow* search(const QString& query)
    {
        d->useTexts(QByteArray::fromStdString(kLatin), QByteArray::fromStdString(kFrench));
        return d->search(query);
    }
    // Chooses "imprimer" in the window: the setup dialog (cancelled) first, the printing under
    // the busy pointer, which is off afterwards. The texts printed.
    std::vector<std::string> print(QWidget* window)
    {
        bool busyWhilePrinting = false;
        d->doubles.printing.onPlay = [&] { busyWhilePrinting = d->doubles.busy.isBusy(window); };
        trigger(window, "imprimer");
        std::vector<std::string> texts;
        if (d->doubles.printSetup.shown != 1 || d->doubles.printSetup.lastParent != window || !busyWhilePrinting)
            return {"(no setup dialog, or not printed under the busy pointer)"};
        for (const PrintOperation& o : d->doubles.printing.last())
            if (o.op == PrintOp::Text)
                texts.push_back(o.text);
        return texts;
    }
};

void PrintCommandsTest::attestationsFromTheSearchWindow()
{
    SearchWindow* s = search(QStringLiteral("am*"));
    QVERIFY(s);
    click(s, "Command2");  // by form
    d->session.setCurrentCell(1, 0);
    const std::vector<std::string> expected = {"Forme(s)", "R\xE9" "f\xE9rences", printlayout::kSeparator,
                                               "amo", "[2]", "Amor", "[1]", "Amor", "[2]", "amorem", "[2]"};
    QCOMPARE(print(s), expected);
    QCOMPARE(d->doubles.printing.documents.size(), std::size_t(1));
    // The cells were read row by row: the current cell ends on the last row, column 1.
    QCOMPARE(d->session.currentRow(), d->session.rowCount() - 1);
    QCOMPARE(d->session.currentColumn(), 1);
}

void PrintCommandsTest::aListOfTheReaderChoicesIsPrintedAsShown_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("query");
    QTest::addColumn<std::vector<std::string>>("rows");  // form, reference, ... as printed
    QTest::newRow("phrase") << "expression" << "amor et"
                            << std::vector<std::string>{"Amor et", "[2]"};
    QTest::newRow("French side: forms of the French text")
        << "cote_francais" << "amour" << std::vector<std::string>{"amour", "[1]", "amour", "[2]"};
}

void PrintCommandsTest::aListOfTheReaderChoicesIsPrintedAsShown()
{
    QFETCH(QString, item);
    QFETCH(QString, query);
    QFETCH(std::vector<std::string>, rows);
    d->useTexts(QByteArray::fromStdString(kLatin), QByteArray::fromStdString(kFrench));
    trigger(d->windows.textWindow(), "concordance");
    SearchWindow* s = d->windows.searchWindowIfLoaded();
    QVERIFY(s);
    trigger(s, item.toLatin1().constData());
    QVERIFY(d->search(query));
    std::vector<std::string> expected = {"Forme(s)", "R\xE9" "f\xE9rences", printlayout::kSeparator};
    expected.insert(expected.end(), rows.begin(), rows.end());
    QCOMPARE(print(s), expected);
}

void PrintCommandsTest::inputDuringAPrintChangesNothing()
{
    SearchWindow* s = search(QStringLiteral("am*"));
    QVERIFY(s);
    ContextViewer* viewer = d->openRow(1);
    QVERIFY(viewer);
    const QStringList rowsBefore = d->rows();
    auto* typed = child<QLineEdit>(s, "Text1");
    // While the pages go out the user types, sorts, steps in the viewer and closes windows.
    int tries = 0;
    d->doubles.progress.onAdvance = [&] {
        ++tries;
        QTest::keyClicks(typed, QStringLiteral("finis"));
        QTest::mouseClick(child<QPushButton>(s, "Command2"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(s, "Command1"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(viewer, "Command1"), Qt::LeftButton);
        QVERIFY(!viewer->close());
        QVERIFY(!s->close());
    };
    for (QWidget* window : {static_cast<QWidget*>(s), static_cast<QWidget*>(viewer)}) {
        const std::size_t viewerRow = d->session.viewer().row;
        trigger(window, "imprimer");
        QCOMPARE(d->doubles.printing.documents.size(), std::size_t(window == s ? 1 : 2));
        QCOMPARE(d->session.viewer().row, viewerRow);
    }
    QVERIFY(tries >= 2);
    QCOMPARE(d->doubles.progress.begun, 2);
    QCOMPARE(d->windows.searchWindowIfLoaded(), s);
    QCOMPARE(d->windows.contextViewerIfLoaded(), viewer);
    QCOMPARE(typed->text(), QStringLiteral("am*"));
    QCOMPARE(d->rows(), rowsBefore);
    // The list printed is the one shown when the command began, in text order.
    std::vector<std::string> texts;
    for (const PrintOperation& o : d->doubles.printing.documents.front())
        if (o.op == PrintOp::Text)
            texts.push_back(o.text);
    const std::vector<std::string> expected = {"Forme(s)", "R\xE9" "f\xE9rences", printlayout::kSeparator,
                                               "Amor", "[1]", "Amor", "[2]", "amorem", "[2]", "amo", "[2]"};
    QCOMPARE(texts, expected);
}

void PrintCommandsTest::failuresAreToldWithThePointerOff_data()
{
    QTest::addColumn<PrintFailure>("failure");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("text");
    QTest::addColumn<MessageIcon>("icon");
    QTest::newRow("no printer") << PrintFailure::NoPrinter << QString()
        << QString::fromUtf8("Aucune imprimante n'est installée et aucun fichier PDF n'a été choisi : rien n'a "
                             "été imprimé.\n\nChoisissez une imprimante ou l'impression dans un fichier PDF, "
                             "puis relancez l'impression.")
        << MessageIcon::Warning;
    QTest::newRow("pdf not writable") << PrintFailure::CannotWrite << QStringLiteral("/absent/liste.pdf")
        << QString::fromUtf8("Le fichier PDF « /absent/liste.pdf » ne peut pas être écrit (dossier absent, "
                             "accès refusé ou disque plein) : l'impression n'a pas abouti.")
        << MessageIcon::Critical;
    QTest::newRow("printer error") << PrintFailure::PrinterError << QStringLiteral("Bureau")
        << QString::fromUtf8("L'imprimante « Bureau » a signalé une erreur : l'impression n'a pas abouti.")
        << MessageIcon::Critical;
}

void PrintCommandsTest::failuresAreToldWithThePointerOff()
{
    QFETCH(PrintFailure, failure);
    QFETCH(QString, target);
    QFETCH(QString, text);
    QFETCH(MessageIcon, icon);
    SearchWindow* s = search(QStringLiteral("amor"));
    QVERIFY(s);
    d->doubles.printing.outcome = PrintOutcome{failure, target};
    QVERIFY(print(s).size() > 1);
    QVERIFY(!d->doubles.messages.shown().value(0).pointerBusy);
    QVERIFY(d->doubles.messages.expectNext(okBox(text, icon)));
    QVERIFY(d->windows.searchWindowIfLoaded());
}

void PrintCommandsTest::contextFromTheViewer_data()
{
    QTest::addColumn<bool>("withFrench");
    QTest::addColumn<std::vector<std::string>>("french");  // the French pieces printed
    QTest::newRow("with French") << true << std::vector<std::string>{kFrench2.substr(0, 81), kFrench2.substr(81)};
    QTest::newRow("no French file") << false << std::vector<std::string>{""};
}

void PrintCommandsTest::contextFromTheViewer()
{
    QFETCH(bool, withFrench);
    QFETCH(std::vector<std::string>, french);
    QVERIFY(search(QStringLiteral("amor")));
    if (!withFrench)
        d->setBox("Text_francais", QString());
    ContextViewer* viewer = d->openRow(2);  // Amor [2]: marked twice in the Latin pane
    QVERIFY(viewer);
    std::vector<std::string> expected = {printlayout::kLatinHeading, "[2] Amor et amorem\r\namo.\r\n",
                                         printlayout::kFrenchHeading};
    expected.insert(expected.end(), french.begin(), french.end());
    QCOMPARE(print(viewer), expected);
}

void PrintCommandsTest::contextPrintsEveryLineBreakAsCrLf()
{
    // A lone LF or CR of the file breaks the pane's line too, and is printed as CR LF, as the
    // command line prints it; other characters (tab, accents, non-breaking space) stay.
    d->useTexts(QByteArray("[1] amor a\nb\rc\r\nd\t\xE9\xA0" "e\n\n[2] finis"),
                QByteArray("[1] x\ry\r\n"));
    QVERIFY(d->search(QStringLiteral("amor")));
    ContextViewer* viewer = d->openRow(1);
    QVERIFY(viewer);
    const std::vector<std::string> expected = {printlayout::kLatinHeading,
                                               "[1] amor a\r\nb\r\nc\r\nd\t\xE9\xA0" "e\r\n\r\n",
                                               printlayout::kFrenchHeading, "[1] x\r\ny\r\n"};
    QCOMPARE(print(viewer), expected);
}

void PrintCommandsTest::pdfNameProposed_data()
{
    QTest::addColumn<QString>("title");   // the text window's References
    QTest::addColumn<QString>("query");   // "": printed before any search
    QTest::addColumn<bool>("fromViewer");  // the context print, on the list's first row
    QTest::addColumn<QString>("proposed");
    QTest::newRow("the title") << "Amor chez Virgile" << "amor" << false << "Amor chez Virgile.pdf";
    QTest::newRow("characters no name can hold")
        << "a/b\\c:d*e?f\"g<h>i|j" << "amor" << false << "a_b_c_d_e_f_g_h_i_j.pdf";
    QTest::newRow("no title: the searched form") << "" << "am*" << false << "am_.pdf";
    QTest::newRow("blank title: the searched form") << "   " << "amor" << false << "amor.pdf";
    QTest::newRow("no title, no search") << "" << "" << false << "quorvex.pdf";
    QTest::newRow("context, no title: the form shown") << "" << "am*" << true << "Amor.pdf";
    QTest::newRow("context, titled") << "Essai" << "am*" << true << "Essai.pdf";
}

void PrintCommandsTest::pdfNameProposed()
{
    QFETCH(QString, title);
    QFETCH(QString, query);
    QFETCH(bool, fromViewer);
    QFETCH(QString, proposed);
    d->doubles.printing.current = {};  // no printer installed
    d->useTexts(QByteArray::fromStdString(kLatin), QByteArray::fromStdString(kFrench), title);
    trigger(d->windows.textWindow(), "concordance");
    SearchWindow* s = query.isEmpty() ? d->windows.searchWindowIfLoaded() : d->search(query);
    QVERIFY(s);
    QWidget* window = fromViewer ? static_cast<QWidget*>(d->openRow(1)) : s;
    QVERIFY(window);
    trigger(window, "imprimer");  // the PDF dialog cancelled: nothing printed, nothing said

    QCOMPARE(d->doubles.dialogs.calls.size(), 1);
    const DialogCall call = d->doubles.dialogs.calls.first();
    QCOMPARE(call.kind, DialogCall::Save);
    QCOMPARE(call.parent, window);
    QCOMPARE(call.title, QStringLiteral("Imprimer dans un fichier PDF"));
    QCOMPARE(call.filter, QStringLiteral("Fichiers PDF (*.pdf)|*.pdf"));
    QCOMPARE(call.proposedName, QFileInfo(d->latinPath).absoluteDir().filePath(proposed));
    QVERIFY(d->doubles.printing.documents.empty());
    QCOMPARE(d->doubles.progress.begun, 0);
}

void PrintCommandsTest::pdfDialogAnswers_data()
{
    QTest::addColumn<QString>("answer");  // "": cancelled; "latin": the Latin text
    QTest::addColumn<QString>("file");    // the file printed into, or asked about
    QTest::addColumn<bool>("exists");     // that file is there already
    QTest::addColumn<int>("overwrite");   // the answer to the question; -1: none asked
    QTest::addColumn<bool>("printed");
    const int none = -1, yes = int(MessageAnswer::Yes), no = int(MessageAnswer::No);
    QTest::newRow("cancelled: nothing printed") << "" << "" << false << none << false;
    QTest::newRow("a new file") << "liste.pdf" << "liste.pdf" << false << none << true;
    QTest::newRow("an existing file, replaced") << "liste.pdf" << "liste.pdf" << true << yes << true;
    QTest::newRow("an existing file, kept: nothing printed") << "liste.pdf" << "liste.pdf" << true << no << false;
    QTest::newRow("the Latin text: refused") << "latin" << "latin" << true << none << false;
    QTest::newRow("no extension typed: .pdf added") << "liste" << "liste.pdf" << false << none << true;
    QTest::newRow("a final dot: pdf added") << "liste." << "liste.pdf" << false << none << true;
    QTest::newRow("no extension typed, the .pdf exists: one question")
        << "liste" << "liste.pdf" << true << yes << true;
    QTest::newRow("another extension is the user's") << "liste.v2" << "liste.v2" << false << none << true;
    QTest::newRow("an upper-case extension is one") << "LISTE.PDF" << "LISTE.PDF" << false << none << true;
}

void PrintCommandsTest::pdfDialogAnswers()
{
    QFETCH(QString, answer);
    QFETCH(QString, file);
    QFETCH(bool, exists);
    QFETCH(int, overwrite);
    QFETCH(bool, printed);
    d->doubles.printing.current = {};
    SearchWindow* s = search(QStringLiteral("amor"));
    QVERIFY(s);
    auto path = [this](const QString& name) {
        return name == QLatin1String("latin") ? d->latinPath : name.isEmpty() ? QString() : d->dir.filePath(name);
    };
    const QString pdf = path(file);
    if (exists && answer != QLatin1String("latin"))
        d->write(file, "%PDF ancien");
    d->doubles.dialogs.queueAnswer(path(answer));
    if (overwrite >= 0)
        d->doubles.messages.queueAnswer(MessageAnswer(overwrite));
    trigger(s, "imprimer");

    if (overwrite >= 0) {
        Message question;
        question.text = QDir::toNativeSeparators(pdf) + QStringLiteral(" existe.\r\nDésirez-vous l'écraser?");
        question.title = QStringLiteral("Fichier existant");
        question.buttons = MessageButtons::YesNo;
        question.defaultAnswer = MessageAnswer::Yes;
        QVERIFY(d->doubles.messages.expectNext(question));
    }
    if (answer == QLatin1String("latin"))
        QVERIFY(d->doubles.messages.expectNext(okBox(
            QStringLiteral("Le fichier de sortie est le texte latin : « %1 ».").arg(pdf), MessageIcon::Warning)));
    QCOMPARE(d->doubles.printing.documents.size(), std::size_t(printed ? 1 : 0));
    if (printed) {
        QCOMPARE(d->doubles.printing.current.name, pdf);
        QVERIFY(d->doubles.messages.expectNext(okBox(
            QStringLiteral("L'impression a été enregistrée dans le fichier PDF « %1 ».").arg(QDir::toNativeSeparators(pdf)))));
    }
    QVERIFY(d->doubles.messages.shown().isEmpty());  // nothing asked twice
    if (exists && !printed && answer != QLatin1String("latin"))
        QCOMPARE(readTestFile(pdf), QByteArray("%PDF ancien"));
}

void PrintCommandsTest::pdfFileAskedEveryTimeInTheLastFolder()
{
    d->doubles.printing.current = {};
    SearchWindow* s = search(QStringLiteral("amor"));
    QVERIFY(s);
    d->setBox("References", QStringLiteral("Essai"));
    QVERIFY(QDir(d->dir.path()).mkdir(QStringLiteral("pdf")));
    const QString first = d->dir.filePath(QStringLiteral("pdf/premier.pdf"));
    const QString second = d->dir.filePath(QStringLiteral("pdf/second.pdf"));
    d->doubles.dialogs.queueAnswer(first);
    trigger(s, "imprimer");
    QVERIFY(d->doubles.messages.expectNextNaming(first));
    // The next print asks again, in the folder of the last PDF, and cancelling changes nothing.
    trigger(s, "imprimer");
    QCOMPARE(d->doubles.dialogs.calls.last().proposedName, d->dir.filePath(QStringLiteral("pdf/Essai.pdf")));
    QCOMPARE(d->doubles.printing.documents.size(), std::size_t(1));
    d->doubles.dialogs.queueAnswer(second);
    trigger(s, "imprimer");
    QVERIFY(d->doubles.messages.expectNextNaming(second));
    QCOMPARE(d->doubles.printing.documents.size(), std::size_t(2));
    QCOMPARE(d->doubles.dialogs.calls.size(), 3);
    // A file chosen in a confirmed setup dialog is the one proposed.
    d->doubles.printSetup.confirms = true;
    d->doubles.printing.current = {true, d->dir.filePath(QStringLiteral("choisi.pdf"))};
    trigger(s, "imprimer");
    QCOMPARE(d->doubles.dialogs.calls.last().proposedName, d->dir.filePath(QStringLiteral("choisi.pdf")));
    // The setup dialog confirmed on a PDF whose name Qt filled in itself (the surface reports
    // no file): the title beside the Latin text, not Qt's "~/Veltrano - Quorvex.pdf".
    d->doubles.printing.current = {};
    trigger(s, "imprimer");
    QCOMPARE(d->doubles.dialogs.calls.last().proposedName,
             QFileInfo(d->latinPath).absoluteDir().filePath(QStringLiteral("Essai.pdf")));
    // A printer prints without any file asked.
    d->doubles.printing.current = {false, QStringLiteral("Bureau")};
    trigger(s, "imprimer");
    QCOMPARE(d->doubles.dialogs.calls.size(), 5);
    QCOMPARE(d->doubles.printing.documents.size(), std::size_t(3));
}

void PrintCommandsTest::longPrintCountsPagesAndStops_data()
{
    QTest::addColumn<bool>("toPdf");
    QTest::addColumn<int>("cancelAt");  // the page after which the user stops; 0: never
    QTest::newRow("printer, to the end") << false << 0;
    QTest::newRow("printer, stopped after page 2") << false << 2;
    QTest::newRow("pdf, stopped after page 1") << true << 1;
}

void PrintCommandsTest::longPrintCountsPagesAndStops()
{
    QFETCH(bool, toPdf);
    QFETCH(int, cancelAt);
    // 300 attestations: 67 on the first page and 68 on each further one, 5 pages.
    QByteArray latin;
    for (int i = 1; i <= 300; ++i)
        latin += "[" + QByteArray::number(i) + "] amor ";
    d->useTexts(latin);
    SearchWindow* s = d->search(QStringLiteral("amor"));
    QVERIFY(s);
    const QString pdf = d->dir.filePath(QStringLiteral("liste.pdf"));
    if (toPdf) {
        d->doubles.printing.current = {};
        d->doubles.dialogs.queueAnswer(pdf);
    }
    // What the printer had sent when the progress heard of the count.
    int sentWhenCounted = -1;
    d->doubles.progress.onAdvance = [&] {
        if (sentWhenCounted < 0)
            sentWhenCounted = d->doubles.printing.pagesSent.back();
    };
    d->doubles.progress.cancelAt = std::uint64_t(cancelAt);
    trigger(s, "imprimer");

    QCOMPARE(d->doubles.progress.begun, 1);
    QCOMPARE(d->doubles.progress.total, std::uint64_t(5));
    QCOMPARE(d->doubles.progress.lastParent, static_cast<QWidget*>(s));
    QCOMPARE(d->doubles.progress.label,
             toPdf ? QStringLiteral("Impression de 5 pages dans « %1 »").arg(QDir::toNativeSeparators(pdf))
                   : QStringLiteral("Impression de 5 pages sur « Imprimante de test »"));
    QVERIFY(!d->doubles.progress.open);
    QCOMPARE(sentWhenCounted, 0);
    QCOMPARE(d->doubles.printing.pagesSent, std::vector<int>{cancelAt > 0 ? cancelAt : 5});
    // A stopped print says nothing; a finished PDF names its file.
    if (toPdf && cancelAt == 0)
        QVERIFY(d->doubles.messages.expectNextNaming(pdf));
}
QTEST_MAIN(PrintCommandsTest)
#include "PrintCommandsTest.moc"
