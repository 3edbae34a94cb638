// The two print commands driven through the real windows: what reaches the printer, the
// setup dialog shown first, the busy pointer around the printing, and the failures told.

#include "concordance/Frmcontexte.h"
#include "output/PrintCommands.h"
#include "output/PrintLayout.h"
#include "platform/FlexGrid.h"
#include "platform/TextCodec.h"
#include "shell/Forms.h"
#include "shell/frmtexte.h"
#include "support/TestPlatform.h"
#include "viewer/frmaff_contexte.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

#include <memory>

using namespace quorvex;

Q_DECLARE_METATYPE(quorvex::PrintFailure)

namespace {

// [2] holds the French line rule's cases: a line break inside the passage (two characters of
// the count) before a space that comes 81st, then non-breaking spaces, which never end a line.
const std::string kLatin = "[1] Amor omnia vincit.\r\n[2] Amor et amorem\r\namo.\r\n[3] Finis";
const std::string kFrench2 = "[2] L'amour: " + std::string(21, 'a') + "\r\n"
    + std::string(44, 'b') + " suite\xA0" + std::string(80, 'c') + "\xA0" "fin.\r\n";
const std::string kFrench = "[1] L'amour vainc tout.\r\n" + kFrench2 + "[3] Fin";

std::vector<std::string> textsOf(const PrintOperations& ops)
{
    std::vector<std::string> texts;
    for (const PrintOperation& o : ops)
        if (o.op == PrintOp::Text)
            texts.push_back(o.text);
    return texts;
}

} // namespace

class PrintCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void attestationsFromTheSearchWindow();
    void failuresAreToldWithThePointerOff_data();
    void failuresAreToldWithThePointerOff();
    void contextFromTheViewer_data();
    void contextFromTheViewer();
    void paneTextKeepsTheFileCharacters_data();
    void paneTextKeepsTheFileCharacters();

private:
    void write(const QString& name, const std::string& bytes);
    Frmcontexte* searchWindow(const QString& query);
    void trigger(QWidget* window);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TestPlatform> m_platform;
    std::unique_ptr<Forms> m_forms;
};

void PrintCommandsTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    write(QStringLiteral("latin.txt"), kLatin);
    write(QStringLiteral("francais.txt"), kFrench);
    m_platform = std::make_unique<TestPlatform>();
    m_forms = std::make_unique<Forms>(m_platform->platform());
}

void PrintCommandsTest::cleanup()
{
    if (m_platform)
        QVERIFY(m_platform->messages.noneLeft());
    m_forms.reset();
    m_platform.reset();
    m_dir.reset();
}

void PrintCommandsTest::write(const QString& name, const std::string& bytes)
{
    QFile file(m_dir->filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes.data(), static_cast<qint64>(bytes.size())),
             static_cast<qint64>(bytes.size()));
}

Frmcontexte* PrintCommandsTest::searchWindow(const QString& query)
{
    frmtexte* texte = m_forms->texte();
    texte->findChild<QLineEdit*>(QStringLiteral("Text_latin"))
        ->setText(m_dir->filePath(QStringLiteral("latin.txt")));
    texte->findChild<QLineEdit*>(QStringLiteral("Text_francais"))
        ->setText(m_dir->filePath(QStringLiteral("francais.txt")));
    Frmcontexte* search = m_forms->contexte();
    if (search) {
        search->findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(query);
        search->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    }
    return search;
}

void PrintCommandsTest::trigger(QWidget* window)
{
    auto* imprimer = window->findChild<QAction*>(QStringLiteral("imprimer"));
    QVERIFY(imprimer);
    bool busyWhilePrinting = false;
    m_platform->printing.onPlay = [&] { busyWhilePrinting = m_platform->busy.isBusy(window); };
    imprimer->trigger();
    QCOMPARE(m_platform->printSetup.shown, 1);
    QCOMPARE(m_platform->printSetup.lastParent, window);
    QVERIFY(busyWhilePrinting);
    QVERIFY(!m_platform->busy.anyBusy());
    QCOMPARE(m_platform->busy.unmatchedOffs(), 0);
}

void PrintCommandsTest::attestationsFromTheSearchWindow()
{
    Frmcontexte* search = searchWindow(QStringLiteral("am*"));
    QVERIFY(search);
    search->findChild<QPushButton*>(QStringLiteral("Command2"))->click();  // by form
    FlexGrid* grid = search->grille01();
    grid->setRow(1);
    grid->setCol(0);

    trigger(search);  // the setup dialog cancelled: the printing goes on

    QCOMPARE(m_platform->printing.documents.size(), std::size_t(1));
    const std::vector<std::string> texts = textsOf(m_platform->printing.last());
    const std::vector<std::string> expected = {
        "Forme(s)", "R\xE9" "f\xE9rences", printlayout::kSeparator,
        "amo", "[2]", "Amor", "[1]", "Amor", "[2]", "amorem", "[2]"};
    QCOMPARE(texts, expected);
    // The cells were read row by row: the current cell ends on the last row, column 1.
    QCOMPARE(grid->Row(), grid->Rows() - 1);
    QCOMPARE(grid->Col(), 1);
}

