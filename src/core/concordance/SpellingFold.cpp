#include "concordance/SpellingFold.h"

#include "text/Letters.h"

#include <array>

namespace quorvex {

namespace {

// What one byte becomes: one or two characters.
struct Folded {
    char first;
    char second;  // '\0': none
};

std::array<Folded, 256> makeSpellingTable()
{
    std::array<Folded, 256> t{};
    for (int c = 0; c < 256; ++c)
        t[static_cast<std::size_t>(c)] = {lowerChar(static_cast<char>(c)), '\0'};
    const auto set = [&t](int from, int to, const char* as) {
        for (int c = from; c <= to; ++c)
            t[static_cast<std::size_t>(c)] = {as[0], as[1]};
    };
    set('J', 'J', "i");
    set('j', 'j', "i");
    set('V', 'V', "u");
    set('v', 'v', "u");
    set(0x8A, 0x8A, "s");   // Š
    set(0x9A, 0x9A, "s");   // š
    set(0x8C, 0x8C, "oe");  // Œ
    set(0x9C, 0x9C, "oe");  // œ
    set(0x8E, 0x8E, "z");   // Ž
    set(0x9E, 0x9E, "z");   // ž
    set(0x9F, 0x9F, "y");   // Ÿ
    for (const int base : {0xC0, 0xE0}) {  // capital and small letters share the layout
        set(base + 0x00, base + 0x05, "a");   // À-Å
        set(base + 0x06, base + 0x06, "ae");  // Æ
        set(base + 0x07, base + 0x07, "c");   // Ç
        set(base + 0x08, base + 0x0B, "e");   // È-Ë
        set(base + 0x0C, base + 0x0F, "i");   // Ì-Ï
        set(base + 0x10, base + 0x10, "d");   // Ð
        set(base + 0x11, base + 0x11, "n");   // Ñ
        set(base + 0x12, base + 0x16, "o");   // Ò-Ö
        set(base + 0x18, base + 0x18, "o");   // Ø
        set(base + 0x19, base + 0x1C, "u");   // Ù-Ü
        set(base + 0x1D, base + 0x1D, "y");   // Ý
        set(base + 0x1E, base + 0x1E, "th");  // Þ
    }
    set(0xDF, 0xDF, "ss");  // ß (0xD7 × and 0xF7 ÷ are left alone: not letters)
    set(0xFF, 0xFF, "y");   // ÿ
    return t;
}

const std::array<Folded, 256> kSpelling = makeSpellingTable();

} // namespace

void appendFolded(std::string& out, std::string_view form, Folding folding)
{
    // Written through a pointer into room made once: the search folds every word of the text.
    const std::size_t from = out.size();
    out.resize(from + 2 * form.size());
    char* p = out.data() + from;
    if (folding == Folding::Case) {
        for (const char c : form)
            *p++ = lowerChar(c);
    } else {
        for (const char c : form) {
            const Folded& f = kSpelling[static_cast<unsigned char>(c)];
            *p++ = f.first;
            if (f.second != '\0')
                *p++ = f.second;
        }
    }
    out.resize(static_cast<std::size_t>(p - out.data()));
}

namespace {

// Steps through the fold of form[0, n) from the front against `part`. With `whole` the fold
// must end where `part` does; without it, `part` need only be its beginning.
bool foldFromFront(const unsigned char* p, const unsigned char* end, std::string_view part,
                   bool whole) noexcept
{
    const char* q = part.data();
    const char* const qEnd = q + part.size();
    for (; p < end; ++p) {
        const Folded& f = kSpelling[*p];
        if (q == qEnd)
            return !whole;
        if (*q != f.first)
            return false;
        ++q;
        if (f.second != '\0') {
            if (q == qEnd)
                return !whole;
            if (*q != f.second)
                return false;
            ++q;
        }
    }
    return q == qEnd;
}

const unsigned char* bytes(std::string_view s) noexcept
{
    return reinterpret_cast<const unsigned char*>(s.data());
}

} // namespace

bool spellingFoldEquals(std::string_view form, std::string_view part) noexcept
{
    // A byte folds to one or two characters.
    if (form.size() > part.size() || 2 * form.size() < part.size())
        return false;
    return foldFromFront(bytes(form), bytes(form) + form.size(), part, true);
}

bool spellingFoldStartsWith(std::string_view form, std::string_view part) noexcept
{
    return foldFromFront(bytes(form), bytes(form) + form.size(), part, false);
}

bool spellingFoldEndsWith(std::string_view form, std::string_view part) noexcept
{
    const unsigned char* const begin = bytes(form);
    const unsigned char* p = begin + form.size();
    const char* const qBegin = part.data();
    const char* q = qBegin + part.size();
    while (p > begin) {
        const Folded& f = kSpelling[*--p];
        if (q == qBegin)
            return true;
        if (f.second != '\0') {
            if (*--q != f.second)
                return false;
            if (q == qBegin)
                return true;
        }
        if (*--q != f.first)
            return false;
    }
    return q == qBegin;
}

} // namespace quorvex
