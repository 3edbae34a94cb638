#include "windows/WindowDirectory.h"

#include <QWidget>

namespace quorvex {

void WindowDirectory::present(QWidget* window)
{
    if (!window)
        return;
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace quorvex
