// "&Enregistrer" of the search window driven through the platform doubles: the dialog, the
// overwrite question, the bytes of the result file, and the failures that must lose nothing.

#include "cli/CliRunner.h"
#include "concordance/Frmcontexte.h"
#include "concordance/SearchDate.h"
#include "platform/FlexGrid.h"
#include "platform/TextCodec.h"
#include "shell/Forms.h"
#include "shell/frmtexte.h"
#include "support/TestFiles.h"
#include "support/TestPlatform.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>
#include <sstream>
#include <sys/resource.h>

using namespace quorvex;

namespace {

const QByteArray kLatin = "[1] Puer rosam amat.\r\n[2] Puella rosam videt.\r\n";
const QByteArray kFrench = cp1252("[1] Le garçon aime la rose.\r\n[2] La fille voit la rose.\r\n");
const QByteArray kRule(74, '-');

QByteArray lines(std::initializer_list<QByteArray> all)
{
    QByteArray out;
    for (const QByteArray& line : all)
        out += line + "\r\n";
    return out;
}

// Files may grow no further than `bytes` while it lives, as on a disk that is full.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

} // namespace

class SaveCommandTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::French, QLocale::France)); }
    void init();
    void cleanup();

    void dateUnderRegionalSettings_data();
    void dateUnderRegionalSettings();
    void cancelWritesNothing();
    void existingFile_data();
    void existingFile();
    void secondSaveToTheSameNameAsks();
    void workedExampleByteForByte();
    void sameBytesAsTheCommandLine_data();
    void sameBytesAsTheCommandLine();
    void searchWithoutAttestation();
    void beforeAnySearch();
    void textsReadFromThePathsNamedNow();
    void longFormsInTheList();
    void failureKeepsOldFileAndGrid_data();
    void failureKeepsOldFileAndGrid();

private:
    void open(const QByteArray& latin, const QByteArray& french, const QString& title);
    void searchFor(const QString& query);
    void save(const QString& answer);
    QByteArray header() const;
    QStringList rows() const;

    std::unique_ptr<TestPlatform> m_platform;
    std::unique_ptr<Forms> m_forms;
    std::unique_ptr<QTemporaryDir> m_dir;
    QPointer<frmtexte> m_texte;
    QPointer<Frmcontexte> m_search;
    QString m_latinPath;
    QString m_frenchPath;
    QString m_out;
};

void SaveCommandTest::init()
{
    m_platform = std::make_unique<TestPlatform>();
    m_forms = std::make_unique<Forms>(m_platform->platform());
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_texte = m_forms->texte();
    m_out = m_dir->filePath(QStringLiteral("resultat.txt"));
}

void SaveCommandTest::cleanup()
{
    QVERIFY(m_platform->messages.noneLeft());
    QVERIFY(!m_platform->busy.anyBusy());
    QCOMPARE(m_platform->busy.unmatchedOffs(), 0);
    m_forms.reset();
    m_platform.reset();
    m_dir.reset();
}

void SaveCommandTest::open(const QByteArray& latin, const QByteArray& french, const QString& title)
{
    m_latinPath = writeTestFile(*m_dir, QStringLiteral("latin.txt"), latin);
    m_frenchPath = french.isNull() ? QString()
                                   : writeTestFile(*m_dir, QStringLiteral("francais.txt"), french);
    m_texte->findChild<QLineEdit*>("Text_latin")->setText(m_latinPath);
    m_texte->findChild<QLineEdit*>("Text_francais")->setText(m_frenchPath);
    m_texte->findChild<QLineEdit*>("References")->setText(title);
    m_texte->findChild<QAction*>("concordance")->trigger();
    m_search = m_forms->contexteIfLoaded();
    QVERIFY(m_search);
}

void SaveCommandTest::searchFor(const QString& query)
{
    m_search->findChild<QLineEdit*>("Text1")->setText(query);
    QTest::mouseClick(m_search->findChild<QPushButton*>("Command1"), Qt::LeftButton);
}

void SaveCommandTest::save(const QString& answer)
{
    m_platform->dialogs.queueAnswer(answer);
    m_search->findChild<QAction*>("enregistrer")->trigger();
}

// Lines 1 to 4, with the search window's load moment under French settings.
QByteArray SaveCommandTest::header() const
{
    const QString title = m_texte->referencesText();
    return lines({cp1252("Référence(s) : ") + cp1252(title.toUtf8().constData()),
                  cp1252("Recherche effectuée le : ")
                      + cp1252(searchDateText(m_search->loadMoment()).toUtf8().constData()),
                  kRule, ""});
}

