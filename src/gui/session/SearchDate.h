#pragma once
// The search window's load moment as the result file's line 2 shows it: the date and time
// the way the user's regional settings write a date-and-time value.

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace quorvex {

// The locale's short date, a space, and its long time without a time-zone name; the time
// is left out at exactly midnight. Under French settings: "04/12/2026 11:25:50"; a system
// without a locale ("C") gets the same French form.
QString searchDateText(const QDateTime& moment, const QLocale& locale = QLocale());

} // namespace quorvex
