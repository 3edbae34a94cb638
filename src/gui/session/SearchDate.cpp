#include "session/SearchDate.h"

namespace quorvex {

namespace {

// The long time format without its time-zone fields ("t" in any length), and without the
// blanks that stood beside them. Quoted literal text is kept as it is.
QString timeFormatWithoutZone(const QString& format)
{
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
            out += c;
        } else if (!quoted && c == QLatin1Char('t')) {
            while (!out.isEmpty() && out.back() == QLatin1Char(' '))
                out.chop(1);
            while (i + 1 < format.size() && format.at(i + 1) == QLatin1Char('t'))
                ++i;
        } else {
            out += c;
        }
    }
    return out.trimmed();
}

} // namespace

QString searchDateText(const QDateTime& moment, const QLocale& locale)
{
    // A system without a locale ("C", POSIX) would write an English date in a French file.
    if (locale.language() == QLocale::C) {
        const QString date = moment.date().toString(QStringLiteral("dd/MM/yyyy"));
        return moment.time() == QTime(0, 0)
            ? date
            : date + moment.time().toString(QStringLiteral(" HH:mm:ss"));
    }
    const QString date = locale.toString(moment.date(), QLocale::ShortFormat);
    const QTime time = moment.time();
    if (time == QTime(0, 0))
        return date;
    return date + QLatin1Char(' ')
        + locale.toString(time, timeFormatWithoutZone(locale.timeFormat(QLocale::LongFormat)));
}

} // namespace quorvex
