#pragma once
// The words of a text in order, each with the reference in force for it, straight from the
// bytes: no word table, no copy, nothing kept per word. A run that reads a text once (a list
// in text order) needs no more; its words and references are those WordTable::segment gives,
// by the same rules.

#include "text/Letters.h"
#include "text/MarkerReader.h"

#include <cstddef>
#include <string_view>

namespace quorvex {

// Calls f(offset, length, key) for every word of `text`, in order: the word is
// text.substr(offset, length) and key.parts() its reference in `text` (the reference as the
// character after the word has just left it, as the word table stores it). The text must be
// under 4 GB, like the word table's.
template <typename F>
void forEachWordWithReference(std::string_view text, LetterSet letters, F&& f)
{
    const std::array<bool, 256>& isLetterByte = letterTable(letters);
    const auto* const begin = reinterpret_cast<const unsigned char*>(text.data());
    const auto* const end = begin + text.size();
    MarkerReader key(letters);
    const auto touchesReference = [&key](unsigned char c) {
        return c == '[' || c == ']' || key.inGroup();
    };
    const unsigned char* p = begin;
    for (;;) {
        while (p < end && !isLetterByte[*p]) {
            if (touchesReference(*p))
                key.feed(*p, static_cast<std::size_t>(p - begin));
            ++p;
        }
        if (p == end)
            return;
        const unsigned char* const start = p;
        while (++p < end && isLetterByte[*p]) {
        }
        const auto length = static_cast<std::size_t>(p - start);
        if (p < end) {
            // The character that ends the word updates the reference first.
            if (touchesReference(*p))
                key.feed(*p, static_cast<std::size_t>(p - begin));
            ++p;
        }
        f(static_cast<std::size_t>(start - begin), length, key);
    }
}

} // namespace quorvex
