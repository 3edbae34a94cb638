// The About box through the platform doubles: how it opens and closes, the one box shared
// by the windows, and the search for the system-information tool: over a scripted registry
// (the Windows way) and on a PATH (elsewhere).

#include "text/Cp1252.h"
#include "platform/PathSystemInformation.h"
#include "platform/RegistrySystemInformation.h"
#include "support/FakeRegistry.h"
#include "windows/AboutBox.h"
#include "support/WindowDriver.h"

#include <QApplication>
#include <QPointer>

using namespace quorvex;

namespace {

const std::string kInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string kLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const std::string kFolder = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo";
const std::string kTool = kFolder + "\\MSINFO32.EXE";
const std::string kPath = "C:\\Outils r\xE9sum\xE9\\msinfo32.exe";

QString q(const std::string& cp1252) { return QString::fromUtf8(cp1252ToUtf8(cp1252)); }

} // namespace

class AboutBoxTest : public WindowTest {
    Q_OBJECT

private slots:
    void init();
    void ways_data();
    void ways();
    void oneBoxForAllWindows();
    void systemInformation_data();
    void systemInformation();
    void readKeyValue_data();
    void readKeyValue();
    void toolOnThePath_data();
    void toolOnThePath();

private:
    bool expectUnavailable()
    {
        return d->doubles.messages.expectNext(
            okBox(QStringLiteral("Les informations système ne sont pas disponibles actuellement")));
    }

    QPointer<AboutBox> m_about;
};

void AboutBoxTest::init()
{
    WindowTest::init();
    m_about = d->windows.aboutBox();
    WindowManager::present(m_about);
}

void AboutBoxTest::ways_data()
{
    QTest::addColumn<bool>("toSysInfo");  // Tab to "Infos système" first
    QTest::addColumn<int>("key");
    QTest::newRow("Esc") << false << int(Qt::Key_Escape);
    QTest::newRow("Enter on OK") << false << int(Qt::Key_Return);
    QTest::newRow("Enter on Infos systeme") << true << int(Qt::Key_Return);
}

void AboutBoxTest::ways()
{
    QFETCH(bool, toSysInfo);
    QFETCH(int, key);
    QVERIFY(QTest::qWaitForWindowActive(m_about));
    QCOMPARE(m_about->windowTitle(), QStringLiteral("Veltrano - A propos de "));
    // OK holds the focus on opening and leads the tab order.
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(child(m_about, "cmdOK")));
    if (toSysInfo) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(child(m_about, "cmdSysInfo")));
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    if (toSysInfo) {
        QVERIFY(expectUnavailable());
        QVERIFY(d->windows.aboutBoxIfLoaded() == m_about && m_about->isVisible());
    } else {
        QVERIFY(!d->windows.aboutBoxIfLoaded());
        QTRY_VERIFY(m_about.isNull());
    }
}

void AboutBoxTest::oneBoxForAllWindows()
{
    // With the text window in front, choosing the item brings the same box forward.
    TextWindow* texte = d->windows.textWindow();
    WindowManager::present(texte);
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(texte));
    trigger(texte, "about");
    QCOMPARE(d->windows.aboutBoxIfLoaded(), m_about.data());
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(m_about));
    int boxes = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        boxes += qobject_cast<AboutBox*>(window) && window->isVisible();
    QCOMPARE(boxes, 1);
}