void PrintCommandsTest::failuresAreToldWithThePointerOff_data()
{
    QTest::addColumn<PrintFailure>("failure");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("icon");

    QTest::newRow("no printer") << PrintFailure::NoPrinter << QString()
                                << QString::fromUtf8(
                                       "Aucune imprimante n'est installée et aucun fichier PDF "
                                       "n'a été choisi : rien n'a été imprimé.\n\nChoisissez une "
                                       "imprimante ou l'impression dans un fichier PDF, puis "
                                       "relancez l'impression.")
                                << int(MessageIcon::Warning);
    QTest::newRow("pdf not writable")
        << PrintFailure::CannotWrite << QStringLiteral("/absent/liste.pdf")
        << QString::fromUtf8("Le fichier PDF « /absent/liste.pdf » ne peut pas être écrit "
                             "(dossier absent, accès refusé ou disque plein) : l'impression "
                             "n'a pas abouti.")
        << int(MessageIcon::Critical);
    QTest::newRow("printer error")
        << PrintFailure::PrinterError << QStringLiteral("Bureau")
        << QString::fromUtf8("L'imprimante « Bureau » a signalé une erreur : l'impression "
                             "n'a pas abouti.")
        << int(MessageIcon::Critical);
}

void PrintCommandsTest::failuresAreToldWithThePointerOff()
{
    QFETCH(PrintFailure, failure);
    QFETCH(QString, target);
    QFETCH(QString, text);
    QFETCH(int, icon);

    Frmcontexte* search = searchWindow(QStringLiteral("amor"));
    QVERIFY(search);
    m_platform->printing.outcome = PrintOutcome{failure, target};
    trigger(search);

    Message expected;
    expected.text = text;
    expected.icon = static_cast<MessageIcon>(icon);
    const bool busyDuringBox = !m_platform->messages.shown().isEmpty()
        && m_platform->messages.shown().first().pointerBusy;
    QVERIFY(m_platform->messages.expectNext(expected));
    QVERIFY(!busyDuringBox);
    QVERIFY(m_forms->contexteIfLoaded());
}

void PrintCommandsTest::contextFromTheViewer_data()
{
    QTest::addColumn<bool>("withFrench");
    QTest::addColumn<std::vector<std::string>>("french");  // the French pieces printed

    QTest::newRow("with French") << true
                                 << std::vector<std::string>{
                                        kFrench2.substr(0, 81), kFrench2.substr(81)};
    QTest::newRow("no French file") << false << std::vector<std::string>{""};
}

void PrintCommandsTest::contextFromTheViewer()
{
    QFETCH(bool, withFrench);
    QFETCH(std::vector<std::string>, french);

    Frmcontexte* search = searchWindow(QStringLiteral("amor"));
    QVERIFY(search);
    if (!withFrench) {
        m_forms->texte()->findChild<QLineEdit*>(QStringLiteral("Text_francais"))->clear();
    }
    FlexGrid* grid = search->grille01();
    QCOMPARE(grid->Rows(), std::size_t(3));
    grid->setRow(2);  // Amor [2]: marked twice in the Latin pane
    search->grille01_Click();
    frmaff_contexte* viewer = m_forms->affContexteIfLoaded();
    QVERIFY(viewer);

    trigger(viewer);

    std::vector<std::string> expected = {printlayout::kLatinHeading,
                                         "[2] Amor et amorem\r\namo.\r\n",
                                         printlayout::kFrenchHeading};
    expected.insert(expected.end(), french.begin(), french.end());
    QCOMPARE(textsOf(m_platform->printing.last()), expected);
}

void PrintCommandsTest::paneTextKeepsTheFileCharacters_data()
{
    QTest::addColumn<QByteArray>("text");     // Windows-1252, as read from the file
    QTest::addColumn<QByteArray>("printed");  // as the printout gets it

    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QByteArray("a\r\nb\r\n");
    QTest::newRow("lone LF and CR") << QByteArray("a\nb\rc") << QByteArray("a\r\nb\r\nc");
    QTest::newRow("non-breaking space and accents")
        << QByteArray("\xE9t\xE9\xA0:\x9C") << QByteArray("\xE9t\xE9\xA0:\x9C");
    QTest::newRow("tab") << QByteArray("a\tb") << QByteArray("a\tb");
    QTest::newRow("empty") << QByteArray() << QByteArray();
}

void PrintCommandsTest::paneTextKeepsTheFileCharacters()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, printed);

    QTextEdit pane;
    pane.setPlainText(fromCp1252(text.toStdString()));
    QCOMPARE(QByteArray::fromStdString(paneTextCp1252(pane)), printed);
    // The command line lays the same text out the same way.
    QCOMPARE(QByteArray::fromStdString(paneLineBreaks(text.toStdString())), printed);
}

QTEST_MAIN(PrintCommandsTest)
#include "PrintCommandsTest.moc"
