#include "concordance/WordTable.h"

#include "text/Letters.h"

#include <array>
#include <limits>
#include <stdexcept>

namespace quorvex {

namespace {

enum CharClass : unsigned char { Letter, Plain, Open, Close };

constexpr std::array<unsigned char, 256> makeClasses(LetterSet letters)
{
    std::array<unsigned char, 256> t{};
    for (int c = 0; c < 256; ++c)
        t[static_cast<std::size_t>(c)] = isLetter(static_cast<unsigned char>(c)) ? Letter : Plain;
    if (letters == LetterSet::Extended)
        for (const unsigned char c : {0x8A, 0x8C, 0x8E, 0x9A, 0x9C, 0x9E, 0x9F})
            t[c] = Letter;
    t['['] = Open;
    t[']'] = Close;
    return t;
}
constexpr std::array<unsigned char, 256> kWindowClass = makeClasses(LetterSet::Window);
constexpr std::array<unsigned char, 256> kExtendedClass = makeClasses(LetterSet::Extended);

} // namespace

WordTable WordTable::segment(std::string text, LetterSet letters)
{
    const std::array<unsigned char, 256>& classOf
        = letters == LetterSet::Extended ? kExtendedClass : kWindowClass;
    // Offsets are 32-bit to keep an entry at 16 bytes; the reader refuses larger files.
    if (text.size() > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("text too large for the word table");

    WordTable table;
    table.m_text = std::move(text);
    const std::string& t = table.m_text;
    const std::size_t n = t.size();
    // Latin prose averages about seven characters per word with its separator; reserving
    // for that spares the copies of growth without touching memory a real text never uses.
    table.m_entries.reserve(n / 7 + 1);

    std::string& refs = table.m_references;
    std::size_t refOffset = 0;  // the reference in force is refs[refOffset, refs.size())
    bool inGroup = false;
    auto add = [&](std::size_t start, std::size_t end) {
        table.m_entries.push_back(Entry{static_cast<std::uint32_t>(start),
                                        static_cast<std::uint32_t>(end - start),
                                        static_cast<std::uint32_t>(refOffset),
                                        static_cast<std::uint32_t>(refs.size() - refOffset)});
    };

    // std::string keeps a '\0' after its last byte, and '\0' is no letter: a run of letters
    // stops there without a bounds test.
    const unsigned char* const begin = reinterpret_cast<const unsigned char*>(t.data());
    const unsigned char* const end = begin + n;
    const unsigned char* p = begin;
    while (p < end) {
        const auto cls = classOf[*p];
        if (cls == Letter) {
            const unsigned char* const start = p;
            do
                ++p;
            while (classOf[*p] == Letter);
            if (p == end) {
                add(static_cast<std::size_t>(start - begin), n);
                break;
            }
            // The character that ends the word updates the reference first.
            const char c = static_cast<char>(*p);
            if (c == ']') {
                refs += ']';
                inGroup = false;
            } else if (c == '[') {
                refOffset = refs.size();
                refs += '[';
                inGroup = true;
            } else if (inGroup) {
                refs += c;
            }
            add(static_cast<std::size_t>(start - begin), static_cast<std::size_t>(p - begin));
            ++p;
            continue;
        }
        if (cls == Close) {
            refs += ']';
            inGroup = false;
        } else if (cls == Open) {
            refOffset = refs.size();
            refs += '[';
            inGroup = true;
        } else if (inGroup) {
            refs += static_cast<char>(*p);
        }
        ++p;
    }
    return table;
}

} // namespace quorvex
