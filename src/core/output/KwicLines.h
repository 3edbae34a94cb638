#pragma once
// Key word in context: one line per attestation, the form in one column between the text
// before and after it, for reading a concordance on a terminal or piping it on.

#include "concordance/ResultList.h"
#include "concordance/WordTable.h"

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

namespace quorvex {

// Characters of context on each side when none is asked for.
constexpr std::size_t kDefaultKwicWidth = 40;

// One UTF-8 line per attestation of `results`, in their order, from the table's text: the
// reference padded to the widest one, two blanks, the `width` characters before the form
// (padded on the left where the text starts sooner), the form (a phrase's words and what
// stands between them), the `width` characters after it. A line break (CR LF, LF or CR)
// counts as one character and, like any control character, shows as a blank; trailing blanks
// are dropped. No reference column when every reference is empty.
void writeKwicLines(std::ostream& out, const WordTable& table, const ResultList& results,
                    std::size_t width);

// The same lines one at a time, for a caller that keeps them its own way or stops between
// two. The reference column is measured once, over every attestation, when made; `table` and
// `results` must outlive it.
class KwicLines {
public:
    KwicLines(const WordTable& table, const ResultList& results, std::size_t width);

    std::size_t size() const { return m_results.size(); }
    // Appends line k (UTF-8, without its line end) to `out`.
    void appendLine(std::size_t k, std::string& out) const;

private:
    const WordTable& m_table;
    const ResultList& m_results;
    std::size_t m_width;
    std::size_t m_referenceWidth = 0;
    mutable std::string m_line, m_left, m_reference;  // reused from line to line
};

} // namespace quorvex
