// "E&xporter..." of the search window driven through the platform doubles: the five kinds
// offered, each writing quorvex-cli's bytes for the same texts and options, and the save's
// guards (a cancelled dialog, a text of the search named, a full disk) losing nothing.

#include "cli/CliRunner.h"
#include "platform/QtFileDialogs.h"
#include "support/FileSizeLimit.h"
#include "support/SmallLexicon.h"
#include "support/WindowDriver.h"

#include <QDir>
#include <QUuid>

#include <csignal>
#include <sstream>
#include <sys/resource.h>

using namespace quorvex;

namespace {

const QByteArray kLatin = cp1252("[1] Deus dixit et caelum est. [2] Filius Dei dixit cælum\r\n"
                                 "[3] Israel dicit, Israel est; deumque dicis. [4] Filius <Dei> & est");
const QByteArray kFrench = cp1252("[1] Dieu dit et le ciel est. [2] Le Fils de Dieu dit le ciel\r\n"
                                  "[3] Israël dit ; Israël est. [4] Le Fils de « Dieu » est");

enum Filter { Tsv, Csv, Html, Kwic, Tmx };

} // namespace

class ExportCommandTest : public WindowTest {
    Q_OBJECT

private slots:
    void eachKindWritesTheCommandLinesBytes_data();
    void eachKindWritesTheCommandLinesBytes();
    void cancelledDialogWritesNothing();
    void aCancelWhileTheAlignmentLearnsWritesNothing();
    void aTextOfTheSearchIsNeverWrittenOver();
    void fullDiskKeepsTheExistingFile();

private:
    SearchWindow* open(bool withFrench = true)
    {
        writeSmallLexicon(*d);
        d->useTexts(kLatin, withFrench ? kFrench : QByteArray(), QStringLiteral("Épreuve"));
        trigger(d->windows.textWindow(), "concordance");
        return d->windows.searchWindowIfLoaded();
    }
    // "E&xporter..." answered with that name and filter.
    void exportAs(SearchWindow* s, const QString& name, int filter)
    {
        d->doubles.dialogs.queueAnswer(name, filter);
        trigger(s, "exporter");
    }
    bool expectDone() { return d->doubles.messages.expectNext(okBox(QStringLiteral("L'enregistrement est terminé."))); }
    QStringList files() const { return QDir(d->dir.path()).entryList(QDir::Files | QDir::Hidden); }
};

