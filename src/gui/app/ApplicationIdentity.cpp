#include "app/ApplicationIdentity.h"

#include "look/Pictures.h"

#include <QApplication>

namespace quorvex {

void setApplicationIdentity()
{
    QApplication::setApplicationName(QStringLiteral("Veltrano - Quorvex"));
    QApplication::setWindowIcon(applicationIcon());
    // The installed menu entry org.veltrano.Quorvex.desktop and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.veltrano.Quorvex"));
}

} // namespace quorvex
