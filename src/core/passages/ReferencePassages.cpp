#include "passages/ReferencePassages.h"

#include "concordance/ReferenceKey.h"

#include <algorithm>
#include <unordered_map>

namespace quorvex {

ReferencePassages::ReferencePassages(std::string_view text, const WordTable& table,
                                     const std::vector<WordTable::ReferenceId>& references)
    : m_text(text), m_passageOf(table.referenceCount(), kNoSlice)
{
    const std::string_view tableText = table.text();
    const LetterSet letters = table.letterSet();

    // The hash of a table reference, as a scan of its own text would find it.
    const auto hashOf = [&](const ReferenceParts& r) {
        std::string key;
        key.reserve(r.keyLength);
        for (std::uint32_t i = 0; i < r.markerLength; ++i) {
            const auto c = static_cast<unsigned char>(tableText[r.markerOffset + i]);
            if (!isLetterOf(letters, c))
                key += static_cast<char>(c);
        }
        return ReferenceKey::hashOf(reinterpret_cast<const unsigned char*>(key.data()),
                                    key.size(), r.strays);
    };

    std::unordered_map<std::uint64_t, std::uint32_t> firstWithHash;
    std::size_t longest = 0;
    bool anyInGroup = false;  // a reference asked for that ends inside an open group
    for (const WordTable::ReferenceId id : references) {
        if (m_passageOf[id] != kNoSlice)
            continue;
        const ReferenceParts& parts = table.referenceParts(id);
        const auto index = static_cast<std::uint32_t>(m_passages.size());
        m_passageOf[id] = index;
        Passage p;
        p.reference = id;
        const auto [it, added] = firstWithHash.try_emplace(hashOf(parts), index);
        if (!added) {
            p.nextWithHash = it->second;
            it->second = index;
        }
        m_passages.push_back(p);
        longest = std::max(longest, parts.textLength());
        anyInGroup = anyInGroup
            || (parts.markerLength > 0 && parts.strays == 0
                && tableText[parts.markerOffset + parts.markerLength - 1] != ']');
    }
    if (m_passages.empty())
        return;

    ReferenceKey key;
    // The passage whose reference equals the key in force, or none. Looked up only when the
    // key changes; a key longer than every reference asked for cannot match, nor can an open
    // group when every reference asked for is closed.
    Passage* current = nullptr;
    const auto relookup = [&] {
        current = nullptr;
        if (key.parts().textLength() > longest || (key.inGroup() && !anyInGroup))
            return;
        const auto it = firstWithHash.find(key.hash());
        if (it == firstWithHash.end())
            return;
        for (std::uint32_t i = it->second; i != kNoSlice; i = m_passages[i].nextWithHash) {
            const ReferenceParts& wanted = table.referenceParts(m_passages[i].reference);
            if (wanted.keyLength == key.parts().keyLength && wanted.strays == key.parts().strays
                && compareReferences(text, key.parts(), tableText, wanted, letters) == 0) {
                current = &m_passages[i];
                return;
            }
        }
    };
    // Positions [from, to) all have the key of `current`.
    const auto take = [&](std::size_t from, std::size_t to) {
        if (from >= to)
            return;
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
            std::size_t j = i + 1;
            while (j < n && t[j] != '[' && t[j] != ']')
                ++j;
            if (current)
                take(i, j);
            i = j;
            continue;
        }
        // Inside a group a letter is kept in the marker as written but leaves the key.
        if (!(key.inGroup() && isLetterOf(letters, c)) && key.feed(c, i))
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
