#pragma once
// The collocates of a list as a table for other programs and for the windows' copy: a header
// record (collocate, cooccurrences, frequency, mi, log_likelihood), then one record a
// collocate in the order given, scores with three decimals and a point. UTF-8.

#include "concordance/Collocates.h"
#include "output/ExportFormats.h"

#include <string>
#include <vector>

namespace quorvex {

// A score as the table writes it: three decimals and a point, whatever the locale.
std::string collocateScore(double score);

// `format` is Tsv or Csv; `utf8Keys`: the collocates' forms are UTF-8 (lemmata), else
// Windows-1252.
std::string collocatesTable(ExportFormat format, const std::vector<Collocate>& collocates,
                            bool utf8Keys = false);

} // namespace quorvex