QStringList SaveCommandTest::rows() const
{
    QStringList out;
    const GridModel& cells = m_search->grille01()->cells();
    for (std::size_t r = 0; r < cells.rows(); ++r)
        out << fromCp1252(cells.cell(r, 0)) + QLatin1Char('|') + fromCp1252(cells.cell(r, 1));
    return out;
}

void SaveCommandTest::dateUnderRegionalSettings_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<QString>("text");
    const QDateTime example(QDate(2026, 12, 4), QTime(11, 25, 50));
    QTest::newRow("French") << QLocale(QLocale::French, QLocale::France) << example
                            << "04/12/2026 11:25:50";
    QTest::newRow("French at midnight")
        << QLocale(QLocale::French, QLocale::France) << QDateTime(QDate(2026, 12, 4), QTime(0, 0))
        << "04/12/2026";
    QTest::newRow("French one second after midnight")
        << QLocale(QLocale::French, QLocale::France)
        << QDateTime(QDate(2026, 12, 4), QTime(0, 0, 1)) << "04/12/2026 00:00:01";
    QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << example
                            << "04.12.26 11:25:50";
    QTest::newRow("American") << QLocale(QLocale::English, QLocale::UnitedStates) << example
                              << "12/4/26 11:25:50 AM";
}

void SaveCommandTest::dateUnderRegionalSettings()
{
    QFETCH(QLocale, locale);
    QFETCH(QDateTime, moment);
    QFETCH(QString, text);
    QCOMPARE(searchDateText(moment, locale), text);
}

void SaveCommandTest::cancelWritesNothing()
{
    open(kLatin, kFrench, QStringLiteral("Essai"));
    searchFor(QStringLiteral("rosam"));
    m_platform->busy.switches.clear();
    save(QString());
    QCOMPARE(m_platform->dialogs.calls.size(), 1);
    const DialogCall& call = m_platform->dialogs.calls.first();
    QCOMPARE(call.kind, DialogCall::Save);
    QCOMPARE(call.filter, QStringLiteral("Fichiers Texte (*.TXT)|*.TXT"));
    QCOMPARE(call.proposedName, QString());
    QCOMPARE(call.parent, static_cast<QWidget*>(m_search));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), 2);
    QVERIFY(m_platform->busy.switches.isEmpty());
    QVERIFY(m_platform->messages.shown().isEmpty());
}

void SaveCommandTest::existingFile_data()
{
    QTest::addColumn<bool>("overwrite");
    QTest::newRow("No keeps it") << false;
    QTest::newRow("Yes replaces it") << true;
}

void SaveCommandTest::existingFile()
{
    QFETCH(bool, overwrite);
    open(kLatin, kFrench, QStringLiteral("Essai"));
    searchFor(QStringLiteral("rosam"));
    QVERIFY(!writeTestFile(*m_dir, QStringLiteral("resultat.txt"), "ancien").isEmpty());
    m_platform->busy.switches.clear();
    m_platform->messages.queueAnswer(overwrite ? MessageAnswer::Yes : MessageAnswer::No);
    save(m_out);
    Message question;
    question.text = m_out + QStringLiteral(" existe.\r\nDésirez-vous l'écraser?");
    question.title = QStringLiteral("Fichier existant");
    question.buttons = MessageButtons::YesNo;
    question.defaultAnswer = MessageAnswer::Yes;
    QVERIFY(!m_platform->messages.shown().first().pointerBusy);
    QVERIFY(m_platform->messages.expectNext(question));
    QCOMPARE(m_platform->files.asked, QStringList{m_out});
    if (!overwrite) {
        QCOMPARE(readTestFile(m_out), QByteArray("ancien"));
        QVERIFY(m_platform->busy.switches.isEmpty());
        return;
    }
    Message done;
    done.text = QStringLiteral("L'enregistrement est terminé.");
    const auto shown = m_platform->messages.shown();
    QVERIFY(m_platform->messages.expectNext(done));
    QVERIFY(!shown.first().pointerBusy);  // the pointer is back before the closing message
    QVERIFY(readTestFile(m_out).startsWith(cp1252("Référence(s) : Essai\r\n")));
    QCOMPARE(m_platform->busy.timesOn(m_search), 1);
    // No temporary file is left beside it.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), 3);
}