void ExportCommandTest::eachKindWritesTheCommandLinesBytes_data()
{
    QTest::addColumn<int>("filter");
    QTest::addColumn<bool>("withFrench");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("query");
    QTest::addColumn<bool>("sortByForm");
    QTest::addColumn<QStringList>("options");  // besides the texts, the title and the query

    const QStringList eq{"--equivalents"};
    QTest::newRow("TSV with the equivalents column")
        << int(Tsv) << true << QStringList{} << "dixit" << false << QStringList{"--format", "tsv"} + eq;
    QTest::newRow("TSV without a French text") << int(Tsv) << false << QStringList{} << "Dei" << false
                                               << QStringList{"--format", "tsv"};
    QTest::newRow("TSV of the French text, its passages first")
        << int(Tsv) << true << QStringList{"cote_francais"} << "dit" << false
        << QStringList{"--side", "french", "--format", "tsv"};
    // The window reads each word in its sentence: a lemma's list has its analyses.
    QTest::newRow("CSV of a lemma, its lemmata and analyses columns")
        << int(Csv) << true << QStringList{"lemme"} << "dico" << false
        << QStringList{"--lemma", "--analyses", "--format", "csv"} + eq;
    QTest::newRow("CSV of a lemma typed with its quantities")
        << int(Csv) << true << QStringList{"lemme"} << QStringLiteral("dīco") << false
        << QStringList{"--lemma", "--analyses", "--format", "csv"} + eq;
    QTest::newRow("TSV of a lemma without a French text")
        << int(Tsv) << false << QStringList{"lemme"} << "sum" << false
        << QStringList{"--lemma", "--analyses", "--format", "tsv"};
    QTest::newRow("HTML of a lemma sorted by form")
        << int(Html) << true << QStringList{"lemme"} << "deus" << true
        << QStringList{"--lemma", "--analyses", "--sort", "forms", "--format", "html"} + eq;
    QTest::newRow("CSV sorted by form") << int(Csv) << true << QStringList{} << "d*" << true
                                        << QStringList{"--sort", "forms", "--format", "csv"} + eq;
    QTest::newRow("HTML of a folded search") << int(Html) << true << QStringList{"orthographe"} << "caelum"
                                             << false << QStringList{"--normalize", "--format", "html"} + eq;
    QTest::newRow("HTML of a phrase") << int(Html) << true << QStringList{"expression"} << "filius dei" << false
                                      << QStringList{"--phrase", "--format", "html"} + eq;
    QTest::newRow("HTML without a French text") << int(Html) << false << QStringList{} << "dixit" << false
                                                << QStringList{"--format", "html"};
    QTest::newRow("KWIC lines") << int(Kwic) << true << QStringList{} << "d*" << false << QStringList{"--kwic"};
    QTest::newRow("KWIC lines of a phrase")
        << int(Kwic) << true << QStringList{"expression"} << "filius dei" << false
        << QStringList{"--phrase", "--kwic"};
    QTest::newRow("TMX") << int(Tmx) << true << QStringList{} << "d*" << false << QStringList{"--format", "tmx"};
    QTest::newRow("TMX without a French text")
        << int(Tmx) << false << QStringList{} << "dixit" << false << QStringList{"--format", "tmx"};
}

void ExportCommandTest::eachKindWritesTheCommandLinesBytes()
{
    QFETCH(int, filter);
    QFETCH(bool, withFrench);
    QFETCH(QStringList, items);
    QFETCH(QString, query);
    QFETCH(bool, sortByForm);
    QFETCH(QStringList, options);
    SearchWindow* s = open(withFrench);
    QVERIFY(s);
    for (const QString& item : items)
        trigger(s, item.toLatin1().constData());
    d->search(query);
    QVERIFY(d->session.results().size() > 0);
    if (sortByForm)
        click(s, "Command2");

    const QString exported = d->dir.filePath(QStringLiteral("liste exportée"));
    exportAs(s, exported, filter);
    QVERIFY(expectDone());
    // The kinds offered, in the dialog's own form.
    QCOMPARE(d->doubles.dialogs.calls.size(), 1);
    QStringList offered;
    for (const QString& f : d->doubles.dialogs.calls.first().filter.split(QLatin1Char('\n')))
        offered << QtFileDialogs::toQtFilter(f);
    QCOMPARE(offered, (QStringList{"TSV (*.tsv)", "CSV (*.csv)", "HTML (*.html)", "KWIC (*.txt)", "TMX (*.tmx)"}));

    std::vector<std::string> args = {"--latin", toPath(d->latinPath), "--title", "Épreuve"};
    if (withFrench)
        args.insert(args.end(), {"--french", toPath(d->frenchPath)});
    const QString cli = d->dir.filePath(QStringLiteral("cli"));
    if (filter != Kwic)
        args.insert(args.end(), {"--output", toPath(cli)});
    for (const QString& o : options)
        args.push_back(o.toStdString());
    args.insert(args.end(), {"--", query.toStdString()});
    std::ostringstream out, err;
    QCOMPARE(runCli(args, out, err), 0);
    const QByteArray expected = filter == Kwic ? QByteArray::fromStdString(out.str()) : readTestFile(cli);
    QVERIFY(!expected.isEmpty());
    QCOMPARE(readTestFile(exported), expected);
}

