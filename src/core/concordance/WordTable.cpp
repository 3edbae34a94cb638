#include "concordance/WordTable.h"

#include "concordance/LetterRuns.h"
#include "concordance/TypeInterner.h"

#include "system/LargePages.h"
#include "text/Letters.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <unordered_map>

namespace quorvex {

const std::shared_ptr<const std::string>& WordTable::noText()
{
    static const std::shared_ptr<const std::string> empty = std::make_shared<const std::string>();
    return empty;
}

const std::shared_ptr<const WordTable::References>& WordTable::noReferences()
{
    static const std::shared_ptr<const References> empty = std::make_shared<const References>();
    return empty;
}

std::string WordTable::referenceText(ReferenceId id) const
{
    std::string out;
    appendReferenceText(id, out);
    return out;
}

void WordTable::appendReferenceText(ReferenceId id, std::string& out) const
{
    appendKey(*m_text, m_references->parts[id], m_letters, out);
}

std::size_t WordTable::copyReferencePrefix(ReferenceId id, char* out, std::size_t max) const noexcept
{
    return copyKeyPrefix(*m_text, m_references->parts[id], m_letters, out, max);
}

namespace {

// What a byte can do while a text is cut: make a word, change the reference, or neither.
enum class ByteClass : std::uint8_t { Other, Letter, Bracket };
using ClassTable = std::array<ByteClass, 256>;

ClassTable makeClassTable(LetterSet letters)
{
    ClassTable t{};
    for (int c = 0; c < 256; ++c) {
        const auto b = static_cast<unsigned char>(c);
        t[b] = isLetterOf(letters, b) ? ByteClass::Letter
            : (b == '[' || b == ']')  ? ByteClass::Bracket
                                      : ByteClass::Other;
    }
    return t;
}

const ClassTable& classTable(LetterSet letters)
{
    static const ClassTable window = makeClassTable(LetterSet::Window);
    static const ClassTable extended = makeClassTable(LetterSet::Extended);
    return letters == LetterSet::Extended ? extended : window;
}

// Equal reference texts get one id: an open-addressing table of ids keyed by the reference
// hash, kept only while the text is cut. A slot keeps the hash beside the id, so that the
// probes for a new reference (most of them: a marker per verse) read the table alone.
class ReferenceInterner {
public:
    static constexpr WordTable::ReferenceId kNone = ~WordTable::ReferenceId(0);

    // `expected`: about how many references the text opens, so that the table seldom grows.
    ReferenceInterner(const std::string& text, LetterSet letters,
                      std::vector<WordTable::Reference>& references,
                      std::vector<std::uint32_t>& hashes, std::size_t expected)
        : m_text(text), m_letters(letters), m_references(references), m_hashes(hashes)
    {
        std::size_t size = 1024;
        while (size < 2 * expected && size < (std::size_t(1) << 22))
            size *= 2;
        m_slots.assign(size, Slot{});
    }

    WordTable::ReferenceId intern(const MarkerReader& key)
    {
        const ReferenceParts& parts = key.parts();
        const std::uint32_t hash = WordTable::shortHash(key.hash());
        const std::size_t mask = m_slots.size() - 1;
        std::size_t slot = hash & mask;
        for (; m_slots[slot].id != kNone; slot = (slot + 1) & mask) {
            if (m_slots[slot].hash != hash)
                continue;
            const WordTable::ReferenceId id = m_slots[slot].id;
            const WordTable::Reference& r = m_references[id];
            if (r.keyLength == parts.keyLength && r.strays == parts.strays
                && compareReferences(m_text, r, m_text, parts, m_letters) == 0)
                return id;
        }
        const auto id = static_cast<WordTable::ReferenceId>(m_references.size());
        m_references.push_back(parts);
        m_hashes.push_back(hash);
        m_slots[slot] = Slot{hash, id};
        if (m_references.size() * 2 > m_slots.size())
            grow();
        return id;
    }

private:
    struct Slot {
        std::uint32_t hash = 0;
        WordTable::ReferenceId id = kNone;
    };

    void grow()
    {
        std::vector<Slot> slots(m_slots.size() * 2);
        const std::size_t mask = slots.size() - 1;
        for (const Slot& s : m_slots) {
            if (s.id == kNone)
                continue;
            std::size_t slot = s.hash & mask;
            while (slots[slot].id != kNone)
                slot = (slot + 1) & mask;
            slots[slot] = s;
        }
        m_slots = std::move(slots);
    }

