// Veltrano - Quorvex: starts on the splash window, which gives way to the text window.

#include "app/ApplicationIdentity.h"
#include "app/StartCommand.h"
#include "look/FontSubstitutions.h"
#include "app/WindowManager.h"
#include "platform/QtPlatform.h"
#include "system/SystemFiles.h"
#include "windows/SplashScreen.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

// The help and the version go out whole or the program says it could not write them.
int print(std::FILE* stream, const QString& text, int code)
{
    const QByteArray bytes = text.toUtf8();
    if (std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream) != std::size_t(bytes.size())
        || std::fflush(stream) != 0) {
        std::fputs("quorvex : impossible d'écrire sur la sortie.\n", stderr);
        return 1;
    }
    return code;
}

// Qt's messages while the application object is made are held back: when the platform
// cannot start (no display, typically) Qt ends on a fatal message and an abort, and the
// user gets one French line and exit 1 instead. Once the platform is up they go out.
QtMessageHandler g_qtHandler = nullptr;
QStringList g_heldMessages;

void holdWhileStarting(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtFatalMsg) {
        std::fputs("quorvex : ce programme a besoin d'un affichage graphique ; "
                   "en ligne de commande, utilisez quorvex-cli.\n", stderr);
        std::fflush(stderr);
        std::_Exit(1);
    }
    g_heldMessages << qFormatLogMessage(type, context, message);
}

void releaseHeldMessages()
{
    qInstallMessageHandler(g_qtHandler);
    for (const QString& message : std::as_const(g_heldMessages))
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    g_heldMessages.clear();
}

} // namespace

int main(int argc, char* argv[])
{
    // Read before QApplication exists: the help, the version and a refused line need no
    // display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QFile::decodeName(argv[i]);
    const quorvex::StartCommand command = quorvex::readStartCommand(arguments, QDir::currentPath());
    switch (command.kind) {
    case quorvex::StartCommand::Kind::Help:
        return print(stdout, quorvex::startHelpText(), 0);
    case quorvex::StartCommand::Kind::Version:
        return print(stdout, quorvex::startVersionText(), 0);
    case quorvex::StartCommand::Kind::Refused:
        return print(stderr, command.refusal, quorvex::kStartUsageError);
    case quorvex::StartCommand::Kind::Windows:
        break;
    }
    // Qt sees its own options only.
    std::vector<char*> qtArgv;
    for (const int i : command.qtArguments)
        qtArgv.push_back(argv[i]);
    qtArgv.push_back(nullptr);
    int qtArgc = int(qtArgv.size()) - 1;

    // Interrupted during a save: the temporary file goes, the old file stays.
    quorvex::sys::removeTemporaryFilesOnTermination();
    g_qtHandler = qInstallMessageHandler(holdWhileStarting);
    QApplication app(qtArgc, qtArgv.data());
    releaseHeldMessages();
    quorvex::setApplicationIdentity();
    quorvex::installFontSubstitutions();
    // The program speaks French: so do the buttons of its dialogs and message boxes.
    QTranslator qtFrench;
    if (qtFrench.load(QStringLiteral("qtbase_fr"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtFrench);
    quorvex::QtPlatform platform;
    quorvex::WindowManager windows(platform.platform());
    windows.setStartingTexts({command.latinPath, command.frenchPath});
    QObject::connect(&windows, &quorvex::WindowManager::quitRequested, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    quorvex::WindowManager::present(windows.splashScreen());
    return app.exec();
}
