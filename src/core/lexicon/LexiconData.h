#pragma once
// The lexicon's tables (internal to lexicon/). The reader (LexiconReader.cpp) fills
// LexiconTables; LexiconImage.cpp lays them out as one block of bytes, an image; the queries
// (Lexicon.cpp) read LexiconData, views of the arrays where they lie in an image, mapped from
// the cache folder or just made from a parse. Every table is a flat array or a string table,
// lists kept as one array with the start of each list in another, so that an image is read
// without a copy or an allocation per entry. Every string in them is folded (a-z) but the
// lemmata's spellings and glosses.

#include "lexicon/ImageBlocks.h"
#include "lexicon/Lexicon.h"
#include "lexicon/StringTable.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvex {
class CacheEntry;
}

namespace quorvex::lexicon {

constexpr std::uint32_t kNoLink = 0xFFFFFFFFu;

// Bytes of the lemmata's text.
struct TextSpan {
    std::uint32_t start = 0;
    std::uint32_t length = 0;
};

// A lemma as kept; Lemma is its view. Members in order of size, padding spelt out: an image
// holds defined bytes only.
struct LemmaRecord {
    TextSpan spelling, folded, gloss;
    std::uint32_t frequency = 0;
    std::uint16_t homograph = 1;
    std::uint8_t closedClass = 0;
    std::uint8_t unused = 0;
};

// One ending of a model: the form is the root numbered `root` followed by the ending
// numbered `ending` in the endings' string table.
struct ModelEnding {
    std::uint32_t ending = 0;
    std::uint16_t morpho = 0;
    std::uint8_t root = 0;
    std::uint8_t unused = 0;
};

// Roots: a chain of (lemma, root number) per folded root.
struct StemLink {
    LemmaId lemma = 0;
    std::uint32_t next = kNoLink;  // an earlier link, or kNoLink
    std::uint8_t root = 0;
    std::uint8_t unused[3] = {0, 0, 0};
};

// What the reader fills.
struct LexiconTables {
    std::string text;  // the lemmata's spellings, folded names and glosses
    std::vector<LemmaRecord> lemmata;
    std::vector<std::uint32_t> lemmaModel;  // by lemma
    std::vector<char> lemmaPos;             // by lemma: its model's part of speech, or its note's

    StringTable foldedNames;                   // "edo"
    std::vector<std::uint32_t> byFoldedStart;  // by folded name, and one past the last
    std::vector<LemmaId> byFolded;             // every homograph of each name, in the lexicon's order

    StringTable stemNames;
    std::vector<std::uint32_t> stemHead;  // by stem name: its last link
    std::vector<StemLink> stems;

    StringTable endingNames;
    std::vector<std::uint32_t> endingPairStart;  // by ending, and one past the last
    std::vector<std::uint32_t> endingPairs;      // per ending, the sorted (model << 8 | root) that have it
    std::uint32_t longestEnding = 0;
    std::vector<std::uint32_t> modelEndingStart;  // by model, and one past the last
    std::vector<ModelEnding> modelEndings;

    StringTable irregularForms;
    std::vector<std::uint32_t> irregularStart;  // by irregular form, and one past the last
    std::vector<LemmaId> irregularLemmata;      // each once per form
    std::vector<std::uint32_t> irregularAnalysisStart;
    std::vector<LemmaId> irregularAnalysisLemma;       // the analyses, in two halves
    std::vector<std::uint16_t> irregularAnalysisMorpho;
    // (lemma << 16 | morphology), sorted: a lemma's morphologies whose regular form an
    // exclusive irregular form replaces.
    std::vector<std::uint64_t> replacedMorphos;

    std::vector<std::pair<std::string, std::string>> assimilations;  // both ways
    std::vector<std::pair<std::string, std::string>> contractions;   // short, full
};

// What the queries read: the same tables as views of an image, which it keeps.
class LexiconData {
public:
    LexiconData();
    ~LexiconData();

    std::string ownedImage;                    // an image just made, or read whole
    std::unique_ptr<const CacheEntry> mapped;  // or the cache's entry, where it lies

    std::string_view text;
    Span<LemmaRecord> lemmata;
    Span<std::uint32_t> lemmaModel;
    Span<char> lemmaPos;
    StringIndex foldedNames;
    Span<std::uint32_t> byFoldedStart;
    Span<LemmaId> byFolded;
    StringIndex stemNames;
    Span<std::uint32_t> stemHead;
    Span<StemLink> stems;
    StringIndex endingNames;
    Span<std::uint32_t> endingPairStart, endingPairs;
    std::uint32_t longestEnding = 0;
    Span<std::uint32_t> modelEndingStart;
    Span<ModelEnding> modelEndings;
    StringIndex irregularForms;
    Span<std::uint32_t> irregularStart;
    Span<LemmaId> irregularLemmata;
    Span<std::uint32_t> irregularAnalysisStart;
    Span<LemmaId> irregularAnalysisLemma;
    Span<std::uint16_t> irregularAnalysisMorpho;
    Span<std::uint64_t> replacedMorphos;
    std::vector<std::pair<std::string, std::string>> assimilations;
    std::vector<std::pair<std::string, std::string>> contractions;

    std::string_view textOf(TextSpan span) const noexcept { return text.substr(span.start, span.length); }
    Lemma lemma(LemmaId id) const noexcept
    {
        const LemmaRecord& r = lemmata[id];
        Lemma l;
        l.spelling = textOf(r.spelling);
        l.folded = textOf(r.folded);
        l.homograph = r.homograph;
        l.frequency = r.frequency;
        l.gloss = textOf(r.gloss);
        l.closedClass = r.closedClass != 0;
        return l;
    }
    // The next link of a stem's chain: links only go back, so that no chain can loop.
    std::uint32_t nextLink(std::uint32_t k) const noexcept
    {
        const std::uint32_t next = stems[k].next;
        return next < k ? next : kNoLink;
    }
    bool replaces(LemmaId lemma, std::uint16_t morpho) const noexcept
    {
        return std::binary_search(replacedMorphos.begin(), replacedMorphos.end(),
                                  (std::uint64_t(lemma) << 16) | morpho);
    }
    bool replacesAny(LemmaId lemma) const noexcept
    {
        const auto at = std::lower_bound(replacedMorphos.begin(), replacedMorphos.end(), std::uint64_t(lemma) << 16);
        return at != replacedMorphos.end() && (*at >> 16) == lemma;
    }
};

} // namespace quorvex::lexicon
