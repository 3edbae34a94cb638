#include "translation/TextAlignment.h"

#include "concordance/SpellingFold.h"
#include "passages/ReferencePassages.h"
#include "text/Cp1252.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace quorvex {

namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFFu;

bool capitalised(std::string_view cp1252)
{
    if (cp1252.empty())
        return false;
    const auto c = static_cast<unsigned char>(cp1252.front());
    return (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) || c == 0x8A || c == 0x8C
        || c == 0x8E || c == 0x9F;
}

// The Latin side's alignment ids, by word-table type: its most frequent lemma, else its
// spelling-folded form.
std::vector<std::uint32_t> latinIds(const WordTable& latin, const TextLemmata* lemmata)
{
    std::vector<std::uint32_t> idOfType(latin.typeCount(), 0);
    std::uint32_t next = 0;
    if (lemmata) {
        // Lemma ids and folded types share one dense numbering, looked up by flat arrays.
        std::vector<std::uint32_t> ofLemma, ofFolded(lemmata->typeCount(), kNone);
        const std::vector<TextLemmata::TypeId>& folded = lemmata->writtenFormTypes();
        for (std::size_t t = 0; t < latin.typeCount(); ++t) {
            const TextLemmata::TypeId ft = folded[t];
            const TextLemmata::Candidates c = lemmata->candidates(ft);
            std::uint32_t* slot;
            if (!c.empty()) {
                if (*c.first >= ofLemma.size())
                    ofLemma.resize(std::size_t(*c.first) + 1, kNone);
                slot = &ofLemma[*c.first];
            } else {
                slot = &ofFolded[ft];
            }
            if (*slot == kNone)
                *slot = next++;
            idOfType[t] = *slot;
        }
        return idOfType;
    }
    std::unordered_map<std::string, std::uint32_t> ofFolded;
    for (std::size_t t = 0; t < latin.typeCount(); ++t) {
        const auto found = ofFolded.emplace(folded(latin.typeText(static_cast<WordTable::TypeId>(t)), Folding::Spelling), next);
        if (found.second)
            ++next;
        idOfType[t] = found.first->second;
    }
    return idOfType;
}

// The French word (index among the passage's words) that each capitalised Latin word of a
// passage names, or kNoFixedLink. When as many Latin words as French words are spelt alike
// (Maria ... Maria, Marie ... Marie) they pair in order; otherwise each takes the nearest
// by relative place.
std::vector<std::uint32_t> nameLinks(const WordTable& latin, const std::uint32_t* words, std::uint32_t m,
                                     std::string_view frenchText, const TextAlignment::FrenchWord* french,
                                     std::uint32_t n, const std::vector<std::uint32_t>& frenchNames)
{
    std::vector<std::uint32_t> links(m, kNoFixedLink);
    if (frenchNames.empty())
        return links;
    std::vector<std::vector<std::uint32_t>> alike(m);
    for (std::uint32_t k = 0; k < m; ++k) {
        const std::string_view form = latin.form(words[k]);
        if (!capitalised(form))
            continue;
        for (const std::uint32_t j : frenchNames)
            if (spelledAlike(form, frenchText.substr(french[j].offset, french[j].length)))
                alike[k].push_back(j);
    }
    std::vector<char> done(m, 0);
    for (std::uint32_t k = 0; k < m; ++k) {
        if (alike[k].empty() || done[k])
            continue;
        std::vector<std::uint32_t> group;
        for (std::uint32_t other = k; other < m; ++other)
            if (!done[other] && alike[other] == alike[k])
                group.push_back(other);
        for (std::size_t g = 0; g < group.size(); ++g) {
            const std::uint32_t i = group[g];
            done[i] = 1;
            if (group.size() == alike[k].size()) {
                links[i] = alike[k][g];
                continue;
            }
            double nearest = 2.0;
            for (const std::uint32_t j : alike[k]) {
                const double gap = std::abs((i + 0.5) / m - (j + 0.5) / n);
                if (gap < nearest) {
                    nearest = gap;
                    links[i] = j;
                }
            }
        }
    }
    return links;
}

} // namespace

