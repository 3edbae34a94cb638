#pragma once
// The ranking of a Latin word's French equivalents as a table for other programs: UTF-8 TSV
// (or CSV) with a header, the best `top` rows.

#include "output/ExportFormats.h"
#include "translation/Equivalents.h"

#include <cstddef>
#include <string>

namespace quorvex {

constexpr std::size_t kDefaultEquivalentRows = 20;
inline constexpr const char* kUntranslatedRow = "(non traduit)";

// Columns french, passages (a), share (100 a/(a+b), one decimal), frequency (a+c),
// log_likelihood, dice (three decimals). Ranked by the alignment: french, aligned (hits aligned
// to the lemma), share (of the paired hits, one decimal), passages, frequency, log_likelihood,
// dice, and a last row kUntranslatedRow with the hits aligned to nothing (its other cells
// empty). `format` is Tsv or Csv.
std::string equivalentsTable(ExportFormat format, const Equivalents& equivalents,
                             const FrenchLemmas& lemmas, std::size_t top = kDefaultEquivalentRows);

// A number with a fixed count of decimals and a point, whatever the locale.
std::string fixedDecimals(double value, int decimals);

// One UTF-8 field: TSV escapes "\" tab LF CR, CSV quotes a field holding a quote, a comma,
// CR or LF.
void appendUtf8Field(std::string& out, ExportFormat format, std::string_view utf8);

} // namespace quorvex
