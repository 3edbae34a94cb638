#include "support/PassageIndex.h"

#include <algorithm>

namespace quorvex {

PassageIndex::PassageIndex(std::string_view text, const std::vector<std::string_view>& references)
    : m_text(text)
{
    // The references a key could equal, by the hash a reader would give them.
    std::unordered_multimap<std::uint64_t, Passage*> byHash;
    std::size_t longest = 0;
    for (std::string_view r : references) {
        if (m_byReference.count(r) != 0)
            continue;
        m_keys.emplace_back(r);
        m_passages.emplace_back();
        Passage& p = m_passages.back();
        p.reference = m_keys.back();
        m_byReference.emplace(p.reference, &p);
        std::uint64_t hash = 0;
        if (MarkerReader::hashOfKey(r, LetterSet::Window, hash)) {
            byHash.emplace(hash, &p);
            longest = std::max(longest, r.size());
        }
    }
    if (byHash.empty())
        return;

    MarkerReader scan(LetterSet::Window);
    // The passage whose reference equals the key in force, or none. Looked up only when the
    // key changes; a key longer than every reference asked for cannot match.
    Passage* current = nullptr;
    auto relookup = [&] {
        current = nullptr;
        if (scan.parts().textLength() > longest)
            return;
        const auto [from, to] = byHash.equal_range(scan.hash());
        for (auto it = from; it != to; ++it) {
            if (keyEquals(text, scan.parts(), LetterSet::Window, it->second->reference)) {
                current = it->second;
                return;
            }
        }
    };
    // Positions [from, to) all have the key of `current`.
    auto take = [&](std::size_t from, std::size_t to) {
        if (from >= to)
            return;
        current->end = to;
        if (!current->found) {
            current->found = true;
            current->head = scan.parts();
            ++from;
            if (from == to)
                return;
        }
        auto& rest = current->rest;
        if (!rest.empty() && rest.back().offset + rest.back().length == from)
            rest.back().length += to - from;
        else
            rest.push_back(Slice{from, to - from});
    };

    relookup();  // the empty key before the first character
    const std::size_t n = text.size();
    const auto* t = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t i = 0;
    while (i < n) {
        if (scan.leavesUnchanged(t[i])) {
            // Outside groups only "[" and "]" change anything: skip to the next one.
            const auto j = static_cast<std::size_t>(
                nextBracket(text.data() + i + 1, text.data() + n) - text.data());
            if (current)
                take(i, j);
            i = j;
            continue;
        }
        if (scan.feed(t[i], i))
            relookup();
        if (current)
            take(i, i + 1);
        ++i;
    }
}

const PassageIndex::Passage* PassageIndex::lookup(std::string_view reference) const
{
    const auto it = m_byReference.find(reference);
    return it == m_byReference.end() ? nullptr : it->second;
}

bool PassageIndex::found(std::string_view reference) const
{
    const Passage* p = lookup(reference);
    return p && p->found;
}

void PassageIndex::writePassage(std::string& out, std::string_view reference) const
{
    forEachPiece(reference, [&out](std::string_view piece) { out += piece; });
}

std::size_t PassageIndex::passageLength(std::string_view reference) const
{
    const Passage* p = lookup(reference);
    if (!p || !p->found)
        return 0;
    std::size_t n = std::size_t(p->head.markerLength) + p->head.strays;
    for (const Slice& s : p->rest)
        n += s.length;
    return n;
}

std::string_view PassageIndex::textAfter(std::string_view reference) const
{
    const Passage* p = lookup(reference);
    return p && p->found ? m_text.substr(p->end) : std::string_view();
}

std::string PassageIndex::passage(std::string_view reference) const
{
    std::string out;
    writePassage(out, reference);
    return out;
}

} // namespace quorvex
