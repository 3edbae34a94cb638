// The splash window driven as a user would: it gives way to the text window on its timer,
// on a key that produces a character, or on a click on one of its listed controls. Clicks
// go through the window's hit-testing, so front labels get them as they would on screen.
#define QTEST_QPA_MOUSE_HANDLING

#include "look/Twips.h"
#include "windows/SplashScreen.h"
#include "support/WindowDriver.h"

#include <QApplication>
#include <QFrame>
#include <QPointer>
#include <QTimer>

using namespace quorvex;

namespace {

// Counts the text windows shown, and whether a splash was still on screen at that moment.
class ShowWatcher : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && qobject_cast<TextWindow*>(watched)) {
            ++textShows;
            for (QWidget* window : QApplication::topLevelWidgets())
                splashAlongside |= qobject_cast<SplashScreen*>(window) && window->isVisible();
        }
        return false;
    }
    int textShows = 0;
    bool splashAlongside = false;
};

} // namespace

class SplashScreenTest : public WindowTest {
    Q_OBJECT

private slots:
    void init();
    void clicks_data();
    void clicks();
    void keys_data();
    void keys();
    void givesWayByItselfAfter3000ms();

private:
    QTimer* timer() const { return child<QTimer>(m_splash, "Timer1"); }
    void verifyOutcome(bool givesWay);

    std::unique_ptr<ShowWatcher> m_watcher;
    QPointer<SplashScreen> m_splash;
};

void SplashScreenTest::init()
{
    WindowTest::init();
    m_watcher = std::make_unique<ShowWatcher>();
    qApp->installEventFilter(m_watcher.get());  // removed as the watcher goes
    m_splash = d->windows.splashScreen();
    WindowManager::present(m_splash);
    QVERIFY(QTest::qWaitForWindowActive(m_splash));
}

// Either the splash went before exactly one text window came, or nothing changed.
void SplashScreenTest::verifyOutcome(bool givesWay)
{
    if (!givesWay) {
        QVERIFY(m_splash && d->windows.splashScreenIfLoaded() == m_splash);
        QVERIFY(m_splash->isVisible() && timer()->isActive());
        QVERIFY(!d->windows.textWindowIfLoaded());
        return;
    }
    QVERIFY(!d->windows.splashScreenIfLoaded());
    QTRY_VERIFY(m_splash.isNull());
    QVERIFY(d->windows.textWindowIfLoaded() && d->windows.textWindowIfLoaded()->isVisible());
    QCOMPARE(m_watcher->textShows, 1);
    QVERIFY(!m_watcher->splashAlongside);
}

void SplashScreenTest::clicks_data()
{
    QTest::addColumn<QPoint>("at");  // twips, relative to Frame1
    QTest::addColumn<bool>("givesWay");
    QTest::newRow("Frame1 above the logo") << QPoint(600, 300) << true;
    QTest::newRow("imgLogo") << QPoint(1100, 1900) << true;
    QTest::newRow("Image1") << QPoint(6500, 2850) << true;
    QTest::newRow("Label5 over Label1") << QPoint(4400, 800) << true;
    QTest::newRow("Label8 over Label6") << QPoint(3000, 1750) << true;
    QTest::newRow("Label2 over Label7") << QPoint(4400, 2460) << true;
    QTest::newRow("Label3") << QPoint(2500, 3300) << true;
    QTest::newRow("Label4") << QPoint(600, 3720) << true;
    QTest::newRow("Label9 date") << QPoint(4500, 2950) << false;
    QTest::newRow("strip of Label7 right of Label2") << QPoint(5360, 2460) << false;
}

void SplashScreenTest::clicks()
{
    QFETCH(QPoint, at);
    QFETCH(bool, givesWay);
    QTest::mouseClick(child<QFrame>(m_splash, "Frame1"), Qt::LeftButton, Qt::NoModifier,
                      QPoint(twipsToPixels(at.x()), twipsToPixels(at.y())));
    verifyOutcome(givesWay);
    if (!givesWay && !QTest::currentTestFailed()) {
        // An ignored click leaves the timer to end the splash.
        QVERIFY(QMetaObject::invokeMethod(timer(), "timeout"));
        verifyOutcome(true);
    }
}

void SplashScreenTest::keys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("givesWay");
    QTest::newRow("accented letter") << int(Qt::Key_Eacute) << QString::fromUtf8("é") << true;
    QTest::newRow("Enter") << int(Qt::Key_Return) << "\r" << true;
    QTest::newRow("Esc") << int(Qt::Key_Escape) << "\x1b" << true;
    QTest::newRow("arrow") << int(Qt::Key_Left) << "" << false;
    QTest::newRow("Delete") << int(Qt::Key_Delete) << "\x7f" << false;
}

void SplashScreenTest::keys()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(bool, givesWay);
    // The window itself holds the keyboard: none of its controls takes the focus.
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(m_splash));
    QTest::sendKeyEvent(QTest::Press, m_splash, Qt::Key(key), text, Qt::NoModifier);
    verifyOutcome(givesWay);
}

void SplashScreenTest::givesWayByItselfAfter3000ms()
{
    QCOMPARE(timer()->interval(), 3000);
    verifyOutcome(false);
    QTRY_VERIFY_WITH_TIMEOUT(d->windows.textWindowIfLoaded(), 6000);
    verifyOutcome(true);
}

QTEST_MAIN(SplashScreenTest)
#include "SplashScreenTest.moc"
