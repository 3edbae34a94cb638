#include "concordance/WordTable.h"

#include "text/Letters.h"

#include <array>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace quorvex {

std::string WordTable::referenceText(ReferenceId id) const
{
    std::string out;
    appendReferenceText(id, out);
    return out;
}

void WordTable::appendReferenceText(ReferenceId id, std::string& out) const
{
    appendKey(m_text, m_references[id], m_letters, out);
}

std::size_t WordTable::copyReferencePrefix(ReferenceId id, char* out, std::size_t max) const noexcept
{
    return copyKeyPrefix(m_text, m_references[id], m_letters, out, max);
}

namespace {

// Equal reference texts get one id: an open-addressing table of ids keyed by the reference
// hash, kept only while the text is cut.
class ReferenceInterner {
public:
    static constexpr WordTable::ReferenceId kNone = ~WordTable::ReferenceId(0);

    ReferenceInterner(const std::string& text, LetterSet letters,
                      std::vector<WordTable::Reference>& references,
                      std::vector<std::uint32_t>& hashes)
        : m_text(text), m_letters(letters), m_references(references), m_hashes(hashes),
          m_slots(1024, kNone)
    {
    }

    WordTable::ReferenceId intern(const MarkerReader& key)
    {
        const ReferenceParts& parts = key.parts();
        const std::uint32_t hash = WordTable::shortHash(key.hash());
        const std::size_t mask = m_slots.size() - 1;
        std::size_t slot = hash & mask;
        for (; m_slots[slot] != kNone; slot = (slot + 1) & mask) {
            const WordTable::ReferenceId id = m_slots[slot];
            const WordTable::Reference& r = m_references[id];
            if (m_hashes[id] == hash && r.keyLength == parts.keyLength && r.strays == parts.strays
                && compareReferences(m_text, r, m_text, parts, m_letters) == 0)
                return id;
        }
        const auto id = static_cast<WordTable::ReferenceId>(m_references.size());
        m_references.push_back(parts);
        m_hashes.push_back(hash);
        m_slots[slot] = id;
        if (m_references.size() * 2 > m_slots.size())
            grow();
        return id;
    }

private:
    void grow()
    {
        std::vector<WordTable::ReferenceId> slots(m_slots.size() * 2, kNone);
        const std::size_t mask = slots.size() - 1;
        for (WordTable::ReferenceId id = 0; id < m_references.size(); ++id) {
            std::size_t slot = m_hashes[id] & mask;
            while (slots[slot] != kNone)
                slot = (slot + 1) & mask;
            slots[slot] = id;
        }
        m_slots = std::move(slots);
    }

    const std::string& m_text;
    LetterSet m_letters;
    std::vector<WordTable::Reference>& m_references;
    std::vector<std::uint32_t>& m_hashes;  // by id
    std::vector<WordTable::ReferenceId> m_slots;
};

// Every distinct form gets one type id: an open-addressing table of ids keyed by a hash of the
// form's bytes, kept only while the text is cut. A form is hashed from at most a few 8-byte
// loads, since most words are short, and compared with the type's own copy, which stays in
// cache where the word's first occurrence in the text would not.
class TypeInterner {
public:
    static constexpr WordTable::TypeId kNone = ~WordTable::TypeId(0);

    TypeInterner(std::vector<std::uint32_t>& frequency, std::vector<std::uint32_t>& start,
                 std::string& bytes)
        : m_frequency(frequency), m_start(start), m_bytes(bytes), m_slots(4096, Slot{0, kNone})
    {
        m_start.push_back(0);
    }

    // The type of the form [p, p + length); `end` is the end of the text, which no load passes.
    WordTable::TypeId intern(const unsigned char* p, std::size_t length, const unsigned char* end)
    {
        const std::uint32_t hash = hashOf(p, length, end);
        const std::size_t mask = m_slots.size() - 1;
        std::size_t slot = hash & mask;
        for (; m_slots[slot].type != kNone; slot = (slot + 1) & mask) {
            const Slot& s = m_slots[slot];
            if (s.hash != hash)
                continue;
            const std::uint32_t from = m_start[s.type];
            if (m_start[s.type + 1] - from == length
                && std::memcmp(m_bytes.data() + from, p, length) == 0) {
                ++m_frequency[s.type];
                return s.type;
            }
        }
        const auto type = static_cast<WordTable::TypeId>(m_frequency.size());
        m_frequency.push_back(1);
        m_bytes.append(reinterpret_cast<const char*>(p), length);
        m_start.push_back(static_cast<std::uint32_t>(m_bytes.size()));
        m_slots[slot] = Slot{hash, type};
        if (m_frequency.size() * 2 > m_slots.size())
            grow();
        return type;
    }

private:
    struct Slot {
        std::uint32_t hash;
        WordTable::TypeId type;
    };

