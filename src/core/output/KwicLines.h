#pragma once
// Key word in context: one line per attestation, the form in one column between the text
// before and after it, for reading a concordance on a terminal or piping it on.

#include "concordance/ResultList.h"

#include <cstddef>
#include <ostream>
#include <string_view>
#include <vector>

namespace quorvex {

struct KwicHit {
    std::string_view reference;  // Windows-1252, as in the grid
    std::size_t offset = 0;      // where the form stands in the text
    std::size_t length = 0;
};

// One UTF-8 line per hit, in the order given: the reference padded to the widest one, two
// blanks, the `width` characters before the form (padded on the left where the text starts
// sooner), the form, the `width` characters after it. A line break (CR LF, LF or CR) counts
// as one character and, like any control character, shows as a blank; trailing blanks are
// dropped. No reference column when every reference is empty.
void writeKwicLines(std::ostream& out, std::string_view text, const std::vector<KwicHit>& hits,
                    std::size_t width);

// The same for the rows `results` of `table`, in their order, from the table's text.
void writeKwicLines(std::ostream& out, const WordTable& table, const ResultList& results,
                    std::size_t width);

} // namespace quorvex
