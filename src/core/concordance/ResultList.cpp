#include "concordance/ResultList.h"

#include "concordance/FormQuery.h"
#include "concordance/PhraseQuery.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <string>

namespace quorvex {

ResultList findForms(const WordTable& table, std::string_view typedQuery)
{
    return PhraseQuery(typedQuery, false, Folding::Case).find(table);
}

std::string_view attestationForm(const WordTable& table, const Attestation& a, std::string& scratch)
{
    if (a.words == 0)
        return {};
    if (a.words == 1)
        return table.form(a.first);
    scratch.clear();
    for (std::uint32_t k = 0; k < a.words; ++k) {
        if (k > 0)
            scratch += ' ';
        scratch += table.form(a.first + k);
    }
    return scratch;
}

std::string attestationForm(const WordTable& table, const Attestation& a)
{
    std::string scratch;
    return std::string(attestationForm(table, a, scratch));
}

void appendAttestationReference(const WordTable& table, const Attestation& a, std::string& out)
{
    if (a.words > 0)
        table.appendReference(a.first, out);
}

std::size_t attestationOffset(const WordTable& table, const Attestation& a)
{
    return a.words == 0 ? 0 : table.formOffset(a.first);
}

std::size_t attestationLength(const WordTable& table, const Attestation& a)
{
    if (a.words == 0)
        return 0;
    const std::size_t last = a.first + a.words - 1;
    return table.formOffset(last) + table.form(last).size() - table.formOffset(a.first);
}

std::size_t countForms(const WordTable& table, std::string_view typedQuery)
{
    return PhraseQuery(typedQuery, false, Folding::Case).count(table);
}

std::size_t countForms(std::string_view text, std::string_view typedQuery, LetterSet letters)
{
    const FormQuery query = FormQuery::parse(typedQuery);
    const std::array<bool, 256>& letter = letterTable(letters);
    const auto* const begin = reinterpret_cast<const unsigned char*>(text.data());
    const auto* const end = begin + text.size();
    std::size_t count = 0;
    for (const unsigned char* p = begin; p < end;) {
        if (!letter[*p]) {
            ++p;
            continue;
        }
        const unsigned char* const start = p;
        while (++p < end && letter[*p]) {
        }
        count += query.matches(std::string_view(reinterpret_cast<const char*>(start),
                                                static_cast<std::size_t>(p - start)))
            ? 1
            : 0;
    }
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

// Rank of every row's lowered form: the distinct types of the rows' words are lowered once
// each, then ranked. A row of one word takes its word's rank; rows of several words are
// ranked on the sequences of their words' ranks, which order as the forms joined by blanks
// would, since a blank sorts before every letter.
std::size_t rankForms(const WordTable& table, const ResultList& results,
                      std::vector<std::uint32_t>& rankOfRow)
{
    constexpr std::uint32_t kUnseen = ~std::uint32_t(0);
    std::vector<std::uint32_t> slot(table.typeCount(), kUnseen);
    std::vector<WordTable::TypeId> types;
    std::vector<std::uint32_t> wordSlot;   // every row's words, one after the other
    std::vector<std::uint32_t> rowStart(results.size() + 1, 0);
    bool single = true;
    wordSlot.reserve(results.size());
    for (std::size_t r = 0; r < results.size(); ++r) {
        const Attestation& a = results[r];
        single = single && a.words == 1;
        for (std::uint32_t k = 0; k < a.words; ++k) {
            const WordTable::TypeId t = table.typeOf(a.first + k);
            if (slot[t] == kUnseen) {
                slot[t] = static_cast<std::uint32_t>(types.size());
                types.push_back(t);
            }
            wordSlot.push_back(slot[t]);
        }
        rowStart[r + 1] = static_cast<std::uint32_t>(wordSlot.size());
    }
    slot = {};

    std::string arena;
    std::vector<std::pair<std::size_t, std::size_t>> loweredSpan(types.size());
    for (std::size_t s = 0; s < types.size(); ++s) {
        const std::string_view form = table.typeText(types[s]);
        loweredSpan[s] = {arena.size(), form.size()};
        for (const char c : form)
            arena += lowerChar(c);
    }
    const auto lowered = [&](std::uint32_t s) {
        return std::string_view(arena).substr(loweredSpan[s].first, loweredSpan[s].second);
    };
    std::vector<std::uint32_t> byForm(types.size());
    std::iota(byForm.begin(), byForm.end(), 0u);
    // char_traits<char> compares bytes as unsigned, like the grid's text order.
    std::sort(byForm.begin(), byForm.end(),
              [&](std::uint32_t a, std::uint32_t b) { return lowered(a) < lowered(b); });
    // Types that lower alike ("Et", "et") share a rank.
    std::vector<std::uint32_t> rank(types.size());
    std::uint32_t next = 0;
    for (std::size_t i = 0; i < byForm.size(); ++i) {
        if (i > 0 && lowered(byForm[i]) != lowered(byForm[i - 1]))
            ++next;
        rank[byForm[i]] = next;
    }
    for (std::uint32_t& w : wordSlot)
        w = rank[w];
    rankOfRow.resize(results.size());
    if (single) {
        std::copy(wordSlot.begin(), wordSlot.end(), rankOfRow.begin());
        return types.empty() ? 0 : std::size_t(next) + 1;
    }
    const auto words = [&](std::uint32_t r) {
        return std::make_pair(wordSlot.begin() + rowStart[r], wordSlot.begin() + rowStart[r + 1]);
    };
    const auto less = [&](std::uint32_t a, std::uint32_t b) {
        const auto [a0, a1] = words(a);
        const auto [b0, b1] = words(b);
        return std::lexicographical_compare(a0, a1, b0, b1);
    };
    std::vector<std::uint32_t> byRow(results.size());
    std::iota(byRow.begin(), byRow.end(), 0u);
    std::sort(byRow.begin(), byRow.end(), less);
    std::uint32_t rowRank = 0;
    for (std::size_t i = 0; i < byRow.size(); ++i) {
        if (i > 0 && less(byRow[i - 1], byRow[i]))
            ++rowRank;
        rankOfRow[byRow[i]] = rowRank;
    }
    return results.empty() ? 0 : std::size_t(rowRank) + 1;
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
        const WordTable::ReferenceId id = table.referenceId(results[r].first);
        if (slot[id] == kUnseen) {
            slot[id] = static_cast<std::uint32_t>(ids.size());
            ids.push_back(id);
        }
        rankOfRow[r] = slot[id];
    }
    slot = {};
    const std::string_view text = table.text();
    const auto compare = [&](WordTable::ReferenceId a, WordTable::ReferenceId b) {
        return compareReferences(text, table.referenceParts(a), text, table.referenceParts(b),
                                 table.letterSet());
    };
    // The first 16 bytes of each text, zero-padded, as two big-endian numbers: they order
    // most pairs at once, and only equal prefixes need the whole texts.
    struct Prefix {
        std::uint64_t high = 0, low = 0;
        bool operator<(const Prefix& o) const { return high != o.high ? high < o.high : low < o.low; }
        bool operator==(const Prefix& o) const { return high == o.high && low == o.low; }
    };
    std::vector<Prefix> prefix(ids.size());
    for (std::size_t k = 0; k < ids.size(); ++k) {
        char bytes[16] = {};
        table.copyReferencePrefix(ids[k], bytes, sizeof bytes);
        for (int b = 0; b < 8; ++b) {
            prefix[k].high = (prefix[k].high << 8) | static_cast<unsigned char>(bytes[b]);
            prefix[k].low = (prefix[k].low << 8) | static_cast<unsigned char>(bytes[8 + b]);
        }
    }
    std::vector<std::uint32_t> byText(ids.size());
    std::iota(byText.begin(), byText.end(), 0u);
    std::sort(byText.begin(), byText.end(), [&](std::uint32_t a, std::uint32_t b) {
        if (!(prefix[a] == prefix[b]))
            return prefix[a] < prefix[b];
        return compare(ids[a], ids[b]) < 0;
    });
    std::vector<std::uint32_t> rank(ids.size());
    std::uint32_t next = 0;
    for (std::size_t i = 0; i < byText.size(); ++i) {
        if (i > 0
            && (!(prefix[byText[i]] == prefix[byText[i - 1]])
                || compare(ids[byText[i]], ids[byText[i - 1]]) != 0))
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
    // The empty row stands alone: nothing to order.
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
