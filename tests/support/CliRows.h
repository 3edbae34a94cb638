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

} // namespace quorvex
