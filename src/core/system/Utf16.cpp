#include "system/Utf16.h"

namespace quorvex {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

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
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            out += static_cast<char16_t>(b);
            ++i;
            continue;
        }
        std::size_t len = 0;
        char32_t c = 0;
        unsigned lo = 0x80, hi = 0xBF;  // the allowed range of the second byte
        if (b >= 0xC2 && b <= 0xDF) {
            len = 2;
            c = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            len = 3;
            c = b & 0x0F;
            if (b == 0xE0)
                lo = 0xA0;  // no overlong forms
        } else if (b >= 0xF0 && b <= 0xF4) {
            len = 4;
            c = b & 0x07;
            if (b == 0xF0)
                lo = 0x90;
            if (b == 0xF4)
                hi = 0x8F;  // nothing beyond U+10FFFF
        }
        if (len == 0) {
            out += kReplacement;
            ++i;
            continue;
        }
        std::size_t k = 1;
        for (; k < len && i + k < n; ++k) {
            const unsigned char t = p[i + k];
            if (k == 1 ? (t < lo || t > hi) : (t < 0x80 || t > 0xBF))
                break;
            c = (c << 6) | (t & 0x3F);
        }
        if (k == len) {
            appendUtf16(out, c);
            i += len;
        } else if (i + k == n && !final) {
            return i;  // the rest of this character is in the next piece
        } else {
            out += kReplacement;
            i += k;  // the bytes read so far were its own; the next one starts afresh
        }
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
