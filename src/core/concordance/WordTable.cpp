#include "concordance/WordTable.h"

#include "text/Letters.h"

#include <array>
#include <limits>
#include <stdexcept>
#include <unordered_map>

namespace quorvex {

namespace {

enum CharClass : unsigned char { Plain, Letter };

constexpr bool isExtraLetter(unsigned char c) noexcept
{
    return c == 0x8A || c == 0x8C || c == 0x8E || c == 0x9A || c == 0x9C || c == 0x9E || c == 0x9F;
}

constexpr std::array<unsigned char, 256> makeClasses(LetterSet letters)
{
    std::array<unsigned char, 256> t{};
    for (int c = 0; c < 256; ++c) {
        const auto b = static_cast<unsigned char>(c);
        const bool letter = isLetter(b) || (letters == LetterSet::Extended && isExtraLetter(b));
        t[static_cast<std::size_t>(c)] = letter ? Letter : Plain;
    }
    return t;
}
constexpr std::array<unsigned char, 256> kWindowClasses = makeClasses(LetterSet::Window);
constexpr std::array<unsigned char, 256> kExtendedClasses = makeClasses(LetterSet::Extended);

const std::array<unsigned char, 256>& classesOf(LetterSet letters) noexcept
{
    return letters == LetterSet::Extended ? kExtendedClasses : kWindowClasses;
}

// The bytes of a reference text one by one: the marker's non-letters, then the stray "]".
class ReferenceBytes {
public:
    ReferenceBytes(std::string_view text, const WordTable::Reference& r,
                   const std::array<unsigned char, 256>& classes) noexcept
        : m_p(reinterpret_cast<const unsigned char*>(text.data()) + r.markerOffset),
          m_end(m_p + r.markerLength), m_strays(r.strays), m_classes(classes)
    {
    }
    // The next marker byte, or -1 once only stray "]" remain.
    int nextMarkerByte() noexcept
    {
        while (m_p < m_end) {
            const unsigned char c = *m_p++;
            if (m_classes[c] != Letter)
                return c;
        }
        return -1;
    }
    std::uint32_t strays() const noexcept { return m_strays; }

private:
    const unsigned char* m_p;
    const unsigned char* m_end;
    std::uint32_t m_strays;
    const std::array<unsigned char, 256>& m_classes;
};

} // namespace

bool isLetterOf(LetterSet letters, unsigned char c) noexcept
{
    return classesOf(letters)[c] == Letter;
}

namespace {

// "]" x run against `first` and the bytes left in `rest`.
int compareRunWithRest(std::uint32_t run, int first, ReferenceBytes& rest) noexcept
{
    for (int c = first; c >= 0; c = rest.nextMarkerByte()) {
        if (run == 0)
            return -1;
        if (c != ']')
            return ']' < c ? -1 : 1;
        --run;
    }
    return run < rest.strays() ? -1 : (run > rest.strays() ? 1 : 0);
}

} // namespace

int compareReferences(std::string_view aText, const WordTable::Reference& a,
                      std::string_view bText, const WordTable::Reference& b,
                      LetterSet letters) noexcept
{
    const auto& classes = classesOf(letters);
    ReferenceBytes x(aText, a, classes);
    ReferenceBytes y(bText, b, classes);
    for (;;) {
        const int cx = x.nextMarkerByte();
        const int cy = y.nextMarkerByte();
        if (cx >= 0 && cy >= 0) {
            if (cx != cy)
                return cx < cy ? -1 : 1;
            continue;
        }
        // Once a marker runs out only its "]" run is left: two runs compare by length, so a
        // long run costs nothing.
        if (cx < 0 && cy < 0)
            return x.strays() < y.strays() ? -1 : (x.strays() > y.strays() ? 1 : 0);
        if (cx < 0)
            return compareRunWithRest(x.strays(), cy, y);
        return -compareRunWithRest(y.strays(), cx, x);
    }
}

std::string WordTable::referenceText(ReferenceId id) const
{
    std::string out;
    appendReferenceText(id, out);
    return out;
}

void WordTable::appendReferenceText(ReferenceId id, std::string& out) const
{
    const Reference& r = m_references[id];
    ReferenceBytes bytes(m_text, r, classesOf(m_letters));
    if (r.keyLength == r.markerLength) {
        out.append(m_text, r.markerOffset, r.markerLength);
    } else {
        for (int c = bytes.nextMarkerByte(); c >= 0; c = bytes.nextMarkerByte())
            out += static_cast<char>(c);
    }
    out.append(r.strays, ']');
}

WordTable WordTable::segment(std::string text, LetterSet letters)
{
    // Offsets are 32-bit to keep a word at 12 bytes.
    if (text.size() >= std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("text too large for the word table");

    WordTable table;
    table.m_letters = letters;
    table.m_text = std::move(text);
    const std::string& t = table.m_text;
    const std::size_t n = t.size();
    const auto& cls = classesOf(letters);
    const unsigned char* const begin = reinterpret_cast<const unsigned char*>(t.data());
    const unsigned char* const end = begin + n;

    // Counting the words first sizes the table exactly: growing it by doubling would hold
    // up to three times its size at the moment of a copy.
    {
        std::size_t words = 0;
        unsigned prev = Plain;
        for (const unsigned char* p = begin; p < end; ++p) {
            const unsigned cur = cls[*p];
            words += cur & (prev ^ 1u);
            prev = cur;
        }
        table.m_words.reserve(words);
    }

    // Equal reference texts get one id: heads of hash chains, and the next id of equal hash.
    constexpr ReferenceId kNone = std::numeric_limits<ReferenceId>::max();
    std::unordered_map<std::uint64_t, ReferenceId> firstWithHash;
    std::vector<ReferenceId> nextWithHash;
    auto intern = [&](const ReferenceKey& key) {
        const ReferenceParts& parts = key.parts();
        const auto fresh = static_cast<ReferenceId>(table.m_references.size());
        const auto [it, added] = firstWithHash.try_emplace(key.hash(), fresh);
        if (!added) {
            for (ReferenceId id = it->second; id != kNone; id = nextWithHash[id]) {
                const Reference& r = table.m_references[id];
                if (r.keyLength == parts.keyLength && r.strays == parts.strays
                    && compareReferences(t, r, t, parts, letters) == 0)
                    return id;
            }
        }
        nextWithHash.push_back(added ? kNone : it->second);
        it->second = fresh;
        table.m_references.push_back(parts);
        return fresh;
    };

    ReferenceKey key;
    bool changed = true;  // the empty reference has no id until a word needs it
    ReferenceId current = 0;
    auto add = [&](const unsigned char* start, const unsigned char* stop) {
        if (changed) {
            current = intern(key);
            changed = false;
        }
        table.m_words.push_back(Word{static_cast<std::uint32_t>(start - begin),
                                     static_cast<std::uint32_t>(stop - start), current});
    };

    // std::string keeps a '\0' after its last byte, and '\0' is no letter: a run of letters
    // stops there without a bounds test.
    const unsigned char* p = begin;
    while (p < end) {
        if (cls[*p] == Letter) {
            const unsigned char* const start = p;
            do
                ++p;
            while (cls[*p] == Letter);
            if (p == end) {
                add(start, end);
                break;
            }
            // The character that ends the word updates the reference first.
            if (!key.leavesUnchanged(*p))
                changed |= key.feed(*p, static_cast<std::size_t>(p - begin));
            add(start, p);
            ++p;
            continue;
        }
        if (!key.leavesUnchanged(*p))
            changed |= key.feed(*p, static_cast<std::size_t>(p - begin));
        ++p;
    }
    return table;
}

} // namespace quorvex