void AboutBoxTest::systemInformation_data()
{
    QTest::addColumn<QString>("pathValue");  // "" none, "text", or "binary"
    QTest::addColumn<bool>("pathKeyRefused");
    QTest::addColumn<QString>("tool");       // "" no second key; "file", "missing" or "folder"
    QTest::addColumn<bool>("launchFails");
    QTest::addColumn<QStringList>("requested");  // the starts asked of the launcher
    QTest::addColumn<int>("keysOpened");
    QTest::addColumn<bool>("message");
    QTest::newRow("PATH present, second key not read") << "text" << false << "file" << false
                                                       << QStringList{q(kPath)} << 1 << false;
    QTest::newRow("PATH of another type: nothing to start")
        << "binary" << false << "file" << false << QStringList{} << 1 << true;
    QTest::newRow("PATH present, launch fails") << "text" << false << "file" << true << QStringList{q(kPath)}
                                                << 1 << true;
    QTest::newRow("PATH key refused") << "text" << true << "file" << false << QStringList{q(kTool)} << 2 << false;
    QTest::newRow("only the second key, MSINFO32.EXE missing") << "" << false << "missing" << false
                                                               << QStringList{} << 2 << true;
    QTest::newRow("only the second key, MSINFO32.EXE a folder") << "" << false << "folder" << false
                                                                << QStringList{} << 2 << true;
    QTest::newRow("no key at all") << "" << false << "" << false << QStringList{} << 2 << true;
}

void AboutBoxTest::systemInformation()
{
    QFETCH(QString, pathValue);
    QFETCH(bool, pathKeyRefused);
    QFETCH(QString, tool);
    QFETCH(bool, launchFails);
    QFETCH(QStringList, requested);
    QFETCH(int, keysOpened);
    QFETCH(bool, message);
    FakeRegistry registry;
    if (pathValue == QLatin1String("text"))
        registry.setText(kInfoKey, "PATH", kPath);
    else if (pathValue == QLatin1String("binary"))
        registry.setValue(kInfoKey, "PATH", {3, std::string("\x01\x02", 2)});
    if (pathKeyRefused)
        registry.failOpen(kInfoKey, kRegAccessDenied);
    if (tool == QLatin1String("folder")) {
        // Joined with a backslash, the name is one entry of a real folder here.
        const std::string folder = utf8ToCp1252(d->dir.path().toStdString()).bytes + "/MSInfo";
        registry.setText(kLocationKey, "MSINFO", folder);
        QVERIFY(QDir().mkpath(q(folder + "\\MSINFO32.EXE")));
    } else if (!tool.isEmpty()) {
        registry.setText(kLocationKey, "MSINFO", kFolder);
        (tool == QLatin1String("file") ? d->doubles.files.forcedExisting : d->doubles.files.forcedMissing) << q(kTool);
    }
    d->doubles.launcher.fails = launchFails;
    RegistrySystemInformation lookup(registry, d->doubles.files);
    d->doubles.systemInformation.path = lookup.toolPath();
    click(m_about, "cmdSysInfo");
    QCOMPARE(d->doubles.systemInformation.asked, 1);

    QCOMPARE(d->doubles.launcher.requested, requested);
    QCOMPARE(int(registry.opens.size()), keysOpened);
    QCOMPARE(registry.opens.front().keyName, kInfoKey);
    QCOMPARE(registry.opens.back().keyName, keysOpened == 1 ? kInfoKey : kLocationKey);
    for (const FakeRegistry::OpenCall& open : registry.opens)
        QVERIFY(open.root == kHkeyLocalMachine && open.access == kKeyAllAccess);
    QCOMPARE(registry.openHandles(), std::size_t{0});
    if (message)
        QVERIFY(expectUnavailable());
    QVERIFY(d->windows.aboutBoxIfLoaded() == m_about && m_about->isVisible());
}

