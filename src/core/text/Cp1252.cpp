#include "text/Cp1252.h"

#include "text/Utf8.h"

namespace quorvex {

namespace {

// 0x80..0x9F; the unassigned codes keep their C1 control point so a round trip loses nothing.
constexpr char32_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The length of the whole character at i, 0 when it is broken.
std::size_t decodeUtf8(std::string_view s, std::size_t i, char32_t& cp) noexcept
{
    const Utf8Char c = readUtf8(s, i);
    cp = c.cp;
    return c.whole ? c.length : 0;
}

} // namespace

char32_t cp1252ToUnicode(unsigned char byte) noexcept
{
    return (byte >= 0x80 && byte <= 0x9F) ? kHigh[byte - 0x80] : byte;
}

std::string cp1252ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char c : bytes)
        appendUtf8(out, cp1252ToUnicode(static_cast<unsigned char>(c)));
    return out;
}

void appendCp1252AsUtf8(std::string& out, std::string_view bytes)
{
    for (char c : bytes) {
        // ASCII, most of a text, goes as it is.
        if (static_cast<unsigned char>(c) < 0x80)
            out += c;
        else
            appendUtf8(out, cp1252ToUnicode(static_cast<unsigned char>(c)));
    }
}

std::string unicodeToUtf8(char32_t cp)
{
    std::string out;
    appendUtf8(out, cp);
    return out;
}

std::optional<unsigned char> unicodeToCp1252(char32_t cp) noexcept
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<unsigned char>(cp);
    for (int k = 0; k < 32; ++k)
        if (kHigh[k] == cp)
            return static_cast<unsigned char>(0x80 + k);
    return std::nullopt;
}

Utf8Conversion utf8ToCp1252(std::string_view utf8)
{
    Utf8Conversion result;
    result.bytes.reserve(utf8.size());
    std::size_t line = 1;
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        const std::size_t len = decodeUtf8(utf8, i, cp);
        if (len == 0) {
            result.ok = false;
            result.badLine = line;
            result.badChar = 0;
            return result;
        }
        const auto byte = unicodeToCp1252(cp);
        if (!byte) {
            result.ok = false;
            result.badLine = line;
            result.badChar = cp;
            return result;
        }
        if (cp == '\n')
            ++line;
        result.bytes += static_cast<char>(*byte);
        i += len;
    }
    return result;
}

namespace {

// Shared by both encodings: `next(i, cp)` decodes one character at byte i and gives its
// length in bytes, 0 when malformed.
template <typename Next>
InPlaceConversion toCp1252InPlace(std::string& text, std::size_t from, Next next)
{
    InPlaceConversion result;
    std::size_t line = 1, out = 0;
    for (std::size_t i = from; i < text.size();) {
        char32_t cp = 0;
        const std::size_t len = next(i, cp);
        const auto byte = len ? unicodeToCp1252(cp) : std::nullopt;
        if (!byte) {
            result.ok = false;
            result.badLine = line;
            result.badChar = len ? cp : 0;
            text.clear();
            return result;
        }
        if (cp == '\n')
            ++line;
        // Never ahead of the reading: every character takes at least one byte in.
        text[out++] = static_cast<char>(*byte);
        i += len;
    }
    text.resize(out);
    return result;
}

} // namespace

InPlaceConversion utf8ToCp1252InPlace(std::string& text, std::size_t from)
{
    return toCp1252InPlace(text, from, [&](std::size_t i, char32_t& cp) {
        return decodeUtf8(text, i, cp);
    });
}

InPlaceConversion utf16ToCp1252InPlace(std::string& text, std::size_t from, bool bigEndian)
{
    const auto unit = [&](std::size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(text[i]), b = static_cast<unsigned char>(text[i + 1]);
        return bigEndian ? char32_t(a << 8 | b) : char32_t(b << 8 | a);
    };
    return toCp1252InPlace(text, from, [&](std::size_t i, char32_t& cp) -> std::size_t {
        if (i + 2 > text.size())
            return 0;
        const char32_t first = unit(i);
        if (first < 0xD800 || first > 0xDFFF) {
            cp = first;
            return 2;
        }
        if (first > 0xDBFF || i + 4 > text.size())
            return 0;
        const char32_t second = unit(i + 2);
        if (second < 0xDC00 || second > 0xDFFF)
            return 0;
        cp = 0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00);
        return 4;
    });
}

bool isValidUtf8(std::string_view bytes) noexcept
{
    for (std::size_t i = 0; i < bytes.size();) {
        char32_t cp;
        const std::size_t len = decodeUtf8(bytes, i, cp);
        if (len == 0)
            return false;
        i += len;
    }
    return true;
}

ArgumentConversion argumentToCp1252(std::string_view argument)
{
    ArgumentConversion result;
    if (!isValidUtf8(argument)) {
        result.bytes = std::string(argument);
        return result;
    }
    Utf8Conversion conv = utf8ToCp1252(argument);
    if (conv.ok) {
        result.bytes = std::move(conv.bytes);
        return result;
    }
    // Valid UTF-8, so the failure is a character the code page lacks: name it.
    result.missingChar = unicodeToUtf8(conv.badChar);
    return result;
}

} // namespace quorvex
