#include "passages/ReferencePassages.h"

#include "text/MarkerReader.h"

#include <algorithm>

namespace quorvex {

ReferencePassages::ReferencePassages(std::string_view text, const WordTable& table,
                                     const std::vector<WordTable::ReferenceId>& references)
    : m_text(text), m_passageOf(table.referenceCount(), kNoSlice)
{
    const std::string_view tableText = table.text();
    const LetterSet letters = table.letterSet();

    std::size_t longest = 0;
    bool anyInGroup = false;  // a reference asked for that ends inside an open group
    for (const WordTable::ReferenceId id : references) {
        if (m_passageOf[id] != kNoSlice)
            continue;
        const ReferenceParts& parts = table.referenceParts(id);
        m_passageOf[id] = static_cast<std::uint32_t>(m_passages.size());
        Passage p;
        p.reference = id;
        m_passages.push_back(p);
        longest = std::max(longest, parts.textLength());
        anyInGroup = anyInGroup
            || (parts.markerLength > 0 && parts.strays == 0
                && tableText[parts.markerOffset + parts.markerLength - 1] != ']');
    }
    if (m_passages.empty())
        return;

    // The passages asked for by the hash of their reference: open addressing over a table
    // at most half full, one probe for most markers of the text.
    struct Slot {
        std::uint32_t hash;
        std::uint32_t passage;  // kNoSlice: empty
    };
    std::size_t slotCount = 16;
    while (slotCount < m_passages.size() * 2)
        slotCount *= 2;
    std::vector<Slot> slots(slotCount, Slot{0, kNoSlice});
    const std::size_t mask = slotCount - 1;
    for (std::uint32_t i = 0; i < m_passages.size(); ++i) {
        const std::uint32_t hash = table.referenceHash(m_passages[i].reference);
        std::size_t s = hash & mask;
        while (slots[s].passage != kNoSlice)
            s = (s + 1) & mask;
        slots[s] = Slot{hash, i};
    }

    MarkerReader key(letters);
    // The passage whose reference equals the key in force, or none. Looked up only when the
    // key changes; a key longer than every reference asked for cannot match, nor can an open
    // group when every reference asked for is closed.
    Passage* current = nullptr;
    const auto relookup = [&] {
        current = nullptr;
        if (key.parts().textLength() > longest || (key.inGroup() && !anyInGroup))
            return;
        const std::uint32_t hash = WordTable::shortHash(key.hash());
        for (std::size_t s = hash & mask; slots[s].passage != kNoSlice; s = (s + 1) & mask) {
            if (slots[s].hash != hash)
                continue;
            Passage& candidate = m_passages[slots[s].passage];
            const ReferenceParts& wanted = table.referenceParts(candidate.reference);
            if (wanted.keyLength == key.parts().keyLength && wanted.strays == key.parts().strays
                && compareReferences(text, key.parts(), tableText, wanted, letters) == 0) {
                current = &candidate;
                return;
            }
        }
    };
    // Positions [from, to) all have the key of `current`.
    const auto take = [&](std::size_t from, std::size_t to) {
        if (from >= to)
            return;
        current->end = to;
        if (!current->found) {
            current->found = true;
            current->head = key.parts();
            ++from;
            if (from == to)
                return;
        }
        if (current->lastSlice != kNoSlice) {
            Slice& last = m_slices[current->lastSlice];
            if (last.offset + last.length == from) {
                last.length += to - from;
                return;
            }
        }
        const auto s = static_cast<std::uint32_t>(m_slices.size());
        m_slices.push_back(Slice{from, to - from, kNoSlice});
        if (current->lastSlice == kNoSlice)
            current->firstSlice = s;
        else
            m_slices[current->lastSlice].next = s;
        current->lastSlice = s;
    };

    relookup();  // the empty key before the first character
    const std::size_t n = text.size();
    const auto* t = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = t[i];
        if (key.leavesUnchanged(c)) {
            // Outside groups only "[" and "]" change anything: skip to the next one.
            const auto j = static_cast<std::size_t>(
                nextBracket(text.data() + i + 1, text.data() + n) - text.data());
            if (current)
                take(i, j);
            i = j;
            continue;
        }
        if (key.feed(c, i))
            relookup();
        if (current)
            take(i, i + 1);
        ++i;
    }
}

bool ReferencePassages::found(WordTable::ReferenceId reference) const
{
    const Passage* p = lookup(reference);
    return p && p->found;
}

} // namespace quorvex
