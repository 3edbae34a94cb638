#include "translation/TextAlignment.h"

#include "concordance/SpellingFold.h"
#include "passages/ReferencePassages.h"
#include "system/CacheFolder.h"
#include "text/Cp1252.h"
#include "text/SentenceStops.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <tuple>
#include <unordered_map>

namespace quorvex {

// The arrays an alignment built here holds.
struct TextAlignment::Owned {
    std::vector<std::uint32_t> tokenOfWord;
    std::vector<FrenchWord> frenchWords;
    std::vector<std::uint32_t> passagesHolding[2];
    std::vector<std::uint32_t> frenchOfReference;
};

namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFFu;
// Raised whenever the image's layout or what its arrays mean changes.
constexpr std::uint64_t kImageFormat = 1;

static_assert(sizeof(TextAlignment::FrenchWord) == 12, "the image stores French words as three 32-bit words");

template <typename T>
void appendValue(std::string& out, const T& value)
{
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

template <typename T>
void appendArray(std::string& out, const T* values, std::size_t count)
{
    out.append(reinterpret_cast<const char*>(values), count * sizeof(T));
}

std::uint64_t hashOfWords(const std::vector<std::uint32_t>& values)
{
    return contentHash(std::string_view(reinterpret_cast<const char*>(values.data()),
                                        values.size() * sizeof(std::uint32_t)));
}

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

std::string TextAlignment::image(const FrenchLemmas& lemmas) const
{
    const std::string alignment = m_alignment.bytes();
    const std::string lemmaTable = lemmas.lemmaTableBytes();
    // Eight-byte values first, then the arrays: every array starts on a multiple of four
    // bytes, so that a reader holding the payload where it lies uses them there.
    std::string out;
    out.reserve(80 + 4 * (m_latinWords + 3 * m_frenchTokens + m_referenceSlots + 2 * m_lemmaSlots)
                + alignment.size() + lemmaTable.size());
    for (const std::uint64_t v :
         {kImageFormat, std::uint64_t(m_latinWords), std::uint64_t(m_alignment.latinTokens()),
          std::uint64_t(m_frenchTokens), std::uint64_t(m_referenceSlots), std::uint64_t(m_lemmaSlots),
          std::uint64_t(m_pairedPassages), std::uint64_t(m_oneLemmaAWord ? 1 : 0), std::uint64_t(alignment.size()),
          std::uint64_t(lemmas.lemmaCount()), std::uint64_t(lemmaTable.size())})
        appendValue(out, v);
    appendArray(out, m_tokenOfWord, m_latinWords);
    appendArray(out, m_frenchWords, m_frenchTokens);
    appendArray(out, m_frenchOfReference, m_referenceSlots);
    appendArray(out, m_passagesHolding[0], m_lemmaSlots);
    appendArray(out, m_passagesHolding[1], m_lemmaSlots);
    out += alignment;
    out += lemmaTable;
    return out;
}

std::optional<TextAlignment> TextAlignment::fromImage(std::shared_ptr<const CacheEntry> entry,
                                                      std::size_t latinWords, std::size_t references,
                                                      std::size_t frenchBytes, FrenchLemmas& lemmas)
{
    if (!entry)
        return std::nullopt;
    std::string_view in = entry->payload();
    if (reinterpret_cast<std::uintptr_t>(in.data()) % 4 != 0)
        return std::nullopt;
    std::uint64_t header[11];
    if (in.size() < sizeof header)
        return std::nullopt;
    std::memcpy(header, in.data(), sizeof header);
    in.remove_prefix(sizeof header);
    const auto [format, words, alignedTokens, frenchTokens, referenceSlots, lemmaSlots, paired, oneLemma,
                alignmentBytes, lemmaCount, lemmaTableBytes] = std::make_tuple(
        header[0], header[1], header[2], header[3], header[4], header[5], header[6], header[7], header[8],
        header[9], header[10]);
    if (format != kImageFormat || words != latinWords || referenceSlots != 2 * std::uint64_t(references)
        || lemmaSlots < lemmaCount || alignmentBytes % 4 != 0 || oneLemma > 1)
        return std::nullopt;
    // Sizes read from the entry are bounded by it before anything is multiplied.
    const std::uint64_t arrayWords = words + 3 * frenchTokens + referenceSlots + 2 * lemmaSlots;
    if (words > in.size() || frenchTokens > in.size() || referenceSlots > in.size() || lemmaSlots > in.size()
        || alignmentBytes > in.size() || lemmaTableBytes > in.size()
        || 4 * arrayWords + alignmentBytes + lemmaTableBytes != in.size())
        return std::nullopt;
    const auto* at = reinterpret_cast<const std::uint32_t*>(in.data());
    TextAlignment out;
    out.m_tokenOfWord = at;
    out.m_latinWords = static_cast<std::size_t>(words);
    at += words;
    out.m_frenchWords = reinterpret_cast<const FrenchWord*>(at);
    out.m_frenchTokens = static_cast<std::size_t>(frenchTokens);
    at += 3 * frenchTokens;
    out.m_frenchOfReference = at;
    out.m_referenceSlots = static_cast<std::size_t>(referenceSlots);
    at += referenceSlots;
    out.m_lemmaSlots = static_cast<std::size_t>(lemmaSlots);
    for (int k = 0; k < 2; ++k) {
        out.m_passagesHolding[k] = at;
        at += lemmaSlots;
    }
    out.m_pairedPassages = static_cast<std::size_t>(paired);
    out.m_oneLemmaAWord = oneLemma == 1;
    std::optional<WordAlignment> links = WordAlignment::viewOf(at, static_cast<std::size_t>(alignmentBytes),
                                                               static_cast<std::size_t>(alignedTokens),
                                                               out.m_frenchTokens, entry);
    if (!links)
        return std::nullopt;
    out.m_alignment = std::move(*links);
    // What the texts' words would find out of range is a fault of the entry.
    for (std::size_t w = 0; w < out.m_latinWords; ++w)
        if (out.m_tokenOfWord[w] != kUnpaired && out.m_tokenOfWord[w] >= alignedTokens)
            return std::nullopt;
    for (std::size_t t = 0; t < out.m_frenchTokens; ++t) {
        const FrenchWord& fw = out.m_frenchWords[t];
        if (fw.offset > frenchBytes || fw.length > frenchBytes - fw.offset || fw.lemma >= lemmaCount)
            return std::nullopt;
    }
    for (std::size_t r = 0; r < out.m_referenceSlots; r += 2) {
        const std::uint32_t first = out.m_frenchOfReference[r], end = out.m_frenchOfReference[r + 1];
        if ((first == kUnpaired) != (end == kUnpaired)
            || (first != kUnpaired && (first > end || end > out.m_frenchTokens)))
            return std::nullopt;
    }
    const std::string_view table(in.data() + 4 * arrayWords + alignmentBytes,
                                 static_cast<std::size_t>(lemmaTableBytes));
    if (!lemmas.adoptLemmaTable(table, static_cast<std::size_t>(lemmaCount)))
        return std::nullopt;
    out.m_keep = std::move(entry);
    return out;
}

std::string alignmentImageKey(const WordTable& latin, std::string_view frenchText, const FrenchLemmas& lemmas,
                              const TextLemmata* latinLemmata, const AlignmentSettings& settings)
{
    return alignmentImageKey(latin, contentHash(latin.text()), frenchText, contentHash(frenchText), lemmas,
                             latinLemmata, settings);
}

std::string alignmentImageKey(const WordTable& latin, std::uint64_t latinHash, std::string_view frenchText,
                              std::uint64_t frenchHash, const FrenchLemmas& lemmas, const TextLemmata* latinLemmata,
                              const AlignmentSettings& settings)
{
    const std::string dictionary = lemmas.dictionaryIdentity();
    if (dictionary.empty())
        return {};
    // Everything the alignment is made from: the texts as cut, what each Latin form is aligned
    // as, the dictionary the French lemmas come from, the training's settings.
    std::string key;
    for (const std::uint64_t v :
         {kImageFormat, std::uint64_t(latin.letterSet()), std::uint64_t(latin.size()), std::uint64_t(latin.typeCount()),
          latinHash, hashOfWords(latinIds(latin, latinLemmata)), std::uint64_t(frenchText.size()), frenchHash,
          contentHash(dictionary), std::uint64_t(settings.model1Rounds),
          std::uint64_t(settings.diagonalRounds), std::uint64_t(settings.longestSide),
          std::uint64_t(settings.cutting.cutAbove), std::uint64_t(settings.cutting.pieceWords)})
        appendValue(key, v);
    appendValue(key, settings.diagonalTension);
    appendValue(key, settings.emptyWordShare);
    return key;
}

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
                         const CacheFolder* cache, const AlignmentProgress& progress)
{
    const WordTable french = WordTable::segment(std::string(frenchText), kFrenchLetters);
    return alignTexts(latin, french, frenchLemmas, latinLemmata, settings, cache, progress);
}

TextAlignment alignTexts(const WordTable& latin, const WordTable& frenchTable, FrenchLemmas& frenchLemmas,
                         const TextLemmata* latinLemmata, const AlignmentSettings& settings,
                         const CacheFolder* cache, const AlignmentProgress& progress)
{
    TextAlignment out;
    const auto owned = std::make_shared<TextAlignment::Owned>();
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
    owned->tokenOfWord.assign(latin.size(), TextAlignment::kUnpaired);
    owned->frenchOfReference.assign(2 * refs, TextAlignment::kUnpaired);
    // By French lemma: the passages holding it, without and with the function words, and the
    // last passage that counted it.
    std::vector<std::uint32_t>* holding = owned->passagesHolding;
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
    std::vector<std::uint32_t> passageWords, frenchNames, pieceNames, names;
    PassageSide latinSide, frenchSide;
    // Passages are visited in the order of their first word, which keeps the tokens in text
    // order on both sides.
    std::vector<WordTable::ReferenceId> order(marked);
    std::sort(order.begin(), order.end(), [&](WordTable::ReferenceId a, WordTable::ReferenceId b) {
        return runsOfRef[2 * std::size_t(runStart[a])] < runsOfRef[2 * std::size_t(runStart[b])];
    });
    // The French words of a passage, in order: f(word as written, its entry, its lemmata).
    const auto forEachFrenchWord = [&](WordTable::ReferenceId r, std::size_t& hint, auto&& f) {
        french.forEachStretch(r, [&](std::string_view stretch) {
            frenchLemmas.forEachWordOfStretch(frenchTable, stretch, hint, [&](std::size_t offset, std::string_view word,
                                                                            const FrenchLemmas::Word& fw) {
                const FrenchLemmas::LemmaId* lemmas = frenchLemmas.lemmas(fw);
                TextAlignment::FrenchWord entry;
                entry.offset = static_cast<std::uint32_t>(offset);
                entry.length = static_cast<std::uint32_t>(word.size());
                entry.functionWord = fw.functionWord ? 1u : 0u;
                entry.lemma = lemmas[0];
                f(word, entry, fw, lemmas);
            });
        });
    };
    // The whole text's French words are made again after the training rather than kept
    // through it, where they would add to its peak: only a passage's are needed here.
    std::vector<TextAlignment::FrenchWord> passageFrench;
    std::size_t hint = 0;
    for (const WordTable::ReferenceId r : order) {
        if (!french.found(r))
            continue;
        const auto frenchFirst = static_cast<std::uint32_t>(pairs.french.size());
        const auto passage = static_cast<std::uint32_t>(out.m_pairedPassages);
        frenchNames.clear();
        passageFrench.clear();
        forEachFrenchWord(r, hint, [&](std::string_view word, const TextAlignment::FrenchWord& entry,
                                       const FrenchLemmas::Word& fw, const FrenchLemmas::LemmaId* lemmas) {
            if (capitalised(word))
                frenchNames.push_back(static_cast<std::uint32_t>(passageFrench.size()));
            passageFrench.push_back(entry);
            pairs.french.push_back(entry.lemma);
            pairs.frenchTypes = std::max(pairs.frenchTypes, entry.lemma + 1);
            if (fw.count != 1)
                out.m_oneLemmaAWord = false;
            for (std::uint32_t k = 0; k < fw.count; ++k) {
                hold(1, lemmas[k], passage);
                if (!fw.functionWord && !frenchLemmas.isFunctionLemma(lemmas[k]))
                    hold(0, lemmas[k], passage);
            }
        });
        owned->frenchOfReference[2 * std::size_t(r)] = frenchFirst;
        owned->frenchOfReference[2 * std::size_t(r) + 1] = static_cast<std::uint32_t>(pairs.french.size());
        ++out.m_pairedPassages;
        passageWords.clear();
        const auto latinFirst = static_cast<std::uint32_t>(pairs.latin.size());
        for (std::uint32_t run = runStart[r]; run < runStart[r + 1]; ++run)
            for (std::uint32_t w = runsOfRef[2 * std::size_t(run)]; w < runsOfRef[2 * std::size_t(run) + 1]; ++w) {
                owned->tokenOfWord[w] = static_cast<std::uint32_t>(pairs.latin.size());
                const std::uint32_t id = idOfType[latin.typeOf(w)];
                pairs.latin.push_back(id);
                pairs.latinTypes = std::max(pairs.latinTypes, id + 1);
                passageWords.push_back(w);
            }
        const auto m = static_cast<std::uint32_t>(passageWords.size());
        const auto n = static_cast<std::uint32_t>(passageFrench.size());
        std::vector<PieceEnd> pieces{PieceEnd{m, n}};
        if (m > settings.cutting.cutAbove || n > settings.cutting.cutAbove) {
            latinSide.clear();
            for (std::uint32_t k = 0; k < m; ++k) {
                const std::size_t w = passageWords[k];
                const std::size_t end = latin.formOffset(w) + latin.form(w).size();
                latinSide.add(static_cast<std::uint32_t>(latin.form(w).size()),
                              k + 1 < m && sentenceEndsWithin(latin.text(), end, latin.formOffset(passageWords[k + 1])));
            }
            frenchSide.clear();
            for (std::uint32_t k = 0; k < n; ++k) {
                const TextAlignment::FrenchWord& fw = passageFrench[k];
                frenchSide.add(fw.length, k + 1 < n && sentenceEndsWithin(frenchText, std::size_t(fw.offset) + fw.length,
                                                                      passageFrench[k + 1].offset));
            }
            pieces = cutPassagePair(latinSide, frenchSide, settings.cutting);
        }
        PieceEnd start;
        for (const PieceEnd& end : pieces) {
            if (!frenchNames.empty()) {
                // A name is looked for in its own piece, by its place there.
                pieceNames.clear();
                for (const std::uint32_t j : frenchNames)
                    if (j >= start.french && j < end.french)
                        pieceNames.push_back(j - start.french);
                if (!pieceNames.empty()) {
                    names = nameLinks(latin, passageWords.data() + start.latin, end.latin - start.latin, frenchText,
                                      passageFrench.data() + start.french, end.french - start.french, pieceNames);
                    for (std::uint32_t k = 0; k < end.latin - start.latin; ++k) {
                        if (names[k] == kNoFixedLink)
                            continue;
                        const std::uint32_t token = latinFirst + start.latin + k;
                        if (fixedLinks.size() <= token)
                            fixedLinks.resize(std::size_t(token) + 1, kNoFixedLink);
                        fixedLinks[token] = frenchFirst + start.french + names[k];
                    }
                }
            }
            pairs.latinStart.push_back(latinFirst + end.latin);
            pairs.frenchStart.push_back(frenchFirst + end.french);
            start = end;
        }
    }
    const std::size_t lemmaSlots = std::max({owned->passagesHolding[0].size(), owned->passagesHolding[1].size(),
                                             frenchLemmas.lemmaCount()});
    for (std::vector<std::uint32_t>& counts : owned->passagesHolding)
        counts.resize(lemmaSlots, 0);
    if (!fixedLinks.empty())
        fixedLinks.resize(pairs.latin.size(), kNoFixedLink);
    out.m_alignment = cache ? alignSentencePairs(pairs, settings, fixedLinks, *cache, nullptr, progress)
                            : alignSentencePairs(pairs, settings, fixedLinks, progress);
    owned->frenchWords.reserve(pairs.french.size());
    for (std::vector<std::uint32_t>* done : {&fixedLinks, &pairs.latin, &pairs.french})
        std::vector<std::uint32_t>().swap(*done);
    hint = 0;
    for (const WordTable::ReferenceId r : order)
        if (french.found(r))
            forEachFrenchWord(r, hint, [&](std::string_view, const TextAlignment::FrenchWord& entry,
                                           const FrenchLemmas::Word&, const FrenchLemmas::LemmaId*) {
                owned->frenchWords.push_back(entry);
            });
    out.m_tokenOfWord = owned->tokenOfWord.data();
    out.m_latinWords = owned->tokenOfWord.size();
    out.m_frenchWords = owned->frenchWords.data();
    out.m_frenchTokens = owned->frenchWords.size();
    out.m_lemmaSlots = owned->passagesHolding[0].size();
    for (int k = 0; k < 2; ++k)
        out.m_passagesHolding[k] = owned->passagesHolding[k].data();
    out.m_frenchOfReference = owned->frenchOfReference.data();
    out.m_referenceSlots = owned->frenchOfReference.size();
    out.m_keep = owned;
    return out;
}

} // namespace quorvex
