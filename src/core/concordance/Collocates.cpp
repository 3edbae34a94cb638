#include "concordance/Collocates.h"

#include "text/Cp1252.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace quorvex {

double mutualInformation(double o, double w, double fn, double fc, double s)
{
    return std::log2(o * w / (fn * fc * s));
}

double logLikelihood(double o, double w, double fn, double fc, double s)
{
    const double a = o;
    const double b = fn * s - o;
    const double c = fc - o;
    const double d = w - a - b - c;
    const double row1 = a + b, row2 = c + d, col1 = a + c, col2 = b + d;
    const auto term = [w](double observed, double row, double col) {
        if (observed <= 0)
            return 0.0;
        const double expected = row * col / w;
        return expected > 0 ? observed * std::log(observed / expected) : 0.0;
    };
    return 2 * (term(a, row1, col1) + term(b, row1, col2) + term(c, row2, col1) + term(d, row2, col2));
}

namespace {

// Types is a WordTable or a FormTally: both number the forms alike.
template <typename Types>
CollocateKeys foldedKeysOf(const Types& types, Folding folding)
{
    CollocateKeys keys;
    keys.ofType.reserve(types.typeCount());
    std::unordered_map<std::string, std::uint32_t> byKey;
    std::string key;
    for (std::uint32_t t = 0; t < types.typeCount(); ++t) {
        key.clear();
        appendFolded(key, types.typeText(t), folding);
        const auto [it, added] = byKey.try_emplace(key, static_cast<std::uint32_t>(keys.keys.size()));
        if (added)
            keys.keys.push_back(key);
        keys.ofType.push_back(it->second);
    }
    return keys;
}

} // namespace

CollocateKeys foldedFormKeys(const WordTable& table, Folding folding)
{
    return foldedKeysOf(table, folding);
}

CollocateKeys foldedFormKeys(const FormTally& forms, Folding folding)
{
    return foldedKeysOf(forms, folding);
}

CollocateKeys lemmaKeys(const WordTable& table, const TextLemmata& lemmata, const lexicon::Lexicon& lexicon)
{
    CollocateKeys keys;
    keys.utf8 = true;
    // One key per folded type first, then each written type takes its folded type's.
    std::vector<std::uint32_t> ofFolded(lemmata.typeCount());
    std::unordered_map<std::string, std::uint32_t> byKey;
    for (TextLemmata::TypeId f = 0; f < lemmata.typeCount(); ++f) {
        const TextLemmata::Candidates c = lemmata.candidates(f);
        // Candidates come most frequent first, equals in the lexicon's order.
        std::string key = c.empty() ? cp1252ToUtf8(lemmata.typeForm(f)) : std::string(lexicon.lemma(*c.begin()).spelling);
        const auto [it, added] = byKey.try_emplace(key, static_cast<std::uint32_t>(keys.keys.size()));
        if (added)
            keys.keys.push_back(std::move(key));
        ofFolded[f] = it->second;
    }
    keys.ofType.reserve(table.typeCount());
    for (WordTable::TypeId t = 0; t < table.typeCount(); ++t)
        keys.ofType.push_back(ofFolded[lemmata.writtenFormTypes()[t]]);
    return keys;
}

std::vector<Collocate> findCollocates(const WordTable& table, const ResultList& attestations,
                                      std::size_t window, Folding folding)
{
    return findCollocates(table, attestations, window, foldedFormKeys(table, folding));
}