bool spelledAlike(std::string_view latinCp1252, std::string_view frenchCp1252)
{
    const std::string a = folded(latinCp1252, Folding::Spelling), b = folded(frenchCp1252, Folding::Spelling);
    if (a.size() < 2 || b.size() < 2)
        return false;
    if (a == b)
        return true;
    const std::size_t shared = static_cast<std::size_t>(
        std::mismatch(a.begin(), a.begin() + std::ptrdiff_t(std::min(a.size(), b.size())), b.begin()).first - a.begin());
    return shared >= 4 && 2 * shared >= std::max(a.size(), b.size());
}

std::vector<TextAlignment::FrenchWord> TextAlignment::renderingOf(const Attestation& hit) const
{
    std::vector<FrenchWord> words;
    for (std::uint32_t w = 0; w < hit.words; ++w)
        forEachRendering(hit.first + w, [&](const FrenchWord& fw) {
            for (const FrenchWord& seen : words)
                if (seen.offset == fw.offset)
                    return;
            words.push_back(fw);
        });
    return words;
}

ResultList keepWhereAlignedToLemma(const ResultList& hits, const TextAlignment& alignment,
                                   const FrenchLemmas& lemmas, std::string_view utf8Lemma)
{
    std::string wanted;
    const Utf8Conversion asked = utf8ToCp1252(utf8Lemma);
    if (!asked.ok)
        return {};  // a lemma the texts cannot hold renders nothing
    std::string cp;
    appendFrenchFolded(cp, asked.bytes);
    wanted = cp1252ToUtf8(cp);
    ResultList kept;
    for (const Attestation& hit : hits) {
        bool holds = false;
        for (std::uint32_t w = 0; w < hit.words && !holds; ++w)
            alignment.forEachRendering(hit.first + w, [&](const TextAlignment::FrenchWord& fw) {
                holds = holds || lemmas.lemmaText(fw.lemma) == wanted;
            });
        if (holds)
            kept.push_back(hit);
    }
    return kept;
}

ResultList keepWhereAlignedToForm(const ResultList& hits, const TextAlignment& alignment,
                                  std::string_view frenchText, const WordPattern& pattern)
{
    ResultList kept;
    for (const Attestation& hit : hits) {
        bool holds = false;
        for (std::uint32_t w = 0; w < hit.words && !holds; ++w)
            alignment.forEachRendering(hit.first + w, [&](const TextAlignment::FrenchWord& fw) {
                holds = holds || pattern.matches(frenchText.substr(fw.offset, fw.length));
            });
        if (holds)
            kept.push_back(hit);
    }
    return kept;
}

std::vector<MarkRange> renderingMarks(const std::vector<TextAlignment::FrenchWord>& words,
                                      const ReferencePassages& french, WordTable::ReferenceId reference,
                                      std::string_view frenchText, std::string_view pane)
{
    std::vector<MarkRange> marks;
    std::size_t at = 0;
    french.forEachPiece(reference, [&](std::string_view piece) {
        const char* begin = piece.data();
        for (const TextAlignment::FrenchWord& w : words) {
            const char* word = frenchText.data() + w.offset;
            if (word < begin || word + w.length > begin + piece.size())
                continue;
            const std::size_t start = at + static_cast<std::size_t>(word - begin);
            // The pane may hold another, shorter passage (the viewer stepped to it).
            if (start <= pane.size() && pane.substr(start, w.length) == std::string_view(word, w.length))
                marks.push_back(MarkRange{start, w.length});
        }
        at += piece.size();
    });
    std::sort(marks.begin(), marks.end(), [](const MarkRange& a, const MarkRange& b) { return a.start < b.start; });
    return marks;
}

std::string renderingText(const std::vector<TextAlignment::FrenchWord>& words, std::string_view frenchText)
{
    if (words.empty())
        return "\xE2\x80\x94";  // U+2014
    std::string cp;
    for (const TextAlignment::FrenchWord& w : words) {
        if (!cp.empty())
            cp += ", ";
        cp.append(frenchText.substr(w.offset, w.length));
    }
    return cp1252ToUtf8(cp);
}

