#include "concordance/ResultList.h"

#include "concordance/FormQuery.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <unordered_map>

namespace quorvex {

ResultList findForms(const WordTable& table, std::string_view typedQuery)
{
    const FormQuery query = FormQuery::parse(typedQuery);
    ResultList results;
    // Room for every word: pages never written are never resident, and the list does not
    // grow by copies.
    results.reserve(table.size());
    const std::size_t n = table.size();
    for (std::size_t i = 0; i < n; ++i)
        if (query.matches(table.form(i)))
            results.push_back(static_cast<WordIndex>(i));
    return results;
}

std::size_t countForms(const WordTable& table, std::string_view typedQuery)
{
    const FormQuery query = FormQuery::parse(typedQuery);
    std::size_t count = 0;
    const std::size_t n = table.size();
    for (std::size_t i = 0; i < n; ++i)
        count += query.matches(table.form(i)) ? 1 : 0;
    return count;
}

namespace {

// Stable counting sort of the positions in `order` by key[position], keys below `buckets`.
std::vector<std::uint32_t> countingSort(const std::vector<std::uint32_t>& order,
                                        const std::vector<std::uint32_t>& key,
                                        std::size_t buckets)
{
    std::vector<std::uint32_t> start(buckets + 1, 0);
    for (const std::uint32_t pos : order)
        ++start[key[pos] + 1];
    std::partial_sum(start.begin(), start.end(), start.begin());
    std::vector<std::uint32_t> sorted(order.size());
    for (const std::uint32_t pos : order)
        sorted[start[key[pos]]++] = pos;
    return sorted;
}

// Rank of every row's lowered form: the distinct spellings are found first (one hash of a
// slice of the text per row), lowered once each, then the distinct lowered forms ranked.
std::size_t rankForms(const WordTable& table, const ResultList& results,
                      std::vector<std::uint32_t>& rankOfRow)
{
    std::unordered_map<std::string_view, std::uint32_t> spellingId;
    std::vector<std::string_view> spellings;
    rankOfRow.resize(results.size());
    for (std::size_t r = 0; r < results.size(); ++r) {
        const std::string_view form = table.form(results[r]);
        const auto [it, added] =
            spellingId.try_emplace(form, static_cast<std::uint32_t>(spellings.size()));
        if (added)
            spellings.push_back(form);
        rankOfRow[r] = it->second;
    }
    spellingId = {};

    std::string arena;
    std::vector<std::pair<std::size_t, std::size_t>> loweredSpan(spellings.size());
    for (std::size_t s = 0; s < spellings.size(); ++s) {
        loweredSpan[s] = {arena.size(), spellings[s].size()};
        for (const char c : spellings[s])
            arena += lowerChar(c);
    }
    const auto lowered = [&](std::uint32_t s) {
        return std::string_view(arena).substr(loweredSpan[s].first, loweredSpan[s].second);
    };
    std::vector<std::uint32_t> bySpelling(spellings.size());
    std::iota(bySpelling.begin(), bySpelling.end(), 0u);
    // char_traits<char> compares bytes as unsigned, like the grid's text order.
    std::sort(bySpelling.begin(), bySpelling.end(),
              [&](std::uint32_t a, std::uint32_t b) { return lowered(a) < lowered(b); });
    // Spellings that lower alike ("Et", "et") share a rank.
    std::vector<std::uint32_t> rank(spellings.size());
    std::uint32_t next = 0;
    for (std::size_t i = 0; i < bySpelling.size(); ++i) {
        if (i > 0 && lowered(bySpelling[i]) != lowered(bySpelling[i - 1]))
            ++next;
        rank[bySpelling[i]] = next;
    }
    for (std::uint32_t& r : rankOfRow)
        r = rank[r];
    return spellings.empty() ? 0 : std::size_t(next) + 1;
}

// Rank of every row's reference. Equal reference texts share an id in the table, so the
// distinct ids of the rows are the distinct texts.
std::size_t rankReferences(const WordTable& table, const ResultList& results,
                           std::vector<std::uint32_t>& rankOfRow)
{
    constexpr std::uint32_t kUnseen = ~std::uint32_t(0);
    std::vector<std::uint32_t> slot(table.referenceCount(), kUnseen);
    std::vector<WordTable::ReferenceId> ids;
    rankOfRow.resize(results.size());
    for (std::size_t r = 0; r < results.size(); ++r) {
        const WordTable::ReferenceId id = table.referenceId(results[r]);
        if (slot[id] == kUnseen) {
            slot[id] = static_cast<std::uint32_t>(ids.size());
            ids.push_back(id);
        }
        rankOfRow[r] = slot[id];
    }
    const std::string_view text = table.text();
    const auto compare = [&](WordTable::ReferenceId a, WordTable::ReferenceId b) {
        return compareReferences(text, table.referenceParts(a), text, table.referenceParts(b),
                                 table.letterSet());
    };
    std::vector<std::uint32_t> byText(ids.size());
    std::iota(byText.begin(), byText.end(), 0u);
    std::sort(byText.begin(), byText.end(),
              [&](std::uint32_t a, std::uint32_t b) { return compare(ids[a], ids[b]) < 0; });
    std::vector<std::uint32_t> rank(ids.size());
    std::uint32_t next = 0;
    for (std::size_t i = 0; i < byText.size(); ++i) {
        if (i > 0 && compare(ids[byText[i]], ids[byText[i - 1]]) != 0)
            ++next;
        rank[byText[i]] = next;
    }
    for (std::uint32_t& r : rankOfRow)
        r = rank[r];
    return ids.empty() ? 0 : std::size_t(next) + 1;
}

} // namespace

void sortResults(const WordTable& table, ResultList& results, SortKeys keys)
{
    if (results.size() < 2)
        return;
    std::vector<std::uint32_t> order(results.size());
    std::iota(order.begin(), order.end(), 0u);
    std::vector<std::uint32_t> rank;
    // Least significant key first: each counting pass is stable, so the last one decides
    // and the earlier ones break its ties.
    if (keys == SortKeys::FormThenReference) {
        const std::size_t buckets = rankReferences(table, results, rank);
        order = countingSort(order, rank, buckets);
    }
    const std::size_t buckets = rankForms(table, results, rank);
    order = countingSort(order, rank, buckets);
    rank = {};

    ResultList sorted(results.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        sorted[i] = results[order[i]];
    results = std::move(sorted);
}

} // namespace quorvex
