#pragma once
// The pieces the lexicon's reader cuts its lines with (internal to lexicon/): fields, numbers,
// morphology ranges, folded spellings with the reason they fail, homograph digits, lines.

#include "lexicon/LatinSpelling.h"

#include "text/Utf8.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex::lexicon::lines {

// Morphology numbers run to a few hundred; anything far past is a typing error.
constexpr int kMaxMorpho = 999;

// Into a vector the caller keeps across lines, so that its storage is allocated once.
inline void splitInto(std::string_view s, char separator, std::vector<std::string_view>& parts)
{
    parts.clear();
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = s.find(separator, start);
        if (at == std::string_view::npos) {
            parts.push_back(s.substr(start));
            return;
        }
        parts.push_back(s.substr(start, at - start));
        start = at + 1;
    }
}

inline std::vector<std::string_view> split(std::string_view s, char separator)
{
    std::vector<std::string_view> parts;
    splitInto(s, separator, parts);
    return parts;
}

inline bool parseNumber(std::string_view s, int& value)
{
    if (s.empty() || s.size() > 6)
        return false;
    value = 0;
    for (const char c : s) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

// "1-3,7,9-12": the numbers in order.
inline bool parseMorphos(std::string_view s, std::vector<std::uint16_t>& out)
{
    out.clear();
    for (const std::string_view part : split(s, ',')) {
        const std::size_t dash = part.find('-');
        int from, to;
        if (dash == std::string_view::npos) {
            if (!parseNumber(part, from))
                return false;
            to = from;
        } else if (!parseNumber(part.substr(0, dash), from)
                   || !parseNumber(part.substr(dash + 1), to)) {
            return false;
        }
        if (from > to || to > kMaxMorpho)
            return false;
        for (int m = from; m <= to; ++m)
            out.push_back(static_cast<std::uint16_t>(m));
    }
    return true;
}

inline std::string describeChar(char32_t c)
{
    if (c == 0)
        return "UTF-8 invalide";
    std::string utf8;
    appendUtf8(utf8, c);
    return "caractère « " + utf8 + " » hors des lettres latines";
}

// A spelling folded, or the reason it cannot be. `allowEmpty` for endings and added roots.
inline bool foldField(std::string_view field, std::string& out, std::string& why, bool allowEmpty)
{
    // One buffer for every field read keeps the per-field allocation out of the loop.
    thread_local std::string letters;
    char32_t bad = 0;
    if (!foldSpellingInto(field, letters, bad)) {
        why = describeChar(bad);
        return false;
    }
    if (letters.empty() && !allowEmpty) {
        why = "champ vide";
        return false;
    }
    out.assign(letters);
    return true;
}

// A key with its homograph digits: "edo2" -> "edo", 2; "edo" -> "edo", 1.
inline std::string_view splitHomograph(std::string_view key, int& homograph)
{
    std::size_t end = key.size();
    while (end > 0 && key[end - 1] >= '0' && key[end - 1] <= '9')
        --end;
    homograph = 1;
    if (end < key.size() && !parseNumber(key.substr(end), homograph))
        homograph = 0;
    if (homograph < 1)
        homograph = 1;
    return key.substr(0, end);
}

// Calls `line` with each line that is neither blank nor a comment ("!"), its number, and
// without its CR and trailing blanks.
// In the .la files "!" also ends a line's data: what follows is a comment.
template <typename Handler>
void forEachLine(std::string_view text, bool inlineComments, Handler&& line)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::size_t number = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view l = text.substr(start, end - start);
        ++number;
        if (inlineComments && l.find('!') != std::string_view::npos)
            l = l.substr(0, l.find('!'));
        start = end + 1;
        while (!l.empty() && (l.back() == '\r' || l.back() == ' ' || l.back() == '\t'))
            l.remove_suffix(1);
        if (l.empty() || l.front() == '!')
            continue;
        line(l, number);
    }
}

} // namespace quorvex::lexicon::lines
