// The About box through the platform doubles: how it opens and closes, the one box shared
// by the windows, and the search for the system-information tool over a scripted registry.

#include "concordance/Cp1252.h"
#include "shell/Forms.h"
#include "shell/frmAbout.h"
#include "shell/frmtexte.h"
#include "support/TestPlatform.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

using namespace quorvex;

namespace {

const std::string kInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string kLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const std::string kFolder = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo";
const std::string kTool = kFolder + "\\MSINFO32.EXE";
const std::string kPath = "C:\\Outils r\xE9sum\xE9\\msinfo32.exe";

QString q(const std::string& cp1252) { return QString::fromUtf8(cp1252ToUtf8(cp1252)); }

// Scripts the doubles; folder is an empty temporary folder.
using Setup = std::function<void(TestPlatform&, const std::string& folder)>;

void toolInItsFolder(TestPlatform& p, const std::string&)
{
    p.registry.setText(kLocationKey, "MSINFO", kFolder);
    p.files.forcedExisting << q(kTool);
}

enum class Way { Escape, EnterOnOk, ClickOk, CloseBox, EnterOnSysInfo };

} // namespace

Q_DECLARE_METATYPE(Setup)
Q_DECLARE_METATYPE(Way)

class frmAboutTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void ways_data();
    void ways();
    void oneBoxForAllWindows();
    void systemInformation_data();
    void systemInformation();
    void GetKeyValue_data();
    void GetKeyValue();

private:
    QPushButton* button(const char* name) const
    {
        return m_about->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    void expectUnavailable()
    {
        Message message;  // the application's title, OK only, no icon
        message.text = QStringLiteral("Les informations système ne sont pas disponibles actuellement");
        QVERIFY(m_platform->messages.expectNext(message));
    }

    std::unique_ptr<TestPlatform> m_platform;
    std::unique_ptr<Forms> m_forms;
    QPointer<frmAbout> m_about;
};

void frmAboutTest::init()
{
    m_platform = std::make_unique<TestPlatform>();
    m_forms = std::make_unique<Forms>(m_platform->platform());
    m_about = m_forms->about();
    QVERIFY(m_about);
}

void frmAboutTest::cleanup()
{
    QVERIFY(m_platform->messages.noneLeft());
    m_forms.reset();
    m_platform.reset();
}

void frmAboutTest::ways_data()
{
    QTest::addColumn<Way>("way");
    QTest::addColumn<bool>("closes");

    QTest::newRow("Esc") << Way::Escape << true;
    QTest::newRow("Enter on OK") << Way::EnterOnOk << true;
    QTest::newRow("click on OK") << Way::ClickOk << true;
    QTest::newRow("close box") << Way::CloseBox << true;
    QTest::newRow("Enter on Infos systeme") << Way::EnterOnSysInfo << false;
}

void frmAboutTest::ways()
{
    QFETCH(Way, way);
    QFETCH(bool, closes);

    Forms::present(m_about);
    QVERIFY(QTest::qWaitForWindowActive(m_about));
    QCOMPARE(m_about->windowTitle(), QStringLiteral("Veltrano - A propos de "));
    // OK holds the focus on opening and leads the tab order.
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(button("cmdOK")));
    switch (way) {
    case Way::Escape: QTest::keyClick(button("cmdOK"), Qt::Key_Escape); break;
    case Way::EnterOnOk: QTest::keyClick(button("cmdOK"), Qt::Key_Return); break;
    case Way::ClickOk: QTest::mouseClick(button("cmdOK"), Qt::LeftButton); break;
    case Way::CloseBox: m_about->close(); break;
    case Way::EnterOnSysInfo:
        QTest::keyClick(button("cmdOK"), Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(button("cmdSysInfo")));
        QTest::keyClick(button("cmdSysInfo"), Qt::Key_Return);
        break;
    }

    if (closes) {
        QVERIFY(!m_forms->aboutIfLoaded());
        QTRY_VERIFY(m_about.isNull());
    } else {
        expectUnavailable();
        QVERIFY(m_forms->aboutIfLoaded() == m_about && m_about->isVisible());
    }
}

void frmAboutTest::oneBoxForAllWindows()
{
    frmtexte* texte = m_forms->texte();
    QVERIFY(texte);
    auto* about = texte->findChild<QAction*>(QStringLiteral("about"));
    QVERIFY(about);
    about->trigger();
    QCOMPARE(m_forms->aboutIfLoaded(), m_about.data());
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(m_about));

    // With the text window in front, choosing the item again brings the same box forward.
    Forms::present(texte);
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(texte));
    about->trigger();
    QCOMPARE(m_forms->aboutIfLoaded(), m_about.data());
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(m_about));
    int boxes = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        boxes += qobject_cast<frmAbout*>(window) && window->isVisible();
    QCOMPARE(boxes, 1);
}