    static std::uint64_t load(const unsigned char* p) noexcept
    {
        std::uint64_t v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    static std::uint32_t finish(std::uint64_t h) noexcept
    {
        h ^= h >> 29;
        h *= 0xbf58476d1ce4e5b9ull;
        return static_cast<std::uint32_t>(h >> 32);
    }
    // Depends on the bytes and the length only, never on where the form stands.
    static std::uint32_t hashOf(const unsigned char* p, std::size_t length,
                                const unsigned char* end) noexcept
    {
        constexpr std::uint64_t k = 0x9e3779b97f4a7c15ull;
        if (length <= 8) {
            std::uint64_t v = 0;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
            if (end - p >= 8) {
                // One load; the bytes past the form are masked off.
                v = load(p);
                if (length < 8)
                    v &= (std::uint64_t(1) << (8 * length)) - 1;
            } else
#endif
                std::memcpy(&v, p, length);
            return finish((v ^ length) * k);
        }
        std::uint64_t h = length * k;
        std::size_t i = 0;
        for (; i + 8 < length; i += 8)
            h = (h ^ load(p + i)) * k;
        // The last 8 bytes, overlapping the chunk before when the length is no multiple of 8.
        return finish((h ^ load(p + length - 8)) * k);
    }

    void grow()
    {
        std::vector<Slot> slots(m_slots.size() * 2, Slot{0, kNone});
        const std::size_t mask = slots.size() - 1;
        for (const Slot& s : m_slots) {
            if (s.type == kNone)
                continue;
            std::size_t slot = s.hash & mask;
            while (slots[slot].type != kNone)
                slot = (slot + 1) & mask;
            slots[slot] = s;
        }
        m_slots = std::move(slots);
    }

    std::vector<std::uint32_t>& m_frequency;
    std::vector<std::uint32_t>& m_start;
    std::string& m_bytes;
    std::vector<Slot> m_slots;
};

} // namespace

WordTable WordTable::segment(std::string text, LetterSet letters)
{
    // Offsets and word numbers are 32-bit.
    if (text.size() >= std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("text too large for the word table");

    WordTable table;
    table.m_letters = letters;
    table.m_text = std::move(text);
    const std::string& t = table.m_text;
    const std::size_t n = t.size();
    const auto& isLetterByte = letterTable(letters);
    const unsigned char* const begin = reinterpret_cast<const unsigned char*>(t.data());
    const unsigned char* const end = begin + n;

    // Counting the words first sizes the table exactly: growing it by doubling would hold
    // up to three times its size at the moment of a copy.
    {
        std::size_t words = 0;
        unsigned prev = 0;
        for (const unsigned char* p = begin; p < end; ++p) {
            const unsigned cur = isLetterByte[*p];
            words += cur & (prev ^ 1u);
            prev = cur;
        }
        table.m_offsets.reserve(words);
        table.m_typeOf.reserve(words);
        table.m_blockRun.reserve((words >> kBlockShift) + 1);
    }

    ReferenceInterner interner(t, letters, table.m_references, table.m_referenceHashes);
    TypeInterner types(table.m_typeFrequency, table.m_typeStart, table.m_typeBytes);
    MarkerReader key(letters);
    bool changed = true;  // the empty reference has no id until a word needs it
    ReferenceId current = ReferenceInterner::kNone;
    auto add = [&](const unsigned char* start, const unsigned char* stop) {
        const auto word = static_cast<std::uint32_t>(table.m_offsets.size());
        if (changed) {
            changed = false;
            const ReferenceId id = interner.intern(key);
            if (id != current) {
                current = id;
                table.m_runStart.push_back(word);
                table.m_runReference.push_back(id);
            }
        }
        if ((word & ((1u << kBlockShift) - 1)) == 0)
            table.m_blockRun.push_back(static_cast<std::uint32_t>(table.m_runStart.size() - 1));
        table.m_offsets.push_back(static_cast<std::uint32_t>(start - begin));
        table.m_typeOf.push_back(types.intern(start, static_cast<std::size_t>(stop - start), end));
    };

    // std::string keeps a '\0' after its last byte, and '\0' is no letter: a run of letters
    // stops there without a bounds test.
    const unsigned char* p = begin;
    while (p < end) {
        if (isLetterByte[*p]) {
            const unsigned char* const start = p;
            do
                ++p;
            while (isLetterByte[*p]);
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
    table.m_runStart.shrink_to_fit();
    table.m_runReference.shrink_to_fit();
    table.m_references.shrink_to_fit();
    table.m_referenceHashes.shrink_to_fit();
    table.m_typeFrequency.shrink_to_fit();
    table.m_typeStart.shrink_to_fit();
    table.m_typeBytes.shrink_to_fit();
    return table;
}

} // namespace quorvex
