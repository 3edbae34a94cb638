#include "translation/Equivalents.h"

#include "concordance/Collocates.h"
#include "passages/ReferencePassages.h"
#include "text/Cp1252.h"

#include <algorithm>
#include <cmath>

namespace quorvex {

namespace {

// The references a passage can belong to: those with a marker. Words before the first marker
// belong to no passage of the other text.
std::vector<WordTable::ReferenceId> markedReferences(const WordTable& table)
{
    std::vector<WordTable::ReferenceId> ids;
    ids.reserve(table.referenceCount());
    for (std::size_t id = 0; id < table.referenceCount(); ++id)
        if (table.referenceParts(static_cast<WordTable::ReferenceId>(id)).markerLength > 0)
            ids.push_back(static_cast<WordTable::ReferenceId>(id));
    return ids;
}

// Calls f(lemma) for each lemma a French word stands for, function words left out unless asked.
template <typename F>
void forEachLemmaOfWord(const FrenchLemmas& lemmas, const FrenchLemmas::Word& w, bool withFunctionWords, F& f)
{
    if (w.functionWord && !withFunctionWords)
        return;
    const FrenchLemmas::LemmaId* ids = lemmas.lemmas(w);
    for (std::uint32_t k = 0; k < w.count; ++k)
        if (withFunctionWords || !lemmas.isFunctionLemma(ids[k]))
            f(ids[k]);
}

// Calls f(lemma) for each lemma standing in the reference's French passage (once a word).
template <typename F>
void forEachPassageLemma(const ReferencePassages& french, WordTable::ReferenceId id,
                         FrenchLemmas& lemmas, bool withFunctionWords, F&& f)
{
    french.forEachStretch(id, [&](std::string_view stretch) {
        FrenchLemmas::forEachWord(stretch, [&](std::size_t, std::string_view word) {
            forEachLemmaOfWord(lemmas, lemmas.word(word), withFunctionWords, f);
        });
    });
}

// The same, the words read from the French text's indexed word table.
template <typename F>
void forEachPassageLemma(const ReferencePassages& french, WordTable::ReferenceId id, const WordTable& table,
                         std::size_t& hint, FrenchLemmas& lemmas, bool withFunctionWords, F&& f)
{
    french.forEachStretch(id, [&](std::string_view stretch) {
        lemmas.forEachWordOfStretch(table, stretch, hint, [&](std::size_t, std::string_view, const FrenchLemmas::Word& w) {
            forEachLemmaOfWord(lemmas, w, withFunctionWords, f);
        });
    });
}

long long roundedThousandths(double x)
{
    return std::llround(x * 1000.0);
}

} // namespace

std::string equivalentsRefusal(bool frenchSide)
{
    return frenchSide ? "--translations cherche dans le texte latin, pas avec --side french." : "";
}

Equivalents findEquivalents(const WordTable& latin, const ResultList& hits,
                            std::string_view frenchText, FrenchLemmas& lemmas,
                            bool withFunctionWords, const TextAlignment* alignment)
{
    // The alignment counted every passage's lemmas: the French text need not be cut.
    if (alignment && alignment->oneLemmaAWord())
        return findEquivalents(latin, hits, WordTable(), lemmas, withFunctionWords, alignment);
    const WordTable table = WordTable::segment(std::string(frenchText), kFrenchLetters);
    return findEquivalents(latin, hits, table, lemmas, withFunctionWords, alignment);
}

Equivalents findEquivalents(const WordTable& latin, const ResultList& hits,
                            const WordTable& frenchTable, FrenchLemmas& lemmas,
                            bool withFunctionWords, const TextAlignment* alignment)
{
    Equivalents eq;
    eq.m_withFunctionWords = withFunctionWords;
    const std::size_t refCount = latin.referenceCount();

    std::vector<char> isQuery(refCount, 0);
    std::vector<WordTable::ReferenceId> queryRefs;
    for (const Attestation& a : hits) {
        const WordTable::ReferenceId id = latin.referenceId(a.first);
        if (!isQuery[id]) {
            isQuery[id] = 1;
            queryRefs.push_back(id);
        }
    }

    // By lemma: the passages holding it, those of the query, and the last passage counted,
    // so that a lemma met twice in a passage counts once.
    std::vector<std::uint32_t> holders, inQuery, stamp;
    constexpr std::uint32_t kNone = ~std::uint32_t(0);
    std::size_t queryPaired = 0;
    const auto grow = [&](FrenchLemmas::LemmaId l) {
        if (l >= stamp.size()) {
            const std::size_t size = std::max<std::size_t>(l + 1, lemmas.lemmaCount());
            holders.resize(size, 0);
            inQuery.resize(size, 0);
            stamp.resize(size, 0);
        }
    };

    if (alignment && alignment->oneLemmaAWord()) {
        // The alignment counted every passage's lemmas: only the query's passages are read.
        holders.assign(alignment->passagesHolding(withFunctionWords),
                       alignment->passagesHolding(withFunctionWords) + alignment->lemmaSlots());
        eq.m_paired = alignment->pairedPassages();
        std::uint32_t passageNumber = 0;
        for (const WordTable::ReferenceId id : queryRefs) {
            const TextAlignment::FrenchWord *begin = nullptr, *end = nullptr;
            if (!alignment->frenchWordsOf(id, begin, end)) {
                eq.m_missing.push_back(id);
                continue;
            }
            ++queryPaired;
            ++passageNumber;
            for (const TextAlignment::FrenchWord* w = begin; w != end; ++w) {
                if (!withFunctionWords && (w->functionWord || lemmas.isFunctionLemma(w->lemma)))
                    continue;
                grow(w->lemma);
                if (stamp[w->lemma] == passageNumber)
                    continue;
                stamp[w->lemma] = passageNumber;
                ++inQuery[w->lemma];
            }
        }
        if (holders.size() < stamp.size())
            holders.resize(stamp.size(), 0);
    } else {
        if (!lemmas.indexes(frenchTable))
            lemmas.indexTypes(frenchTable);
        const std::vector<WordTable::ReferenceId> all = markedReferences(latin);
        const ReferencePassages french(frenchTable.text(), latin, all);
        // The query references found in French.
        std::vector<char> queryFound(refCount, 0);
        std::uint32_t passageNumber = 0;
        std::size_t hint = 0;
        for (const WordTable::ReferenceId id : all) {
            if (!french.found(id))
                continue;
            ++passageNumber;
            const bool query = isQuery[id] != 0;
            if (query) {
                ++queryPaired;
                queryFound[id] = 1;
            }
            forEachPassageLemma(french, id, frenchTable, hint, lemmas, withFunctionWords, [&](FrenchLemmas::LemmaId l) {
                grow(l);
                if (stamp[l] == passageNumber)
                    return;
                stamp[l] = passageNumber;
                ++holders[l];
                if (query)
                    ++inQuery[l];
            });
        }
        eq.m_paired = passageNumber;
        for (const WordTable::ReferenceId id : queryRefs)
            if (!queryFound[id])
                eq.m_missing.push_back(id);
    }

    // By lemma: the hits aligned to it; the last hit counted, so that a hit counts once.
    std::vector<std::uint32_t> aligned, lastHit;
    if (alignment) {
        eq.m_byAlignment = true;
        aligned.assign(lemmas.lemmaCount(), 0);
        lastHit.assign(lemmas.lemmaCount(), kNone);
        for (std::size_t h = 0; h < hits.size(); ++h) {
            const Attestation& hit = hits[h];
            if (hit.words == 0 || !alignment->paired(hit.first))
                continue;
            ++eq.m_pairedHits;
            bool rendered = false;
            for (std::uint32_t w = 0; w < hit.words; ++w)
                alignment->forEachRendering(hit.first + w, [&](const TextAlignment::FrenchWord& fw) {
                    rendered = true;
                    if ((!withFunctionWords && lemmas.isFunctionLemma(fw.lemma)) || fw.lemma >= aligned.size()
                        || lastHit[fw.lemma] == h)
                        return;
                    lastHit[fw.lemma] = static_cast<std::uint32_t>(h);
                    ++aligned[fw.lemma];
                });
            if (!rendered)
                ++eq.m_unrendered;
        }
    }

    const std::size_t n = eq.m_paired;
    auto fill = [&](EquivalentRow& row, std::size_t l) {
        row.lemma = static_cast<FrenchLemmas::LemmaId>(l);
        row.a = l < inQuery.size() ? inQuery[l] : 0;
        row.b = queryPaired - row.a;
        row.c = (l < holders.size() ? holders[l] : 0) - row.a;
        row.d = n - row.a - row.b - row.c;
        row.logLikelihood = logLikelihood(double(row.a), double(n), double(queryPaired),
                                          double(row.a + row.c), 1.0);
        row.dice = row.a ? 2.0 * double(row.a) / double(2 * row.a + row.b + row.c) : 0.0;
    };
    if (alignment) {
        for (std::size_t l = 0; l < aligned.size(); ++l) {
            if (aligned[l] == 0)
                continue;
            EquivalentRow row;
            fill(row, l);
            row.aligned = aligned[l];
            eq.m_rows.push_back(row);
        }
    } else {
        for (std::size_t l = 0; l < inQuery.size(); ++l) {
            if (inQuery[l] == 0)
                continue;
            // a/(a+b) > (a+c)/n, in integers.
            if (static_cast<unsigned long long>(inQuery[l]) * n
                <= static_cast<unsigned long long>(holders[l]) * queryPaired)
                continue;
            EquivalentRow row;
            fill(row, l);
            eq.m_rows.push_back(row);
        }
    }
    std::sort(eq.m_rows.begin(), eq.m_rows.end(), [&](const EquivalentRow& x, const EquivalentRow& y) {
        if (x.aligned != y.aligned)
            return x.aligned > y.aligned;
        const long long gx = roundedThousandths(x.logLikelihood), gy = roundedThousandths(y.logLikelihood);
        if (gx != gy)
            return gx > gy;
        return lemmas.lemmaText(x.lemma) < lemmas.lemmaText(y.lemma);
    });

    return eq;
}

ResultList keepWhereFrenchHoldsLemma(const WordTable& latin, const ResultList& hits,
                                     std::string_view frenchText, FrenchLemmas& lemmas,
                                     std::string_view utf8Lemma)
{
    std::string wanted;
    const Utf8Conversion asked = utf8ToCp1252(utf8Lemma);
    if (asked.ok) {
        std::string cp;
        appendFrenchFolded(cp, asked.bytes);
        wanted = cp1252ToUtf8(cp);
    } else {
        wanted.assign(utf8Lemma);  // a lemma the texts cannot hold matches no French word
    }

    std::vector<WordTable::ReferenceId> refs;
    std::vector<char> seen(latin.referenceCount(), 0);
    for (const Attestation& a : hits) {
        const WordTable::ReferenceId id = latin.referenceId(a.first);
        if (!seen[id]) {
            seen[id] = 1;
            refs.push_back(id);
        }
    }
    const ReferencePassages french(frenchText, latin, refs);
    std::vector<char> holds(latin.referenceCount(), 0);
    for (const WordTable::ReferenceId id : refs)
        forEachPassageLemma(french, id, lemmas, true, [&](FrenchLemmas::LemmaId l) {
            if (lemmas.lemmaText(l) == wanted)
                holds[id] = 1;
        });

    ResultList kept;
    for (const Attestation& a : hits)
        if (holds[latin.referenceId(a.first)])
            kept.push_back(a);
    return kept;
}

} // namespace quorvex