void frmAboutTest::systemInformation_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QStringList>("requested");  // the starts asked of the launcher
    QTest::addColumn<int>("keysOpened");
    QTest::addColumn<bool>("message");

    QTest::newRow("PATH present, second key not read")
        << Setup([](TestPlatform& p, const std::string& f) {
               p.registry.setText(kInfoKey, "PATH", kPath);
               toolInItsFolder(p, f);
           })
        << QStringList{q(kPath)} << 1 << false;
    QTest::newRow("PATH of another type: empty path fails to start")
        << Setup([](TestPlatform& p, const std::string& f) {
               p.registry.setValue(kInfoKey, "PATH", {3, std::string("\x01\x02", 2)});
               toolInItsFolder(p, f);
           })
        << QStringList{QString()} << 1 << true;
    QTest::newRow("PATH present, launch fails")
        << Setup([](TestPlatform& p, const std::string& f) {
               p.registry.setText(kInfoKey, "PATH", kPath);
               p.launcher.fails = true;
               toolInItsFolder(p, f);
           })
        << QStringList{q(kPath)} << 1 << true;
    QTest::newRow("PATH key refused")
        << Setup([](TestPlatform& p, const std::string& f) {
               p.registry.setText(kInfoKey, "PATH", kPath);
               p.registry.failOpen(kInfoKey, kRegAccessDenied);
               toolInItsFolder(p, f);
           })
        << QStringList{q(kTool)} << 2 << false;
    QTest::newRow("only the second key, MSINFO32.EXE missing")
        << Setup([](TestPlatform& p, const std::string&) {
               p.registry.setText(kLocationKey, "MSINFO", kFolder);
               p.files.forcedMissing << q(kTool);
           })
        << QStringList{} << 2 << true;
    QTest::newRow("only the second key, MSINFO32.EXE a folder")
        << Setup([](TestPlatform& p, const std::string& folder) {
               // Joined with a backslash, the name is one entry of the folder here.
               p.registry.setText(kLocationKey, "MSINFO", folder + "/MSInfo");
               QVERIFY(QDir().mkpath(QString::fromStdString(folder + "/MSInfo\\MSINFO32.EXE")));
           })
        << QStringList{} << 2 << true;
    QTest::newRow("no key at all") << Setup([](TestPlatform&, const std::string&) {})
                                   << QStringList{} << 2 << true;
}

void frmAboutTest::systemInformation()
{
    QFETCH(Setup, setup);
    QFETCH(QStringList, requested);
    QFETCH(int, keysOpened);
    QFETCH(bool, message);

    QTemporaryDir dir;
    const Utf8Conversion folder = utf8ToCp1252(dir.path().toStdString());
    QVERIFY(dir.isValid() && folder.ok);
    setup(*m_platform, folder.bytes);
    Forms::present(m_about);
    QTest::mouseClick(button("cmdSysInfo"), Qt::LeftButton);

    QCOMPARE(m_platform->launcher.requested, requested);
    const FakeRegistry& registry = m_platform->registry;
    QCOMPARE(int(registry.opens.size()), keysOpened);
    QCOMPARE(registry.opens.front().keyName, kInfoKey);
    QCOMPARE(registry.opens.back().keyName, keysOpened == 1 ? kInfoKey : kLocationKey);
    for (const FakeRegistry::OpenCall& open : registry.opens)
        QVERIFY(open.root == kHkeyLocalMachine && open.access == kKeyAllAccess);
    QCOMPARE(registry.openHandles(), std::size_t{0});
    if (message)
        expectUnavailable();
    QVERIFY(m_forms->aboutIfLoaded() == m_about && m_about->isVisible());
}

void frmAboutTest::GetKeyValue_data()
{
    QTest::addColumn<bool>("keyExists");
    QTest::addColumn<uint>("type");  // 0: no such value
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("read");
    QTest::addColumn<QByteArray>("keyVal");  // "avant" before the call

    const auto b = [](const char* data, int size) { return QByteArray(data, size); };
    const QByteArray before("avant");
    QTest::newRow("text with its NUL") << true << 1u << b("C:\\a\0", 5) << true << b("C:\\a", 4);
    QTest::newRow("text without NUL") << true << 1u << b("C:\\a", 4) << true << b("C:\\a", 4);
    QTest::newRow("two NULs, one kept") << true << 1u << b("ab\0\0", 4) << true << b("ab\0", 3);
    QTest::newRow("no bytes") << true << 1u << QByteArray() << true << QByteArray();
    QTest::newRow("1024 bytes, no NUL") << true << 1u << QByteArray(1024, 'x') << true
                                        << QByteArray(1024, 'x');
    QTest::newRow("number") << true << 4u << b("\x4D\x3C\x2B\x1A", 4) << true << b("&h1A2B3C4D", 10);
    QTest::newRow("number, high byte zero") << true << 4u << b("\x10\0\0\0", 4) << true
                                            << b("&h10", 4);
    QTest::newRow("other type") << true << 2u << b("%Windir%\0", 9) << true << before;
    QTest::newRow("longer than the buffer") << true << 1u << QByteArray(1025, 'x') << false
                                            << QByteArray();
    QTest::newRow("no value") << true << 0u << QByteArray() << false << QByteArray();
    QTest::newRow("no key") << false << 0u << QByteArray() << false << QByteArray();
}

void frmAboutTest::GetKeyValue()
{
    QFETCH(bool, keyExists);
    QFETCH(uint, type);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, read);
    QFETCH(QByteArray, keyVal);

    std::int32_t root = kHkeyLocalMachine;
    std::string keyName = "SOFTWARE\\Quorvex";
    std::string valueName = "Valeur";
    std::string value = "avant";
    if (type != 0)
        m_platform->registry.setValue(keyName, valueName, {type, bytes.toStdString()});
    else if (keyExists)
        m_platform->registry.addKey(keyName);

    QCOMPARE(m_about->GetKeyValue(root, keyName, valueName, value), read);
    QCOMPARE(QByteArray::fromStdString(value), keyVal);
    const FakeRegistry& registry = m_platform->registry;
    QCOMPARE(registry.opens.front().access, kKeyAllAccess);
    if (keyExists)
        QVERIFY(registry.bufferSizes == std::vector<std::uint32_t>{1024} && registry.allBufferBytesNul);
    QCOMPARE(registry.openHandles(), std::size_t{0});
}

QTEST_MAIN(frmAboutTest)
#include "frmAboutTest.moc"
