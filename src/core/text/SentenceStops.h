#pragma once
// Where a sentence ends, for the tagger and for the cutting of long passage pairs before the
// word alignment: at a full stop, a semicolon, a colon, a question or exclamation mark, or
// the "[" of a marker. Characters are Windows-1252 bytes.

#include <cstddef>
#include <string_view>

namespace quorvex {

constexpr bool endsSentence(unsigned char c) noexcept
{
    return c == '.' || c == ';' || c == ':' || c == '?' || c == '!' || c == '[';
}

// Whether the characters text[from, to), what stands between two words, end a sentence.
inline bool sentenceEndsWithin(std::string_view text, std::size_t from, std::size_t to) noexcept
{
    for (std::size_t at = from; at < to && at < text.size(); ++at)
        if (endsSentence(static_cast<unsigned char>(text[at])))
            return true;
    return false;
}

} // namespace quorvex