void SaveCommandTest::secondSaveToTheSameNameAsks()
{
    open(kLatin, kFrench, QStringLiteral("Essai"));
    searchFor(QStringLiteral("rosam"));
    save(m_out);
    QVERIFY(m_platform->messages.take());  // "L'enregistrement est terminé."
    const QByteArray first = readTestFile(m_out);

    // The dialog proposes the name chosen before; the file now exists.
    searchFor(QStringLiteral("puer"));
    m_platform->messages.queueAnswer(MessageAnswer::Yes);
    save(m_out);
    QCOMPARE(m_platform->dialogs.calls.last().proposedName, m_out);
    const auto question = m_platform->messages.take();
    QVERIFY(question);
    QCOMPARE(question->message.title, QStringLiteral("Fichier existant"));
    QVERIFY(m_platform->messages.take());
    const QByteArray second = readTestFile(m_out);
    QVERIFY(second != first);
    QVERIFY(second.contains("Puer                                [1]\r\n"));
}

void SaveCommandTest::workedExampleByteForByte()
{
    open(kLatin, kFrench, QStringLiteral("Essai"));
    searchFor(QStringLiteral("rosam"));
    save(m_out);
    QVERIFY(m_platform->messages.take());
    const QByteArray expected = header()
        + lines({cp1252("Forme(s)                            Références"),
                 "rosam                               [1]", "rosam                               [2]",
                 kRule, "[1] Puer rosam amat.", "", cp1252("[1] Le garçon aime la rose."), "",
                 kRule, "[2] Puella rosam videt.", "", "[2] La fille voit la rose.", ""});
    QCOMPARE(readTestFile(m_out), expected);
    // Under French settings line 2 reads like 04/12/2026 11:25:50.
    const QByteArray line2 = readTestFile(m_out).split('\n').at(1);
    QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d/\\d\\d/\\d{4}( \\d\\d:\\d\\d:\\d\\d)?\r$"))
                .match(QString::fromLatin1(line2.mid(25)))
                .hasMatch());
    // Saving moved the grid's current cell to the last row, column 1, and nothing else.
    QCOMPARE(m_search->grille01()->Row(), std::size_t(2));
    QCOMPARE(m_search->grille01()->Col(), 1);
    QCOMPARE(rows(), (QStringList{"Forme(s)|Références", "rosam|[1]", "rosam|[2]"}));
}

void SaveCommandTest::sameBytesAsTheCommandLine_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<bool>("byForm");
    QTest::addColumn<bool>("withFrench");
    QTest::newRow("text order") << "*" << false << true;
    QTest::newRow("sorted by form") << "*" << true << true;
    QTest::newRow("no French text") << "p*" << false << false;
}

void SaveCommandTest::sameBytesAsTheCommandLine()
{
    QFETCH(QString, query);
    QFETCH(bool, byForm);
    QFETCH(bool, withFrench);
    open(kLatin, withFrench ? kFrench : QByteArray(), QStringLiteral("Titre é"));
    searchFor(query);
    if (byForm)
        QTest::mouseClick(m_search->findChild<QPushButton*>("Command2"), Qt::LeftButton);
    save(m_out);
    QVERIFY(m_platform->messages.take());

    const QString cliOut = m_dir->filePath(QStringLiteral("cli.txt"));
    std::vector<std::string> args = {"--latin", toPath(m_latinPath), "--title", "Titre é",
                                     "--date", searchDateText(m_search->loadMoment()).toStdString(),
                                     "--output", toPath(cliOut)};
    if (withFrench)
        args.insert(args.end(), {"--french", toPath(m_frenchPath)});
    if (byForm)
        args.insert(args.end(), {"--sort", "forms"});
    args.push_back("--");
    args.push_back(query.toStdString());
    std::ostringstream out, err;
    QCOMPARE(runCli(args, out, err), 0);
    QCOMPARE(readTestFile(m_out), readTestFile(cliOut));
}

void SaveCommandTest::searchWithoutAttestation()
{
    open(kLatin, kFrench, QString());
    searchFor(QStringLiteral("nihil"));
    save(m_out);
    QVERIFY(m_platform->messages.take());
    QCOMPARE(readTestFile(m_out),
             header() + lines({cp1252("Forme(s)                            Références")}));
    QVERIFY(readTestFile(m_out).startsWith(cp1252("Référence(s) : \r\n")));
}

void SaveCommandTest::beforeAnySearch()
{
    open("x [1] a", "[1] b", QStringLiteral("T"));
    save(m_out);
    QVERIFY(m_platform->messages.take());
    // The header and one empty row: a line of 36 blanks and one block for the empty
    // reference. It is in force from the first character, which opens the passage without
    // entering it; the French text opens with a "[" and has no such passage.
    QCOMPARE(readTestFile(m_out),
             header()
                 + lines({cp1252("Forme(s)                            Références"),
                          QByteArray(36, ' '), kRule, " ", ""}));
}

