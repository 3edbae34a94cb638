#pragma once
// UTF-8 both ways, once for the whole program: the code-page, UTF-16 and lexicon conversions
// and the Latin spelling all write and read characters here.

#include <cstddef>
#include <string>
#include <string_view>

namespace quorvex {

inline void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Whether a surrogate's three-byte form counts as a character: a Windows name may hold a lone
// surrogate, carried that way (as WTF-8 does) so that it comes back unchanged; text never.
enum class Utf8Surrogates { Refused, Allowed };

struct Utf8Char {
    char32_t cp = 0;
    // Whole: the character's bytes. Broken: the bytes that began it and fit, at least one, so
    // that the next byte starts afresh.
    std::size_t length = 0;
    bool whole = false;
    // Broken only by the end of the text: the rest may come in a next piece.
    bool cutShort = false;
};

// The character at `pos` (< text.size()). Overlong forms and code points past U+10FFFF are
// broken.
inline Utf8Char readUtf8(std::string_view text, std::size_t pos,
                         Utf8Surrogates surrogates = Utf8Surrogates::Refused) noexcept
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    const unsigned char b = p[pos];
    Utf8Char c;
    if (b < 0x80) {
        c.cp = b;
        c.length = 1;
        c.whole = true;
        return c;
    }
    std::size_t len = 0;
    unsigned lo = 0x80, hi = 0xBF;  // the allowed range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2;
        c.cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
        c.cp = b & 0x0F;
        if (b == 0xE0)
            lo = 0xA0;
        if (b == 0xED && surrogates == Utf8Surrogates::Refused)
            hi = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        c.cp = b & 0x07;
        if (b == 0xF0)
            lo = 0x90;
        if (b == 0xF4)
            hi = 0x8F;
    } else {
        c.length = 1;
        return c;
    }
    std::size_t k = 1;
    for (; k < len && pos + k < n; ++k) {
        const unsigned char t = p[pos + k];
        if (k == 1 ? (t < lo || t > hi) : (t < 0x80 || t > 0xBF))
            break;
        c.cp = (c.cp << 6) | (t & 0x3F);
    }
    c.length = k;
    c.whole = k == len;
    c.cutShort = !c.whole && pos + k == n;
    return c;
}

} // namespace quorvex
