#include "system/Utf16.h"

#include "text/Utf8.h"

namespace quorvex {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

void appendUtf16(std::u16string& out, char32_t c)
{
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 | (c >> 10));
        out += static_cast<char16_t>(0xDC00 | (c & 0x3FF));
    }
}

// Decodes `text` into `out` and returns the bytes used. Unless `final`, a sequence cut short
// by the end is left unused for the next call; within the text, a broken sequence gives one
// U+FFFD per byte that cannot start a character. Surrogates are taken (see the header).
std::size_t decode(std::string_view text, std::u16string& out, bool final)
{
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        const Utf8Char c = readUtf8(text, i, Utf8Surrogates::Allowed);
        if (c.whole)
            appendUtf16(out, c.cp);
        else if (c.cutShort && !final)
            return i;  // the rest of this character is in the next piece
        else
            out += kReplacement;
        i += c.length;
    }
    return n;
}

} // namespace

std::string utf8FromUtf16(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00
            && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        appendUtf8(out, c);
    }
    return out;
}

std::u16string utf16FromUtf8(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    decode(text, out, true);
    return out;
}

std::u16string Utf8PieceDecoder::feed(std::string_view piece)
{
    std::u16string out;
    if (m_held.empty()) {
        m_held.assign(piece.substr(decode(piece, out, false)));
        return out;
    }
    m_held.append(piece);
    const std::size_t used = decode(m_held, out, false);
    m_held.erase(0, used);
    return out;
}

std::u16string Utf8PieceDecoder::finish()
{
    std::u16string out;
    decode(m_held, out, true);
    m_held.clear();
    return out;
}

} // namespace quorvex