void SaveCommandTest::textsReadFromThePathsNamedNow()
{
    open(kLatin, kFrench, QStringLiteral("Essai"));
    searchFor(QStringLiteral("videt"));
    // Other files named after the search window opened: their passages are written.
    const QString latin2 = writeTestFile(*m_dir, QStringLiteral("l2.txt"), "[2] Alia.\r\n");
    const QString french2 = writeTestFile(*m_dir, QStringLiteral("f2.txt"), "[2] Autre.");
    m_texte->findChild<QLineEdit*>("Text_latin")->setText(latin2);
    m_texte->findChild<QLineEdit*>("Text_francais")->setText(french2);
    m_texte->findChild<QLineEdit*>("References")->setText(QStringLiteral("Nouveau"));
    save(m_out);
    QVERIFY(m_platform->messages.take());
    QCOMPARE(readTestFile(m_out),
             header()
                 + lines({cp1252("Forme(s)                            Références"),
                          "videt                               [2]", kRule, "[2] Alia.", "",
                          "[2] Autre."}));
    QVERIFY(readTestFile(m_out).startsWith("R\xE9" "f\xE9" "rence(s) : Nouveau\r\n"));
}

void SaveCommandTest::longFormsInTheList()
{
    const QByteArray f34(34, 'a');
    const QByteArray f35(35, 'b');
    open("[1] " + f34 + " " + f35, QByteArray(), QString());
    searchFor(QStringLiteral("*"));
    save(m_out);
    QVERIFY(m_platform->messages.take());
    const QByteArray file = readTestFile(m_out);
    QVERIFY(file.contains("\r\n" + f34 + "  [1]\r\n"));
    QVERIFY(file.contains("\r\n" + f35 + "[1]\r\n"));
}

void SaveCommandTest::failureKeepsOldFileAndGrid_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("disk full while writing") << "full";
    QTest::newRow("path is a folder") << "folder";
    QTest::newRow("folder does not exist") << "nofolder";
    QTest::newRow("Latin text gone") << "latin";
    QTest::newRow("French text gone") << "french";
}

void SaveCommandTest::failureKeepsOldFileAndGrid()
{
    QFETCH(QString, kind);
    open(kLatin, kFrench, QStringLiteral("Essai"));
    searchFor(QStringLiteral("rosam"));
    const QStringList gridBefore = rows();
    QVERIFY(!writeTestFile(*m_dir, QStringLiteral("resultat.txt"), "ancien").isEmpty());

    QString target = m_out;
    QString named = m_out;
    if (kind == QLatin1String("folder")) {
        target = m_dir->filePath(QStringLiteral("dossier"));
        QVERIFY(QDir().mkdir(target));
        named = target;
    } else if (kind == QLatin1String("nofolder")) {
        target = m_dir->filePath(QStringLiteral("absent/resultat.txt"));
        named = target;
    } else if (kind == QLatin1String("latin")) {
        QVERIFY(QFile::remove(m_latinPath));
        named = m_latinPath;
    } else if (kind == QLatin1String("french")) {
        QVERIFY(QFile::remove(m_frenchPath));
        named = m_frenchPath;
    }
    const bool exists = QFileInfo::exists(target);
    if (exists)
        m_platform->messages.queueAnswer(MessageAnswer::Yes);
    {
        std::unique_ptr<FileSizeLimit> limit;
        if (kind == QLatin1String("full"))
            limit = std::make_unique<FileSizeLimit>(100);
        save(target);
    }
    if (exists) {
        const auto question = m_platform->messages.take();
        QVERIFY(question);
        QCOMPARE(question->message.title, QStringLiteral("Fichier existant"));
    }

    const auto failure = m_platform->messages.take();
    QVERIFY2(failure, "no message box told of the failure");
    QVERIFY2(failure->message.text.contains(named), qPrintable(failure->message.text));
    QCOMPARE(failure->message.buttons, MessageButtons::Ok);
    QVERIFY(!failure->pointerBusy);
    QVERIFY(m_platform->messages.shown().isEmpty());  // no "L'enregistrement est terminé."
    // The old result file, the grid and the labels are as they were; no stray file remains.
    QCOMPARE(readTestFile(m_out), QByteArray("ancien"));
    QCOMPARE(rows(), gridBefore);
    const QStringList left = QDir(m_dir->path()).entryList(QDir::Files);
    for (const QString& name : left)
        QVERIFY2(!name.contains(QLatin1String("~")), qPrintable(name));
}

QTEST_MAIN(SaveCommandTest)
#include "SaveCommandTest.moc"