void AboutBoxTest::readKeyValue_data()
{
    QTest::addColumn<bool>("keyExists");
    QTest::addColumn<uint>("type");  // 0: no such value
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("read");
    QTest::addColumn<QByteArray>("keyVal");  // "avant" before the call
    const auto b = [](const char* data, int size) { return QByteArray(data, size); };
    QTest::newRow("text with its NUL") << true << 1u << b("C:\\a\0", 5) << true << b("C:\\a", 4);
    QTest::newRow("text without NUL") << true << 1u << b("C:\\a", 4) << true << b("C:\\a", 4);
    QTest::newRow("two NULs, one kept") << true << 1u << b("ab\0\0", 4) << true << b("ab\0", 3);
    QTest::newRow("1024 bytes, no NUL") << true << 1u << QByteArray(1024, 'x') << true << QByteArray(1024, 'x');
    QTest::newRow("longer than the buffer") << true << 1u << QByteArray(1025, 'x') << false << QByteArray();
    QTest::newRow("number") << true << 4u << b("\x4D\x3C\x2B\x1A", 4) << true << b("&h1A2B3C4D", 10);
    QTest::newRow("number, high byte zero") << true << 4u << b("\x10\0\0\0", 4) << true << b("&h10", 4);
    QTest::newRow("other type") << true << 2u << b("%Windir%\0", 9) << true << b("avant", 5);
    QTest::newRow("no value") << true << 0u << QByteArray() << false << QByteArray();
    QTest::newRow("no key") << false << 0u << QByteArray() << false << QByteArray();
}

void AboutBoxTest::readKeyValue()
{
    QFETCH(bool, keyExists);
    QFETCH(uint, type);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, read);
    QFETCH(QByteArray, keyVal);
    const std::string keyName = "SOFTWARE\\Quorvex";
    const std::string valueName = "Valeur";
    std::string value = "avant";
    FakeRegistry registry;
    RegistrySystemInformation lookup(registry, d->doubles.files);
    if (type != 0)
        registry.setValue(keyName, valueName, {type, bytes.toStdString()});
    else if (keyExists)
        registry.addKey(keyName);

    QCOMPARE(lookup.readKeyValue(kHkeyLocalMachine, keyName, valueName, value), read);
    QCOMPARE(QByteArray::fromStdString(value), keyVal);
    if (keyExists)
        QVERIFY(registry.bufferSizes == std::vector<std::uint32_t>{1024} && registry.allBufferBytesNul);
    QCOMPARE(registry.openHandles(), std::size_t{0});
}

void AboutBoxTest::toolOnThePath_data()
{
    QTest::addColumn<QStringList>("programs");  // made executable in the first folder
    QTest::addColumn<QStringList>("others");    // in the second folder
    QTest::addColumn<QString>("found");
    QTest::newRow("none") << QStringList{} << QStringList{} << QString();
    QTest::newRow("hardinfo first") << QStringList{"gnome-system-monitor", "hardinfo"}
                                    << QStringList{"kinfocenter"} << "hardinfo";
    QTest::newRow("kinfocenter before gnome-system-monitor")
        << QStringList{"gnome-system-monitor"} << QStringList{"kinfocenter"} << "kinfocenter";
    QTest::newRow("only gnome-system-monitor") << QStringList{"gnome-system-monitor"} << QStringList{}
                                               << "gnome-system-monitor";
    QTest::newRow("a file that cannot run is no tool") << QStringList{} << QStringList{"-hardinfo"}
                                                      << QString();
}

void AboutBoxTest::toolOnThePath()
{
    QFETCH(QStringList, programs);
    QFETCH(QStringList, others);
    QFETCH(QString, found);
    const QString first = d->dir.filePath(QStringLiteral("bin1"));
    const QString second = d->dir.filePath(QStringLiteral("bin2"));
    QVERIFY(QDir().mkpath(first) && QDir().mkpath(second));
    const auto place = [](const QString& folder, QString name) {
        // A leading "-" writes the file without the right to run it.
        const bool runnable = !name.startsWith(QLatin1Char('-'));
        QFile file(folder + QLatin1Char('/') + name.remove(0, runnable ? 0 : 1));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n");
        file.setPermissions(runnable ? QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                     : QFile::ReadOwner | QFile::WriteOwner);
    };
    for (const QString& name : programs)
        place(first, name);
    for (const QString& name : others)
        place(second, name);
    PathSystemInformation lookup({first, second});
    const QString tool = lookup.toolPath();
    QCOMPARE(QFileInfo(tool).fileName(), found);
    if (!found.isEmpty())
        QVERIFY(QFileInfo(tool).isAbsolute());
}

QTEST_MAIN(AboutBoxTest)
#include "AboutBoxTest.moc"
