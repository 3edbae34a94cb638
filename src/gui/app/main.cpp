// Veltrano - Quorvex: starts on the splash window, which gives way to the text window.

#include "look/FontSubstitutions.h"
#include "app/WindowManager.h"
#include "platform/QtPlatform.h"
#include "look/Pictures.h"
#include "system/SystemFiles.h"
#include "windows/SplashScreen.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char* argv[])
{
    // Interrupted during a save: the temporary file goes, the old file stays.
    quorvex::sys::removeTemporaryFilesOnTermination();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Veltrano - Quorvex"));
    QApplication::setWindowIcon(quorvex::applicationIcon());
    // Ties the windows to the installed menu entry org.veltrano.Quorvex.desktop and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.veltrano.Quorvex"));
    quorvex::installFontSubstitutions();
    // The program speaks French: so do the buttons of its dialogs and message boxes.
    QTranslator qtFrench;
    if (qtFrench.load(QStringLiteral("qtbase_fr"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtFrench);
    quorvex::QtPlatform platform;
    quorvex::WindowManager windows(platform.platform());
    QObject::connect(&windows, &quorvex::WindowManager::quitRequested, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    quorvex::WindowManager::present(windows.splashScreen());
    return app.exec();
}
