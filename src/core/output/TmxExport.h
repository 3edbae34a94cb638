#pragma once
// The list as a translation memory (TMX 1.4) for translation tools: one unit per distinct
// reference of the list, in Latin text order, its Latin passage and, when the French text has
// it, its French passage, each without its marker, line breaks as one blank, trimmed.

#include "concordance/ResultList.h"
#include "concordance/WordTable.h"

#include <string>
#include <string_view>

namespace quorvex {

// `frenchText` may be null or empty (Latin-only units); `version` is the program's.
std::string tmxDocument(const WordTable& table, const ResultList& results,
                        std::string_view latinText, const std::string* frenchText,
                        std::string_view version);

} // namespace quorvex
