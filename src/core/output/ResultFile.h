#pragma once
// The result file: a header, the grid as a two-column list, then for every attestation row
// the passage of its reference in the Latin text and, when there is one, in the French text.
// Windows-1252, CR LF line ends, the passages' bytes as they stand in the texts.

#include "concordance/GridModel.h"
#include "concordance/ResultList.h"
#include "text/TextFile.h"

#include <ctime>
#include <ostream>
#include <string>
#include <string_view>

namespace quorvex {

// `title` and `date` are Windows-1252 and written as given. `frenchText` null or empty
// means no French lines.
void writeResultFile(std::ostream& out, const GridModel& grid, std::string_view title,
                     std::string_view date, std::string_view latinText,
                     const std::string* frenchText);

// The same file for the rows `results` of `table` (the grid's header, then one row per
// result), byte for byte what the grid holding those rows gives. `latinText` is the text the
// passages are taken from (usually table.text()).
void writeResultFile(std::ostream& out, const WordTable& table, const ResultList& results,
                     std::string_view title, std::string_view date, std::string_view latinText,
                     const std::string* frenchText);

// Reads the Latin text (and the French one when `frenchPath` is not empty) and writes the
// result file so that a failure leaves any older file of that name as it was. A read
// failure names the text file, a write failure the output file.
FileError saveResultFile(const std::string& outputPath, const GridModel& grid,
                         std::string_view title, std::string_view date,
                         const std::string& latinPath, const std::string& frenchPath);

FileError saveResultFile(const std::string& outputPath, const WordTable& table,
                         const ResultList& results, std::string_view title,
                         std::string_view date, const std::string& latinPath,
                         const std::string& frenchPath);

// "dd/MM/yyyy HH:mm:ss" in local time, the time left out at exactly midnight.
std::string defaultDateText(std::time_t moment);

} // namespace quorvex
