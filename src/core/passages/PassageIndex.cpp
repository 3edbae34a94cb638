#include "passages/PassageIndex.h"

#include "passages/MarkerKey.h"

#include <algorithm>

namespace quorvex {

PassageIndex::PassageIndex(std::string_view text, const std::vector<std::string_view>& references)
    : m_text(text)
{
    std::size_t longest = 0;
    for (std::string_view r : references) {
        if (m_passages.count(r) == 0) {
            m_keys.emplace_back(r);
            m_passages.try_emplace(m_keys.back());
        }
        longest = std::max(longest, r.size());
    }
    if (m_passages.empty())
        return;

    MarkerKey scan;
    // The passage whose reference equals the key in force, or none. Looked up only when the
    // key changes; a key longer than every reference asked for cannot match.
    Passage* current = nullptr;
    auto relookup = [&] {
        if (scan.key.size() > longest) {
            current = nullptr;
            return;
        }
        const auto it = m_passages.find(scan.key);
        current = it == m_passages.end() ? nullptr : &it->second;
    };
    // Positions [from, to) all have the key of `current`.
    auto take = [&](std::size_t from, std::size_t to) {
        if (from >= to)
            return;
        current->end = to;
        if (!current->found) {
            current->found = true;
            current->head = scan.marker;
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
    const char* t = text.data();
    std::size_t i = 0;
    while (i < n) {
        if (scan.leavesUnchanged(t[i])) {
            // Outside groups only "[" and "]" change anything: skip to the next one.
            std::size_t j = i + 1;
            while (j < n && t[j] != '[' && t[j] != ']')
                ++j;
            if (current)
                take(i, j);
            i = j;
            continue;
        }
        if (scan.feed(t[i]))
            relookup();
        if (current)
            take(i, i + 1);
        ++i;
    }
}

const PassageIndex::Passage* PassageIndex::lookup(std::string_view reference) const
{
    const auto it = m_passages.find(reference);
    return it == m_passages.end() ? nullptr : &it->second;
}

bool PassageIndex::found(std::string_view reference) const
{
    const Passage* p = lookup(reference);
    return p && p->found;
}

void PassageIndex::writePassage(std::string& out, std::string_view reference) const
{
    const Passage* p = lookup(reference);
    if (!p || !p->found)
        return;
    out += p->head;
    for (const Slice& s : p->rest)
        out.append(m_text.data() + s.offset, s.length);
}

std::size_t PassageIndex::passageLength(std::string_view reference) const
{
    const Passage* p = lookup(reference);
    if (!p || !p->found)
        return 0;
    std::size_t n = p->head.size();
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
