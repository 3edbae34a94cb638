#pragma once
// Where the attested form stands in a passage: every word equal to it, case ignored; for
// the form of a phrase, its words where they stand in a row.

#include "text/Letters.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace quorvex {

struct MarkRange {
    std::size_t start = 0;   // byte offset in the passage
    std::size_t length = 0;  // bytes

    bool operator==(const MarkRange& other) const
    {
        return start == other.start && length == other.length;
    }
};

// Every whole word of `passage` (Windows-1252) equal to `form` after Latin-1 lowering, in
// text order; a word running to the very end counts too. An empty form marks nothing.
std::vector<MarkRange> formMarks(std::string_view passage, std::string_view form);

// The same for a form that may be a phrase's, its words joined by blanks: every place where
// the passage's words (runs of `letters`, cut as the word table cuts them) equal the form's
// words one after the other, whatever stands between them (blanks, punctuation, markers,
// line breaks), one range per word, in text order. `after` is the text that follows the
// passage: a phrase that begins in the passage and goes on past its end is marked as far as
// the passage goes. For a form without a blank and the window's letters, formMarks.
std::vector<MarkRange> phraseMarks(std::string_view passage, std::string_view form,
                                   LetterSet letters = LetterSet::Window,
                                   std::string_view after = {});

// The same ranges as positions in a text pane showing `passage`, where a CR LF is a single
// line break and every other byte one position. `marks` are in text order.
std::vector<MarkRange> panePositions(std::string_view passage, std::vector<MarkRange> marks);

} // namespace quorvex
