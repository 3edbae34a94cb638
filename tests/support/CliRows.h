#pragma once
// quorvex-cli for the texts of a window test: the --list rows as "form|reference", what the
// grid's rows are compared with, and any other request's output, what a tool window's rows
// are compared with.

#include "cli/CliRunner.h"
#include "platform/TextCodec.h"

#include <QString>
#include <QStringList>

#include <sstream>
#include <string>
#include <vector>

namespace quorvex {

struct CliOutput {
    int code = 0;
    std::string out;  // the bytes written
    QString err;
    // The output's lines, empty ones left out.
    QStringList lines() const { return QString::fromUtf8(out).split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
    // A TSV output's records, its header left out.
    QStringList records() const { return lines().mid(1); }
    // The first line of the messages without the program's name: the refusal as a window says it.
    QString refusal() const
    {
        return err.section(QLatin1Char('\n'), 0, 0).remove(QStringLiteral("quorvex-cli : "));
    }
};

// quorvex-cli --latin LATIN [--french FRENCH] OPTIONS -- QUERY.
inline CliOutput cliOutput(const QString& latinPath, const QString& frenchPath, const QStringList& options,
                           const QString& query)
{
    std::vector<std::string> args = {"--latin", toPath(latinPath)};
    if (!frenchPath.isEmpty())
        args.insert(args.end(), {"--french", toPath(frenchPath)});
    for (const QString& o : options)
        args.push_back(o.toStdString());
    args.insert(args.end(), {"--", query.toStdString()});
    std::ostringstream out, err;
    CliOutput result;
    result.code = runCli(args, out, err);
    result.out = out.str();
    result.err = QString::fromStdString(err.str());
    return result;
}

inline QStringList cliListRows(const QString& latinPath, const QString& frenchPath, const QStringList& options,
                               const QString& query)
{
    QStringList rows;
    for (const QString& line : cliOutput(latinPath, frenchPath, QStringList{"--list"} + options, query).lines()) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        rows << fields.value(0) + QLatin1Char('|') + fields.value(1);
    }
    return rows;
}

// The words of a command line as a POSIX shell splits it: at blanks, a single-quoted stretch
// taken as it stands, a backslash keeping the next character.
inline QStringList shellWords(const QString& line)
{
    QStringList words;
    QString word;
    bool inWord = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == QLatin1Char(' ')) {
            if (inWord)
                words << word;
            word.clear();
            inWord = false;
        } else if (c == QLatin1Char('\'')) {
            const qsizetype end = line.indexOf(QLatin1Char('\''), i + 1);
            word += line.mid(i + 1, (end < 0 ? line.size() : end) - i - 1);
            i = end < 0 ? line.size() : end;
            inWord = true;
        } else if (c == QLatin1Char('\\') && i + 1 < line.size()) {
            word += line[++i];
            inWord = true;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words << word;
    return words;
}

// The "form|reference" rows of a quorvex-cli command line copied from a window, run
// in-process; empty unless it names the program first and lists.
inline QStringList cliRowsOfCommand(const QString& line)
{
    const QStringList words = shellWords(line);
    if (words.value(0) != QLatin1String("quorvex-cli") || !words.contains(QLatin1String("--list")))
        return {};
    std::vector<std::string> args;
    for (qsizetype i = 1; i < words.size(); ++i)
        args.push_back(words[i].toStdString());
    std::ostringstream out, err;
    if (runCli(args, out, err) != 0)
        return {QString::fromStdString(err.str())};
    QStringList rows;
    for (const QString& row : QString::fromStdString(out.str()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList fields = row.split(QLatin1Char('\t'));
        rows << fields.value(0) + QLatin1Char('|') + fields.value(1);
    }
    return rows;
}

} // namespace quorvex