void ExportCommandTest::cancelledDialogWritesNothing()
{
    SearchWindow* s = open();
    QVERIFY(s);
    d->search(QStringLiteral("dixit"));
    const QStringList before = files();
    trigger(s, "exporter");  // nothing scripted: the dialog is cancelled
    QCOMPARE(d->doubles.dialogs.calls.size(), 1);
    QCOMPARE(files(), before);
    QVERIFY(d->doubles.messages.shown().isEmpty());
}

void ExportCommandTest::aCancelWhileTheAlignmentLearnsWritesNothing()
{
    // A French text no run has aligned yet, so that the export's renderings train here.
    writeSmallLexicon(*d);
    d->useTexts(kLatin, kFrench + "\r\n[5] " + QUuid::createUuid().toByteArray(QUuid::Id128), QStringLiteral("Épreuve"));
    trigger(d->windows.textWindow(), "concordance");
    SearchWindow* s = d->windows.searchWindowIfLoaded();
    QVERIFY(s);
    d->search(QStringLiteral("dixit"));
    const QStringList before = files();
    const QString exported = d->dir.filePath(QStringLiteral("liste exportée"));

    d->doubles.progress.cancelAt = 1;
    exportAs(s, exported, Tsv);
    QCOMPARE(d->doubles.progress.label, QStringLiteral("Calcul des traductions"));
    QVERIFY(!d->doubles.progress.open);
    QVERIFY(d->doubles.messages.expectNext(okBox(
        QStringLiteral("L'écriture du fichier « %1 » a été annulée : aucun fichier n'a été créé.").arg(exported),
        MessageIcon::Warning)));
    QCOMPARE(files(), before);

    // The next export learns it again and writes the list with its renderings.
    d->doubles.progress.cancelAt = 0;
    exportAs(s, exported, Tsv);
    QVERIFY(expectDone());
    QVERIFY(readTestFile(exported).contains("\tdit"));
}

void ExportCommandTest::aTextOfTheSearchIsNeverWrittenOver()
{
    SearchWindow* s = open();
    QVERIFY(s);
    d->search(QStringLiteral("dixit"));
    exportAs(s, d->frenchPath, Tsv);
    QVERIFY(d->doubles.messages.expectNext(okBox(
        QStringLiteral("Le fichier de sortie est le texte français : « %1 ».").arg(d->frenchPath), MessageIcon::Warning)));
    QCOMPARE(readTestFile(d->frenchPath), kFrench);
    exportAs(s, d->latinPath, Html);
    QVERIFY(d->doubles.messages.expectNext(okBox(
        QStringLiteral("Le fichier de sortie est le texte latin : « %1 ».").arg(d->latinPath), MessageIcon::Warning)));
    QCOMPARE(readTestFile(d->latinPath), kLatin);
}

void ExportCommandTest::fullDiskKeepsTheExistingFile()
{
    SearchWindow* s = open();
    QVERIFY(s);
    d->search(QStringLiteral("d*"));
    const QString target = d->write(QStringLiteral("liste.html"), "ancien");
    const QStringList before = files();
    {
        FileSizeLimit limit(100);
        d->doubles.messages.queueAnswer(MessageAnswer::Yes);  // replace it
        exportAs(s, target, Html);
    }
    QVERIFY(d->doubles.messages.expectNext({target + QStringLiteral(" existe.\r\nDésirez-vous l'écraser?"),
                                            QStringLiteral("Fichier existant"), MessageButtons::YesNo,
                                            MessageAnswer::Yes, MessageIcon::None}));
    // Told once, naming the file, with the pointer off; no "terminé" after it.
    QVERIFY(!d->doubles.messages.shown().isEmpty() && !d->doubles.messages.shown().first().pointerBusy);
    QVERIFY(d->doubles.messages.expectNextNaming(target));
    QCOMPARE(readTestFile(target), QByteArray("ancien"));
    QCOMPARE(files(), before);
}

QTEST_MAIN(ExportCommandTest)
#include "ExportCommandTest.moc"