TextAlignment alignTexts(const WordTable& latin, std::string_view frenchText, FrenchLemmas& frenchLemmas,
                         const TextLemmata* latinLemmata, const AlignmentSettings& settings,
                         const CacheFolder* cache)
{
    const WordTable french = WordTable::segment(std::string(frenchText), kFrenchLetters);
    return alignTexts(latin, french, frenchLemmas, latinLemmata, settings, cache);
}

TextAlignment alignTexts(const WordTable& latin, const WordTable& frenchTable, FrenchLemmas& frenchLemmas,
                         const TextLemmata* latinLemmata, const AlignmentSettings& settings,
                         const CacheFolder* cache)
{
    TextAlignment out;
    const std::string_view frenchText = frenchTable.text();
    if (!frenchLemmas.indexes(frenchTable))
        frenchLemmas.indexTypes(frenchTable);
    const std::vector<std::uint32_t> idOfType = latinIds(latin, latinLemmata);

    // The runs of Latin words of each reference, in text order: a marker may stand more than
    // once. A run is its first word and its end.
    const std::size_t refs = latin.referenceCount();
    std::vector<std::uint32_t> runStart(refs + 1, 0);
    std::vector<std::uint32_t> runsOfRef;
    {
        std::vector<std::uint32_t> runs;  // first, end, reference
        latin.forEachReferenceRun([&](std::size_t first, std::size_t end, WordTable::ReferenceId r) {
            runs.insert(runs.end(), {static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(end), r});
            ++runStart[r + 1];
        });
        for (std::size_t r = 0; r < refs; ++r)
            runStart[r + 1] += runStart[r];
        runsOfRef.resize(2 * std::size_t(runStart[refs]));
        std::vector<std::uint32_t> next(runStart.begin(), runStart.end() - 1);
        for (std::size_t k = 0; k < runs.size(); k += 3) {
            const std::uint32_t slot = next[runs[k + 2]]++;
            runsOfRef[2 * std::size_t(slot)] = runs[k];
            runsOfRef[2 * std::size_t(slot) + 1] = runs[k + 1];
        }
    }
    // Every reference of the table has a word: those with a marker have a passage.
    std::vector<WordTable::ReferenceId> marked;
    for (std::size_t r = 0; r < refs; ++r)
        if (latin.referenceParts(static_cast<WordTable::ReferenceId>(r)).markerLength > 0
            && runStart[r + 1] > runStart[r])
            marked.push_back(static_cast<WordTable::ReferenceId>(r));
    const ReferencePassages french(frenchText, latin, marked);

    // At most every word of the French text, so that the largest arrays are allocated once.
    const std::size_t frenchCount = frenchTable.size();
    SentencePairs pairs;
    pairs.latin.reserve(latin.size());
    pairs.french.reserve(frenchCount);
    out.m_frenchWords.reserve(frenchCount);
    out.m_tokenOfWord.assign(latin.size(), TextAlignment::kUnpaired);
    out.m_frenchOfReference.assign(2 * refs, TextAlignment::kUnpaired);
    // By French lemma: the passages holding it, without and with the function words, and the
    // last passage that counted it.
    std::vector<std::uint32_t>* holding = out.m_passagesHolding;
    std::vector<std::uint32_t> lastPassage[2];
    const auto hold = [&](int withFunction, FrenchLemmas::LemmaId l, std::uint32_t passage) {
        std::vector<std::uint32_t>& last = lastPassage[withFunction];
        if (l >= last.size()) {
            const std::size_t size = std::max<std::size_t>(std::size_t(l) + 1, frenchLemmas.lemmaCount());
            last.resize(size, TextAlignment::kUnpaired);
            holding[withFunction].resize(size, 0);
        }
        if (last[l] == passage)
            return;
        last[l] = passage;
        ++holding[withFunction][l];
    };
    std::vector<std::uint32_t> fixedLinks;
    std::vector<std::uint32_t> passageWords, frenchNames, names;
    // Passages are visited in the order of their first word, which keeps the tokens in text
    // order on both sides.
    std::vector<WordTable::ReferenceId> order(marked);
    std::sort(order.begin(), order.end(), [&](WordTable::ReferenceId a, WordTable::ReferenceId b) {
        return runsOfRef[2 * std::size_t(runStart[a])] < runsOfRef[2 * std::size_t(runStart[b])];
    });
    std::size_t hint = 0;
    for (const WordTable::ReferenceId r : order) {
        if (!french.found(r))
            continue;
        const auto frenchFirst = static_cast<std::uint32_t>(out.m_frenchWords.size());
        const auto passage = static_cast<std::uint32_t>(out.m_pairedPassages);
        frenchNames.clear();
        french.forEachStretch(r, [&](std::string_view stretch) {
            frenchLemmas.forEachWordOfStretch(frenchTable, stretch, hint, [&](std::size_t offset, std::string_view word,
                                                                            const FrenchLemmas::Word& fw) {
                const FrenchLemmas::LemmaId* lemmas = frenchLemmas.lemmas(fw);
                TextAlignment::FrenchWord french;
                french.offset = static_cast<std::uint32_t>(offset);
                french.length = static_cast<std::uint32_t>(word.size());
                french.functionWord = fw.functionWord ? 1u : 0u;
                french.lemma = lemmas[0];
                if (capitalised(word))
                    frenchNames.push_back(static_cast<std::uint32_t>(out.m_frenchWords.size() - frenchFirst));
                out.m_frenchWords.push_back(french);
                pairs.french.push_back(french.lemma);
                pairs.frenchTypes = std::max(pairs.frenchTypes, french.lemma + 1);
                if (fw.count != 1)
                    out.m_oneLemmaAWord = false;
                for (std::uint32_t k = 0; k < fw.count; ++k) {
                    hold(1, lemmas[k], passage);
                    if (!fw.functionWord && !frenchLemmas.isFunctionLemma(lemmas[k]))
                        hold(0, lemmas[k], passage);
                }
            });
        });
        out.m_frenchOfReference[2 * std::size_t(r)] = frenchFirst;
        out.m_frenchOfReference[2 * std::size_t(r) + 1] = static_cast<std::uint32_t>(out.m_frenchWords.size());
        ++out.m_pairedPassages;
        passageWords.clear();
        const auto latinFirst = static_cast<std::uint32_t>(pairs.latin.size());
        for (std::uint32_t run = runStart[r]; run < runStart[r + 1]; ++run)
            for (std::uint32_t w = runsOfRef[2 * std::size_t(run)]; w < runsOfRef[2 * std::size_t(run) + 1]; ++w) {
                out.m_tokenOfWord[w] = static_cast<std::uint32_t>(pairs.latin.size());
                const std::uint32_t id = idOfType[latin.typeOf(w)];
                pairs.latin.push_back(id);
                pairs.latinTypes = std::max(pairs.latinTypes, id + 1);
                passageWords.push_back(w);
            }
        const auto m = static_cast<std::uint32_t>(passageWords.size());
        if (!frenchNames.empty()) {
            names = nameLinks(latin, passageWords.data(), m, frenchText, out.m_frenchWords.data() + frenchFirst,
                              static_cast<std::uint32_t>(out.m_frenchWords.size() - frenchFirst), frenchNames);
            for (std::uint32_t k = 0; k < m; ++k) {
                if (names[k] == kNoFixedLink)
                    continue;
                if (fixedLinks.empty())
                    fixedLinks.assign(latinFirst + m, kNoFixedLink);
                fixedLinks.resize(latinFirst + m, kNoFixedLink);
                fixedLinks[latinFirst + k] = frenchFirst + names[k];
            }
        }
        pairs.latinStart.push_back(static_cast<std::uint32_t>(pairs.latin.size()));
        pairs.frenchStart.push_back(static_cast<std::uint32_t>(pairs.french.size()));
    }
    for (std::vector<std::uint32_t>& counts : out.m_passagesHolding)
        counts.resize(std::max(counts.size(), frenchLemmas.lemmaCount()), 0);
    if (!fixedLinks.empty())
        fixedLinks.resize(pairs.latin.size(), kNoFixedLink);
    out.m_alignment = cache ? alignSentencePairs(pairs, settings, fixedLinks, *cache)
                            : alignSentencePairs(pairs, settings, fixedLinks);
    return out;
}

} // namespace quorvex
