#pragma once
// Where the attested form stands in a passage: every word equal to it, case ignored.

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

} // namespace quorvex
