#include "concordance/NeighbourSort.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <string>
#include <utility>

namespace quorvex {

namespace {

// 1 + the rank of each type's folded form among the types the list meets around it; 0 is
// left for "no word". Types that fold alike share a rank.
std::vector<std::uint32_t> rankTypes(const WordTable& table, const std::vector<WordTable::TypeId>& types,
                                     Folding folding)
{
    std::vector<std::string> keys(types.size());
    for (std::size_t i = 0; i < types.size(); ++i)
        keys[i] = folded(table.typeText(types[i]), folding);
    std::vector<std::uint32_t> order(types.size());
    std::iota(order.begin(), order.end(), 0u);
    // std::string compares bytes as unsigned, as the grid's sort does.
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });
    std::vector<std::uint32_t> rank(table.typeCount(), 0);
    std::uint32_t next = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (i == 0 || keys[order[i]] != keys[order[i - 1]])
            ++next;
        rank[types[order[i]]] = next;
    }
    return rank;
}

} // namespace

void sortByNeighbour(const WordTable& table, ResultList& spans, Neighbour side, Folding folding)
{
    if (spans.size() < 2)
        return;
    const std::size_t words = table.size();
    // The word `step` places out from the attestation, or words (none) past the text's ends.
    const auto neighbour = [&](const Attestation& s, std::size_t step) -> std::size_t {
        if (side == Neighbour::Left)
            return s.first >= step ? s.first - step : words;
        const std::size_t at = std::size_t(s.first) + s.words - 1 + step;
        return at < words ? at : words;
    };
    // Only the types that stand beside an attestation are folded and ranked.
    std::vector<std::uint8_t> seen(table.typeCount(), 0);
    std::vector<WordTable::TypeId> types;
    for (const Attestation& s : spans)
        for (std::size_t step : {1, 2})
            if (const std::size_t w = neighbour(s, step); w < words && !seen[table.typeOf(w)]) {
                seen[table.typeOf(w)] = 1;
                types.push_back(table.typeOf(w));
            }
    seen = {};
    const std::vector<std::uint32_t> rank = rankTypes(table, types, folding);

    struct Keyed {
        std::uint32_t near, far;
        Attestation span;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(spans.size());
    for (const Attestation& s : spans) {
        const std::size_t a = neighbour(s, 1), b = neighbour(s, 2);
        keyed.push_back({a < words ? rank[table.typeOf(a)] : 0u, b < words ? rank[table.typeOf(b)] : 0u, s});
    }
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& x, const Keyed& y) {
        if (x.near != y.near)
            return x.near < y.near;
        if (x.far != y.far)
            return x.far < y.far;
        return x.span.first != y.span.first ? x.span.first < y.span.first : x.span.words < y.span.words;
    });
    for (std::size_t i = 0; i < spans.size(); ++i)
        spans[i] = keyed[i].span;
}

} // namespace quorvex
