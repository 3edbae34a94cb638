#include "app/StartCommand.h"

#include "lexicon/LexiconFolder.h"

#include <QDir>

namespace quorvex {

namespace {

// What QGuiApplication and QApplication read from the command line (with one dash or two).
const QStringList kQtOptionsWithValue = {
    QStringLiteral("platform"),   QStringLiteral("platformpluginpath"), QStringLiteral("platformtheme"),
    QStringLiteral("plugin"),     QStringLiteral("qwindowgeometry"),    QStringLiteral("qwindowicon"),
    QStringLiteral("qwindowtitle"), QStringLiteral("session"),          QStringLiteral("display"),
    QStringLiteral("geometry"),   QStringLiteral("style"),              QStringLiteral("stylesheet"),
    QStringLiteral("name"),       QStringLiteral("title"),              QStringLiteral("icon"),
};
const QStringList kQtFlags = {
    QStringLiteral("reverse"), QStringLiteral("nograb"), QStringLiteral("dograb"),
    QStringLiteral("widgetcount"), QStringLiteral("sync"), QStringLiteral("qmljsdebugger"),
};

StartCommand refused(const QString& why)
{
    StartCommand c;
    c.kind = StartCommand::Kind::Refused;
    c.refusal = QStringLiteral("quorvex : ") + why
        + QStringLiteral("\nUsage : quorvex [LATIN [FRANÇAIS]] ; quorvex --help pour l'aide.\n");
    return c;
}

} // namespace

StartCommand readStartCommand(const QStringList& arguments, const QString& currentFolder)
{
    StartCommand command;
    command.qtArguments.append(0);
    QStringList files;
    bool optionsEnded = false;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (optionsEnded || arg.size() < 2 || !arg.startsWith(QLatin1Char('-'))) {
            files.append(arg);
            continue;
        }
        if (arg == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        // The first of --help and --version wins, whatever else the line holds.
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            command.kind = StartCommand::Kind::Help;
            return command;
        }
        if (arg == QLatin1String("--version")) {
            command.kind = StartCommand::Kind::Version;
            return command;
        }
        QString name = arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1);
        const bool valueJoined = name.contains(QLatin1Char('='));
        name = name.section(QLatin1Char('='), 0, 0);
        if (kQtFlags.contains(name) || (valueJoined && kQtOptionsWithValue.contains(name))) {
            command.qtArguments.append(i);
        } else if (kQtOptionsWithValue.contains(name)) {
            if (i + 1 >= arguments.size())
                return refused(QStringLiteral("l'option %1 attend une valeur.").arg(arg));
            command.qtArguments << i << i + 1;
            ++i;
        } else {
            return refused(QStringLiteral("option inconnue : « %1 ».").arg(arg));
        }
    }
    if (files.size() > 2)
        return refused(QStringLiteral("deux fichiers au plus, le texte latin puis le texte français "
                                      "(« %1 » est de trop).").arg(files[2]));
    // Made absolute once: the dialogs and the session then never depend on the folder the
    // program was started in.
    const QDir folder(currentFolder);
    const auto absolute = [&](const QString& path) {
        return path.isEmpty() ? QString() : QDir::cleanPath(folder.absoluteFilePath(path));
    };
    if (files.size() > 0)
        command.latinPath = absolute(files[0]);
    if (files.size() > 1)
        command.frenchPath = absolute(files[1]);
    return command;
}

QString startHelpText()
{
    return QStringLiteral(
        "Usage : quorvex [LATIN [FRANÇAIS]]\n"
        "        quorvex --help | --version\n"
        "\n"
        "Ouvre le concordancier Veltrano - Quorvex. LATIN et FRANÇAIS, s'ils sont donnés,\n"
        "remplissent les cases du texte latin et du texte français de la fenêtre des textes,\n"
        "chacun vérifié comme par « Parcourir... ».\n"
        "\n"
        "Options :\n"
        "  --help      afficher cette aide\n"
        "  --version   afficher la version et la licence\n"
        "  --          fin des options : un nom de fichier qui suit peut commencer par « - »\n"
        "Les options de Qt (-platform NOM, -style NOM...) sont acceptées.\n"
        "\n"
        "Codes de sortie : 0 réussite, 2 erreur dans la ligne de commande.\n");
}

QString startVersionText()
{
    return QStringLiteral("quorvex (Veltrano - Quorvex) " QUORVEX_VERSION "\n"
                          "Copyright © 2026 les auteurs de Veltrano - Quorvex.\n"
                          "Licence GPL-3.0-or-later : GNU GPL version 3 ou ultérieure "
                          "<https://www.gnu.org/licenses/gpl-3.0.html>.\n"
                          "Ce programme est un logiciel libre : vous pouvez le redistribuer et le modifier.\n"
                          "Il n'y a AUCUNE GARANTIE, dans les limites permises par la loi.\n")
        + QString::fromStdString(
            lexicon::describeLexiconInUse(lexicon::lookUpLexicon(lexicon::lexiconPlacesOfThisProgram())))
        + QLatin1Char('\n');
}

} // namespace quorvex
