#pragma once
// Between the texts' Windows-1252 bytes and what the widgets show and the user types.

#include <QString>

#include <string>
#include <string_view>

namespace quorvex {

QString fromCp1252(std::string_view bytes);

// A character the code page lacks becomes "?", which is no letter: typed into a query it
// simply never matches, as the system's ANSI conversion would have it.
std::string toCp1252(const QString& text);

// Paths go to the system as UTF-8.
inline std::string toPath(const QString& path) { return path.toStdString(); }

} // namespace quorvex
