#include "concordance/PhraseQuery.h"

#include <cstdint>
#include <vector>

namespace quorvex {

WordPattern::WordPattern(std::string_view typed, Folding folding)
    : m_folding(folding),
      // FormQuery lowers what it is given; a spelling-folded text is lowered already.
      m_query(FormQuery::parse(folding == Folding::Case ? std::string(typed) : folded(typed, folding)))
{
}

bool WordPattern::matches(std::string_view form) const
{
    if (m_folding == Folding::Case)
        return m_query.matches(form);
    // The query is folded and lowered already, and a fold is lowered: no second lowering.
    if (!m_query.wildcard)
        return spellingFoldEquals(form, m_query.lowered);
    return spellingFoldStartsWith(form, m_query.prefix) && spellingFoldEndsWith(form, m_query.suffix);
}

PhraseQuery::PhraseQuery(std::string_view typed, bool phrase, Folding folding)
{
    if (!phrase) {
        m_words.emplace_back(typed, folding);
        return;
    }
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t i = 0;
    while (i < typed.size()) {
        while (i < typed.size() && blank(typed[i]))
            ++i;
        const std::size_t start = i;
        while (i < typed.size() && !blank(typed[i]))
            ++i;
        if (i > start)
            m_words.emplace_back(typed.substr(start, i - start), folding);
    }
}

ResultList PhraseQuery::find(const WordTable& table) const
{
    ResultList spans;
    const std::size_t k = m_words.size();
    const std::size_t n = table.size();
    if (k == 0 || n < k)
        return spans;
    // Each pattern is matched once per distinct form, then the words are read by their type.
    std::vector<std::vector<std::uint8_t>> wanted(k, std::vector<std::uint8_t>(table.typeCount()));
    for (std::size_t j = 0; j < k; ++j)
        for (WordTable::TypeId t = 0; t < table.typeCount(); ++t)
            wanted[j][t] = m_words[j].matches(table.typeText(t)) ? 1 : 0;
    if (k == 1) {
        std::size_t count = 0;
        for (WordTable::TypeId t = 0; t < table.typeCount(); ++t)
            count += wanted[0][t] ? table.typeFrequency(t) : 0;
        spans.reserve(count);
        // A query every word matches ("*") needs no walk over the types.
        if (count == n) {
            for (std::size_t i = 0; i < n; ++i)
                spans.push_back(Attestation{static_cast<WordIndex>(i), 1});
            return spans;
        }
        table.forEachWordOfTypes(wanted[0], [&](std::size_t i) {
            spans.push_back(Attestation{static_cast<WordIndex>(i), 1});
        });
        return spans;
    }
    for (std::size_t i = 0; i + k <= n; ++i) {
        std::size_t j = 0;
        while (j < k && wanted[j][table.typeOf(i + j)])
            ++j;
        if (j == k)
            spans.push_back(Attestation{static_cast<WordIndex>(i), static_cast<std::uint32_t>(k)});
    }
    return spans;
}

std::size_t PhraseQuery::count(const WordTable& table) const
{
    if (m_words.size() != 1)
        return find(table).size();
    std::size_t count = 0;
    for (WordTable::TypeId t = 0; t < table.typeCount(); ++t)
        if (m_words[0].matches(table.typeText(t)))
            count += table.typeFrequency(t);
    return count;
}

} // namespace quorvex
