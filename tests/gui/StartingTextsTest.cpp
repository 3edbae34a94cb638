// The texts named on the command line: when the splash gives way, the text window holds
// them, each checked as a browse command checks its file, and behaves as if they had been
// browsed for; the desktop entry names the windows as Qt names them.

#include "app/ApplicationIdentity.h"
#include "windows/SplashScreen.h"
#include "support/WindowDriver.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QTimer>

using namespace quorvex;

class StartingTextsTest : public WindowTest {
    Q_OBJECT
private slots:
    void boxesHoldTheCheckedTexts_data();
    void boxesHoldTheCheckedTexts();
    void handedOverOnce();
    void desktopEntryMatchesTheWindows();

private:
    // The splash shown, then giving way on its timer.
    TextWindow* splashGivesWay();
};

TextWindow* StartingTextsTest::splashGivesWay()
{
    SplashScreen* splash = d->windows.splashScreen();
    WindowManager::present(splash);
    if (!QTest::qWaitForWindowExposed(splash))
        return nullptr;
    QMetaObject::invokeMethod(child<QTimer>(splash, "Timer1"), "timeout");
    return d->windows.textWindowIfLoaded();
}

void StartingTextsTest::boxesHoldTheCheckedTexts_data()
{
    QTest::addColumn<QString>("latin");   // a name in the test folder; "" for none
    QTest::addColumn<QString>("french");
    QTest::addColumn<QStringList>("refused");  // the messages, in order: a part of each
    QTest::addColumn<bool>("latinHeld");
    QTest::addColumn<bool>("frenchHeld");
    QTest::newRow("both readable") << "latin.txt" << "français.txt" << QStringList{} << true << true;
    QTest::newRow("Latin only") << "latin.txt" << "" << QStringList{} << true << false;
    QTest::newRow("Latin missing") << "absent.txt" << "français.txt"
                                   << QStringList{"absent.txt » est introuvable"} << false << true;
    QTest::newRow("French a folder") << "latin.txt" << "dossier"
                                     << QStringList{"dossier » est un dossier"} << true << false;
    QTest::newRow("both refused") << "dossier" << "absent.txt"
                                  << QStringList{"dossier » est un dossier", "absent.txt » est introuvable"}
                                  << false << false;
}

void StartingTextsTest::boxesHoldTheCheckedTexts()
{
    QFETCH(QString, latin);
    QFETCH(QString, french);
    QFETCH(QStringList, refused);
    QFETCH(bool, latinHeld);
    QFETCH(bool, frenchHeld);
    d->write(QStringLiteral("latin.txt"), "[1] Arma virumque cano");
    d->write(QStringLiteral("français.txt"), "[1] Je chante les armes");
    QVERIFY(QDir(d->dir.path()).mkdir(QStringLiteral("dossier")));
    const auto inFolder = [&](const QString& name) { return name.isEmpty() ? QString() : d->dir.filePath(name); };
    d->windows.setStartingTexts({inFolder(latin), inFolder(french)});

    TextWindow* w = splashGivesWay();
    QVERIFY(w && w->isVisible());
    for (const QString& part : refused) {
        const ShownMessage shown = d->doubles.messages.shown().value(0);
        QVERIFY(d->doubles.messages.expectNextNaming(part));
        // Over the text window, under the hourglass, as after a browse.
        QVERIFY(shown.parent == w && shown.pointerBusy);
    }
    QCOMPARE(child<QLineEdit>(w, "Text_latin")->text(), latinHeld ? inFolder(latin) : QString());
    QCOMPARE(child<QLineEdit>(w, "Text_francais")->text(), frenchHeld ? inFolder(french) : QString());
    QCOMPARE(d->session.latinPath(), latinHeld ? inFolder(latin) : QString());
    QCOMPARE(d->session.frenchPath(), frenchHeld ? inFolder(french) : QString());
    QCOMPARE(child<QAction>(w, "concordance")->isEnabled(), latinHeld);
    QApplication::setActiveWindow(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(child<QLineEdit>(w, "Text_latin")));

    // The open dialog proposes the Latin name, taken or not, as after browsing for it.
    trigger(w, "open_francais");
    QCOMPARE(d->doubles.dialogs.calls.size(), 1);
    QCOMPARE(d->doubles.dialogs.calls.first().proposedName, inFolder(latin));
}

void StartingTextsTest::handedOverOnce()
{
    const QString latin = d->write(QStringLiteral("latin.txt"), "[1] Arma");
    d->windows.setStartingTexts({latin, {}});
    TextWindow* w = splashGivesWay();
    QVERIFY(w);
    QCOMPARE(child<QLineEdit>(w, "Text_latin")->text(), latin);
    // A text window loaded again (after "Quitter" in a test, say) starts empty.
    child<QLineEdit>(w, "Text_latin")->clear();
    w->openStartingTexts();
    QCOMPARE(child<QLineEdit>(w, "Text_latin")->text(), QString());
    QVERIFY(d->doubles.dialogs.calls.isEmpty());
}

// X11 matches StartupWMClass to the windows' class, the application name; Wayland matches
// the entry's file name to the app id, the desktop file name.
void StartingTextsTest::desktopEntryMatchesTheWindows()
{
    setApplicationIdentity();
    const QString path = QStringLiteral(QUORVEX_DESKTOP_ENTRY);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QHash<QString, QString> entry;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n')))
        if (const int eq = line.indexOf(QLatin1Char('=')); eq > 0)
            entry.insert(line.left(eq), line.mid(eq + 1));
    QCOMPARE(entry.value(QStringLiteral("StartupWMClass")), QApplication::applicationName());
    QCOMPARE(QFileInfo(path).completeBaseName(), QGuiApplication::desktopFileName());
    QCOMPARE(entry.value(QStringLiteral("Icon")), QGuiApplication::desktopFileName());
    QCOMPARE(entry.value(QStringLiteral("Exec")), QStringLiteral("quorvex %F"));
    QCOMPARE(entry.value(QStringLiteral("MimeType")), QStringLiteral("text/plain;"));
}

QTEST_MAIN(StartingTextsTest)
#include "StartingTextsTest.moc"
