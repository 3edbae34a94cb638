#include "platform/QtBusyPointer.h"

#include <QGuiApplication>
#include <QWidget>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#endif

namespace quorvex {

namespace {

// The command runs without returning to the event loop: the new pointer is sent to the
// display now. Only sent: delivering the events waiting meanwhile would let a click or a
// close reach a window in the middle of the command.
void sendPendingRequests()
{
#if QT_CONFIG(xcb)
    // Some platforms answer as X11 without a display (offscreen): nothing to send then.
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
        if (xcb_connection_t* display = x11->connection())
            xcb_flush(display);
#endif
}

} // namespace

void QtBusyPointer::setBusy(QWidget* window, bool busy)
{
    if (!window)
        return;
    int& depth = m_depth[window];
    if (busy) {
        if (depth++ == 0)
            window->setCursor(Qt::WaitCursor);
    } else if (depth > 0 && --depth == 0) {
        window->unsetCursor();
        m_depth.remove(window);
    }
    sendPendingRequests();
}

} // namespace quorvex