    const std::string& m_text;
    LetterSet m_letters;
    std::vector<WordTable::Reference>& m_references;
    std::vector<std::uint32_t>& m_hashes;  // by id
    std::vector<Slot> m_slots;
};

} // namespace

WordTable WordTable::segment(std::string text, LetterSet letters)
{
    // Offsets and word numbers are 32-bit.
    if (text.size() >= std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("text too large for the word table");
    return cut(std::make_shared<const std::string>(std::move(text)), letters);
}

WordTable WordTable::cut(std::shared_ptr<const std::string> text, LetterSet letters)
{
    WordTable table;
    table.m_letters = letters;
    table.m_text = std::move(text);
    table.m_bytes = table.m_text->data();
    const std::string& t = *table.m_text;
    auto references = std::make_shared<References>();
    const std::size_t n = t.size();
    const auto& isLetterByte = letterTable(letters);
    const unsigned char* const begin = reinterpret_cast<const unsigned char*>(t.data());
    const unsigned char* const end = begin + n;

    // Counting the words first sizes the table exactly: growing it by doubling would hold
    // up to three times its size at the moment of a copy.
    {
        std::size_t words = 0;
        forEachLetterRun(begin, n, isLetterByte, [&words](std::size_t, std::size_t) { ++words; });
        table.m_offsets.reserve(words);
        table.m_typeOf.reserve(words);
        sys::adviseLargePages(table.m_offsets.data(), words * sizeof(std::uint32_t));
        sys::adviseLargePages(table.m_typeOf.data(), words * sizeof(TypeId));
        table.m_blockRun.reserve((words >> kBlockShift) + 1);
    }

    // Every "[" may open a new reference: their number sizes the references' table.
    const auto brackets = static_cast<std::size_t>(std::count(t.begin(), t.end(), '['));
    ReferenceInterner interner(t, letters, references->parts, references->hashes, brackets);
    TypeInterner types(table.m_typeFrequency, table.m_typeStart, table.m_typeBytes);
    MarkerReader key(letters);
    bool changed = true;  // the empty reference has no id until a word needs it
    ReferenceId current = ReferenceInterner::kNone;
    std::uint32_t word = 0;

    // Words are found by their edges; the bytes between two words, and the one that ends a
    // word, go through the reference reader where they can touch the reference (brackets, and
    // anything inside a group), in text order, before the word is stored.
    const auto& byteClass = classTable(letters);
    const auto touchesReference = [&](std::size_t at) {
        return byteClass[begin[at]] == ByteClass::Bracket || key.inGroup();
    };
    std::size_t fed = 0;  // the bytes before it went through the reader
    // Words go to the type table in small batches, each slot fetched before the first is read.
    constexpr std::size_t kBatch = 16;
    TypeInterner::Probe batch[kBatch];
    std::size_t queued = 0;
    const auto flush = [&] {
        for (std::size_t k = 0; k < queued; ++k)
            table.m_typeOf.push_back(types.intern(batch[k]));
        queued = 0;
    };
    forEachLetterRun(begin, n, isLetterByte, [&](std::size_t start, std::size_t stop) {
        for (std::size_t q = fed; q < start; ++q)
            if (touchesReference(q))
                changed |= key.feed(begin[q], q);
        // The character that ends the word updates the reference first.
        if (stop < n && touchesReference(stop))
            changed |= key.feed(begin[stop], stop);
        fed = stop + 1;

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
        table.m_offsets.push_back(static_cast<std::uint32_t>(start));
        batch[queued] = TypeInterner::probe(begin + start, stop - start, end);
        types.prefetch(batch[queued]);
        if (++queued == kBatch)
            flush();
        ++word;
    });
    flush();
    table.m_runStart.shrink_to_fit();
    table.m_runReference.shrink_to_fit();
    references->parts.shrink_to_fit();
    references->hashes.shrink_to_fit();
    table.m_references = std::move(references);
    table.m_typeFrequency.shrink_to_fit();
    table.m_typeStart.shrink_to_fit();
    table.m_typeBytes.shrink_to_fit();
    return table;
}

WordTable WordTable::withExtendedLetters(const WordTable& window)
{
    const std::string& t = *window.m_text;
    if (window.m_letters == LetterSet::Extended)
        return window;
    const auto& windowLetter = letterTable(LetterSet::Window);
    const auto& extendedLetter = letterTable(LetterSet::Extended);

    // The extra letters, in text order. One inside a marker is part of its reference for the
    // window's letters and a word of its own for the extended ones: the references differ.
    // They are all above 0x7F, so eight bytes without a high bit are passed over at once; a
    // marker is open where the last bracket before the letter is a "[".
    std::vector<std::uint32_t> extra;
    {
        std::array<bool, 256> isExtra{};
        for (int c = 0; c < 256; ++c)
            isExtra[c] = extendedLetter[c] && !windowLetter[c];
        const auto* p = reinterpret_cast<const unsigned char*>(t.data());
        const std::size_t n = t.size();
        bool inGroup = false;    // as the text stands before `settled`
        std::size_t settled = 0;
        // Whether a marker is open at q: the bytes back to the last letter looked at decide.
        const auto openAt = [&](std::size_t q) {
            for (std::size_t b = q; b > settled; --b)
                if (p[b - 1] == '[' || p[b - 1] == ']') {
                    inGroup = p[b - 1] == '[';
                    break;
                }
            settled = q;
            return inGroup;
        };
        constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
        std::size_t q = 0;
        while (q < n) {
            if (q + 8 <= n) {
                std::uint64_t eight;
                std::memcpy(&eight, p + q, 8);
                if ((eight & kHighBits) == 0) {
                    q += 8;
                    continue;
                }
            }
            for (const std::size_t stop = std::min(q + 8, n); q < stop; ++q) {
                if (!isExtra[p[q]])
                    continue;
                if (openAt(q))
                    return cut(window.m_text, LetterSet::Extended);
                extra.push_back(static_cast<std::uint32_t>(q));
            }
        }
    }

    WordTable table;
    table.m_letters = LetterSet::Extended;
    table.m_text = window.m_text;
    table.m_bytes = window.m_bytes;
    table.m_references = window.m_references;
    const std::size_t words = window.size();
    table.m_offsets.reserve(words + extra.size());
    table.m_typeOf.reserve(words + extra.size());
    sys::adviseLargePages(table.m_offsets.data(), (words + extra.size()) * sizeof(std::uint32_t));
    sys::adviseLargePages(table.m_typeOf.data(), (words + extra.size()) * sizeof(TypeId));
    table.m_blockRun.reserve(((words + extra.size()) >> kBlockShift) + 1);
    table.m_typeStart.push_back(0);

    // Types are numbered in the order of their first word, as a cut numbers them. A joined
    // word holds an extra letter, so it never shares a type with a word left whole.
    const auto newType = [&table](std::string_view form) {
        const auto type = static_cast<TypeId>(table.m_typeFrequency.size());
        table.m_typeBytes.append(form);
        table.m_typeStart.push_back(static_cast<std::uint32_t>(table.m_typeBytes.size()));
        table.m_typeFrequency.push_back(0);
        return type;
    };
    constexpr TypeId kNoType = ~TypeId(0);
    std::vector<TypeId> typeOfWindowType(window.typeCount(), kNoType);
    std::unordered_map<std::string_view, TypeId> joinedTypes;

    ReferenceId current = ~ReferenceId(0);
    std::uint32_t word = 0;
    const auto store = [&](std::uint32_t start, TypeId type, ReferenceId reference) {
        if (reference != current) {
            current = reference;
            table.m_runStart.push_back(word);
            table.m_runReference.push_back(reference);
        }
        if ((word & ((1u << kBlockShift) - 1)) == 0)
            table.m_blockRun.push_back(static_cast<std::uint32_t>(table.m_runStart.size() - 1));
        table.m_offsets.push_back(start);
        table.m_typeOf.push_back(type);
        ++table.m_typeFrequency[type];
        ++word;
    };
    // The window's runs are walked beside its words.
    std::size_t run = 0;
    const auto referenceOfWindowWord = [&](std::size_t i) {
        while (run + 1 < window.m_runStart.size() && window.m_runStart[run + 1] <= i)
            ++run;
        return window.m_runReference[run];
    };
    const auto lengthOf = [&window](std::size_t i) {
        const TypeId w = window.m_typeOf[i];
        return window.m_typeStart[w + 1] - window.m_typeStart[w];
    };

    std::size_t i = 0;
    std::size_t e = 0;
    while (i < words || e < extra.size()) {
        if (i < words && (e == extra.size() || window.m_offsets[i] < extra[e])) {
            const std::uint32_t start = window.m_offsets[i];
            if (e == extra.size() || extra[e] != start + lengthOf(i)) {
                // A word no extra letter touches: as it was.
                TypeId& type = typeOfWindowType[window.m_typeOf[i]];
                if (type == kNoType)
                    type = newType(window.typeText(window.m_typeOf[i]));
                store(start, type, referenceOfWindowWord(i));
                ++i;
                continue;
            }
        }
        // Window words and extra letters that follow each other make one word.
        const std::uint32_t start =
            i < words && (e == extra.size() || window.m_offsets[i] < extra[e]) ? window.m_offsets[i] : extra[e];
        std::uint32_t stop = start;
        bool endsInWindowWord = false;
        bool oneReference = true;  // every window word in it had the same
        ReferenceId reference = ~ReferenceId(0);
        for (;;) {
            if (i < words && window.m_offsets[i] == stop) {
                stop += lengthOf(i);
                const ReferenceId own = referenceOfWindowWord(i++);
                oneReference &= reference == ~ReferenceId(0) || own == reference;
                reference = own;
                endsInWindowWord = true;
            } else if (e < extra.size() && extra[e] == stop) {
                ++stop;
                ++e;
                endsInWindowWord = false;
            } else {
                break;
            }
        }
        // Its reference is the one its last window word had, unless an extra letter ends it
        // (the byte after it may then change the reference where no window word was stored),
        // or its window words had several (a bracket right after it changed the reference:
        // the window's table then holds one that no word of the joined table has).
        if (!endsInWindowWord || !oneReference)
            return cut(window.m_text, LetterSet::Extended);
        const std::string_view form(t.data() + start, stop - start);
        const auto found = joinedTypes.try_emplace(form, kNoType).first;
        if (found->second == kNoType)
            found->second = newType(form);
        store(start, found->second, reference);
    }
    // The words' arrays are left as reserved: the few extra letters are all they overshoot.
    table.m_runStart.shrink_to_fit();
    table.m_runReference.shrink_to_fit();
    table.m_typeFrequency.shrink_to_fit();
    table.m_typeStart.shrink_to_fit();
    table.m_typeBytes.shrink_to_fit();
    return table;
}

} // namespace quorvex
