// Veltrano - Quorvex: starts on the splash window, which gives way to the text window.

#include "shell/Forms.h"
#include "shell/QtPlatform.h"
#include "shell/frmSplash.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    quorvex::QtPlatform platform;
    quorvex::Forms forms(platform.platform());
    QObject::connect(&forms, &quorvex::Forms::quitRequested, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    quorvex::Forms::present(forms.splash());
    return app.exec();
}
