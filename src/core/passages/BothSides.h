#pragma once
// The two texts of the pair side by side: keeping the attestations whose passage in the other
// text (the passage with the same reference) holds a word of a given form.

#include "concordance/PhraseQuery.h"
#include "concordance/WordTable.h"

#include <string_view>
#include <vector>

namespace quorvex {

// The spans of `table` whose reference has, in `otherText`, a passage holding a word that
// `pattern` matches; order kept. The passage is the one the result file gives (a marker that
// stands twice gathers both stretches); its markers are skipped, its words cut with `letters`.
// A reference the other text lacks keeps nothing.
ResultList keepWhereOtherPassageHolds(const WordTable& table, const ResultList& spans,
                                             std::string_view otherText, const WordPattern& pattern,
                                             LetterSet letters);

// Whether `passage` holds, outside its bracketed markers, a word that `pattern` matches.
bool passageHolds(std::string_view passage, const WordPattern& pattern, LetterSet letters);

} // namespace quorvex
