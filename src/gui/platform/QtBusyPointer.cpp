#include "platform/QtBusyPointer.h"

#include <QGuiApplication>
#include <QWidget>

namespace quorvex {

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
    // The command runs without returning to the event loop: push the pointer out now.
    QGuiApplication::sync();
}

} // namespace quorvex
