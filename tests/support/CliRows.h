#pragma once
// quorvex-cli --list for the texts of a window test, as "form|reference" rows: what the
// grid's rows are compared with.

#include "cli/CliRunner.h"
#include "platform/TextCodec.h"

#include <QString>
#include <QStringList>

#include <sstream>
#include <string>
#include <vector>

namespace quorvex {

inline QStringList cliListRows(const QString& latinPath, const QString& frenchPath, const QStringList& options,
                               const QString& query)
{
    std::vector<std::string> args = {"--latin", toPath(latinPath), "--french", toPath(frenchPath), "--list"};
    for (const QString& o : options)
        args.push_back(o.toStdString());
    args.insert(args.end(), {"--", query.toStdString()});
    std::ostringstream out, err;
    runCli(args, out, err);
    QStringList rows;
    for (const QString& line : QString::fromStdString(out.str()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        rows << fields.value(0) + QLatin1Char('|') + fields.value(1);
    }
    return rows;
}

} // namespace quorvex