namespace {

// The co-occurrences of every type counted, scored and sorted under the keys. `words` is W,
// `attestations` f(n).
template <typename Types>
std::vector<Collocate> scoredCollocates(const Types& types, const std::vector<std::size_t>& byType,
                                        std::size_t words, std::size_t attestations, std::size_t window,
                                        const CollocateKeys& keys)
{
    const std::size_t w = words;
    struct Counts {
        std::size_t cooccurrences = 0;
        std::size_t frequency = 0;
    };
    std::vector<Counts> byKey(keys.keys.size());
    for (std::uint32_t t = 0; t < byType.size(); ++t) {
        Counts& counts = byKey[keys.ofType[t]];
        counts.cooccurrences += byType[t];
        counts.frequency += types.typeFrequency(t);
    }

    std::vector<Collocate> out;
    const double fn = static_cast<double>(attestations);
    const double s = 2.0 * static_cast<double>(window);
    for (std::size_t k = 0; k < byKey.size(); ++k) {
        const Counts& counts = byKey[k];
        if (counts.cooccurrences == 0)
            continue;
        Collocate c;
        c.form = keys.keys[k];
        c.cooccurrences = counts.cooccurrences;
        c.frequency = counts.frequency;
        const double o = static_cast<double>(c.cooccurrences);
        const double fc = static_cast<double>(c.frequency);
        c.mi = mutualInformation(o, static_cast<double>(w), fn, fc, s);
        c.logLikelihood = logLikelihood(o, static_cast<double>(w), fn, fc, s);
        out.push_back(std::move(c));
    }
    // Compared as printed (three decimals), so that two scores shown alike go by form.
    std::vector<std::pair<long long, std::size_t>> order;
    order.reserve(out.size());
    for (std::size_t k = 0; k < out.size(); ++k)
        order.emplace_back(std::llround(out[k].logLikelihood * 1000), k);
    std::sort(order.begin(), order.end(), [&out](const auto& a, const auto& b) {
        if (a.first != b.first)
            return a.first > b.first;
        return out[a.second].form < out[b.second].form;
    });
    std::vector<Collocate> sorted;
    sorted.reserve(out.size());
    for (const auto& [shown, k] : order)
        sorted.push_back(std::move(out[k]));
    return sorted;
}

} // namespace

std::vector<Collocate> findCollocates(const WordTable& table, const ResultList& attestations,
                                      std::size_t window, const CollocateKeys& keys)
{
    const std::size_t w = table.size();
    // How many windows cover each word, as a difference array: one pass whatever N is, so
    // "*" with N = 50 costs no more than a rare form.
    std::vector<std::int32_t> cover(w + 1, 0);
    for (const Attestation& s : attestations) {
        const std::size_t first = s.first;
        const std::size_t end = first + s.words;
        const std::size_t before = first >= window ? first - window : 0;
        cover[before] += 1;
        cover[first] -= 1;
        cover[std::min(end, w)] += 1;
        cover[std::min(end + window, w)] -= 1;
    }

    // Every word is counted under its type, in an array that stays in cache; the keys gather
    // the types afterwards.
    std::vector<std::size_t> byType(table.typeCount(), 0);
    std::int64_t running = 0;
    for (std::size_t i = 0; i < w; ++i) {
        running += cover[i];
        byType[table.typeOf(i)] += static_cast<std::size_t>(running);
    }
    return scoredCollocates(table, byType, w, attestations.size(), window, keys);
}

std::vector<Collocate> findCollocates(const FormTally& forms, const std::vector<std::uint8_t>& node,
                                      std::size_t window, const CollocateKeys& keys)
{
    const std::vector<FormTally::TypeId>& typeOf = forms.wordTypes();
    const std::size_t w = typeOf.size();
    std::size_t attestations = 0;
    for (std::uint32_t t = 0; t < node.size(); ++t)
        if (node[t])
            attestations += forms.typeFrequency(t);

    // A word is covered once by every attestation at most N words away but itself: a
    // sliding sum of the node flags over [i - N, i + N], with no array per word.
    const auto isNode = [&](std::size_t i) -> std::size_t { return node[typeOf[i]]; };
    std::vector<std::size_t> byType(forms.typeCount(), 0);
    std::size_t inWindow = 0;
    for (std::size_t i = 0; i < std::min(window, w); ++i)
        inWindow += isNode(i);
    for (std::size_t i = 0; i < w; ++i) {
        if (i + window < w)
            inWindow += isNode(i + window);
        if (i > window)
            inWindow -= isNode(i - window - 1);
        const std::size_t self = isNode(i);
        if (inWindow > self)
            byType[typeOf[i]] += inWindow - self;
    }
    return scoredCollocates(forms, byType, w, attestations, window, keys);
}

} // namespace quorvex
