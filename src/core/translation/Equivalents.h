#pragma once
// How a Latin word is rendered in the French text, found by association over the passages
// that the two texts share (same reference): no alignment inside a passage, no bilingual
// dictionary.
//
// n is the number of references standing in both texts; for a French lemma, a counts the
// query's references whose French passage holds it, b those without it, c the other
// references holding it, d = n - a - b - c. A lemma is kept when it is more frequent in the
// query's passages than in all (a/(a+b) > (a+c)/n), scored by Dunning's G2 over the four cells
// and by Dice (2a / (2a+b+c)), and ranked by G2 to three decimals, descending, then by its
// UTF-8 bytes. A query reference missing in French counts in no cell.
//
// With the word alignment of the pair, the ranking follows how the text renders each hit:
// every French lemma aligned to some hit is a row, ranked by the number of hits aligned to
// it, then by G2 and its bytes; a hit counts once for each lemma among its aligned words,
// and a hit aligned to nothing counts as not rendered.

#include "concordance/ResultList.h"
#include "concordance/WordTable.h"
#include "passages/FormMarking.h"
#include "translation/FrenchLemmas.h"
#include "translation/TextAlignment.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

struct EquivalentRow {
    FrenchLemmas::LemmaId lemma = 0;
    std::size_t aligned = 0;  // hits aligned to the lemma, with an alignment
    std::size_t a = 0, b = 0, c = 0, d = 0;
    double logLikelihood = 0;
    double dice = 0;

    double share() const { return a + b ? 100.0 * double(a) / double(a + b) : 0.0; }
    std::size_t frequency() const { return a + c; }
};

class Equivalents {
public:
    std::size_t pairedReferences() const { return m_paired; }  // n
    const std::vector<EquivalentRow>& rows() const { return m_rows; }  // the full ranking
    // With an alignment: the hits standing in a passage pair, and those aligned to nothing.
    bool byAlignment() const { return m_byAlignment; }
    std::size_t pairedHits() const { return m_pairedHits; }
    std::size_t unrenderedHits() const { return m_unrendered; }
    // The percentage of the paired hits that `count` hits make.
    double hitShare(std::size_t count) const
    {
        return m_pairedHits ? 100.0 * double(count) / double(m_pairedHits) : 0.0;
    }
    // The query's references that have no French passage, in the order of the hits.
    const std::vector<WordTable::ReferenceId>& missingInFrench() const { return m_missing; }

    bool withFunctionWords() const { return m_withFunctionWords; }

private:
    friend Equivalents findEquivalents(const WordTable&, const ResultList&, const WordTable&,
                                       FrenchLemmas&, bool, const TextAlignment*);

    std::size_t m_paired = 0;
    bool m_byAlignment = false;
    std::size_t m_pairedHits = 0, m_unrendered = 0;
    bool m_withFunctionWords = false;
    std::vector<EquivalentRow> m_rows;
    std::vector<WordTable::ReferenceId> m_missing;
};

// Why a list cannot be ranked, in the command line's words (UTF-8): a list of the French
// text has no Latin word to render. "" when it can be.
std::string equivalentsRefusal(bool frenchSide);

// The equivalents of the hits of `latin` over `frenchText` (Windows-1252), ranked by the
// alignment when one is given (made from the same texts and lemmas). Function words are left
// out unless `withFunctionWords`.
Equivalents findEquivalents(const WordTable& latin, const ResultList& hits,
                            std::string_view frenchText, FrenchLemmas& lemmas,
                            bool withFunctionWords, const TextAlignment* alignment = nullptr);
// The same over the French text's word table (cut with the French letters).
Equivalents findEquivalents(const WordTable& latin, const ResultList& hits,
                            const WordTable& french, FrenchLemmas& lemmas,
                            bool withFunctionWords, const TextAlignment* alignment = nullptr);

// The hits whose reference's French passage holds a word of the lemma `utf8Lemma` (folded for
// case before it is compared), order kept.
ResultList keepWhereFrenchHoldsLemma(const WordTable& latin, const ResultList& hits,
                                     std::string_view frenchText, FrenchLemmas& lemmas,
                                     std::string_view utf8Lemma);

} // namespace quorvex
