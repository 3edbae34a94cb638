// The real busy pointer: it shows on the window at once, nests, and delivers none of the
// events waiting, which would let a click or a close act in the middle of a command.

#include "platform/QtBusyPointer.h"

#include <QCloseEvent>
#include <QWidget>
#include <QtTest>

using namespace quorvex;

namespace {

// Counts the close requests it is sent, and refuses them.
class Window : public QWidget {
public:
    int closes = 0;

protected:
    void closeEvent(QCloseEvent* event) override
    {
        ++closes;
        event->ignore();
    }
};

} // namespace

class QtBusyPointerTest : public QObject {
    Q_OBJECT
private slots:
    void switchesWithoutDeliveringWaitingEvents();
};

void QtBusyPointerTest::switchesWithoutDeliveringWaitingEvents()
{
    Window window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QtBusyPointer pointer;
    QCoreApplication::postEvent(&window, new QCloseEvent);
    pointer.setBusy(&window, true);
    pointer.setBusy(&window, true);
    QCOMPARE(window.cursor().shape(), Qt::WaitCursor);
    pointer.setBusy(&window, false);
    QCOMPARE(window.cursor().shape(), Qt::WaitCursor);  // still inside the outer command
    QCOMPARE(window.closes, 0);
    pointer.setBusy(&window, false);
    QCOMPARE(window.cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(window.closes, 0);
    // The request waits for the event loop, where it belongs.
    QTRY_COMPARE(window.closes, 1);
}

QTEST_MAIN(QtBusyPointerTest)
#include "QtBusyPointerTest.moc"
