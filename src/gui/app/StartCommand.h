#pragma once
// The window program's command line: quorvex [LATIN [FRENCH]], --help, --version, and Qt's
// own options, which go on to QApplication. Read before any window object exists, so the
// help, the version and a refused line need no display.

#include <QString>
#include <QStringList>

namespace quorvex {

struct StartCommand {
    enum class Kind { Windows, Help, Version, Refused };
    Kind kind = Kind::Windows;
    QString latinPath;       // absolute; empty when not given
    QString frenchPath;      // absolute; empty when not given
    QList<int> qtArguments;  // indices into the arguments of what Qt reads, the program's name first
    QString refusal;         // French, for standard error, when refused
};

// `arguments` as the program got them, its own name first; relative paths are taken from
// `currentFolder`.
StartCommand readStartCommand(const QStringList& arguments, const QString& currentFolder);

// UTF-8, French, for standard output.
QString startHelpText();
QString startVersionText();  // last, the Latin lexicon in use

constexpr int kStartUsageError = 2;

} // namespace quorvex
