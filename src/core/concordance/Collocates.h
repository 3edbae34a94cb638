#pragma once
// The words that stand near the attestations of a form, counted and scored.
//
// For every attestation the N words before it and the N after it in the word table are
// counted (markers do not stop the window; the attestation's own words are left out; windows
// that overlap count again; other attestations inside a window count like any word), each
// word under its key: its folded form, or its lemma. With W the words of the text, f(n) the attestations, f(c) the collocate's
// frequency in the text, O its co-occurrences and S = 2N:
//   mi = log2(O * W / (f(n) * f(c) * S))
//   log_likelihood = Dunning's G2 over a = O, b = f(n) * S - O, c = f(c) - O,
//                    d = W - a - b - c: 2 * sum of o * ln(o / e), e from the margins.
// A cell of zero adds nothing; so does a negative one, which overlapping windows or a node
// form filling most of the text can produce, where the table stops being a partition.

#include "concordance/FormTally.h"
#include "concordance/PhraseQuery.h"
#include "concordance/SpellingFold.h"
#include "concordance/TextLemmata.h"
#include "concordance/WordTable.h"
#include "lexicon/Lexicon.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quorvex {

constexpr std::size_t kMaxCollocateWindow = 50;

struct Collocate {
    std::string form;  // its key: see CollocateKeys
    std::size_t cooccurrences = 0;
    std::size_t frequency = 0;
    double mi = 0;
    double logLikelihood = 0;
};

// What the words are counted under: every type of the word table (its distinct form as
// written) has a key, and the types of one key count as one collocate. Found once per type,
// so a fold or a dictionary lookup is never repeated per word.
struct CollocateKeys {
    std::vector<std::uint32_t> ofType;  // by word-table type: an index into `keys`
    std::vector<std::string> keys;      // distinct
    bool utf8 = false;                  // else Windows-1252
};

// Each form folded (Windows-1252).
CollocateKeys foldedFormKeys(const WordTable& table, Folding folding);
// The same over a tally's types, which number the forms as the word table does.
CollocateKeys foldedFormKeys(const FormTally& forms, Folding folding);
// Each form under its lemma where the lexicon knows it (its spelling as the lemmata column
// writes it), an ambiguous form under its most frequent candidate (the lexicon's frequency;
// equals go to the first in the lexicon's order), any other under its folded form. UTF-8.
// `lemmata` was built on `table` with `lexicon`.
CollocateKeys lemmaKeys(const WordTable& table, const TextLemmata& lemmata, const lexicon::Lexicon& lexicon);

// Every key met in a window, by log-likelihood descending (to three decimals), then by key
// (bytes).
// `window` is N, from 1 to kMaxCollocateWindow.
std::vector<Collocate> findCollocates(const WordTable& table, const ResultList& attestations,
                                      std::size_t window, const CollocateKeys& keys);
// Under the folded forms.
std::vector<Collocate> findCollocates(const WordTable& table, const ResultList& attestations,
                                      std::size_t window, Folding folding);

// The same when every attestation is one word, those of the types flagged in `node` (one
// flag per type): counted from a tally that kept its word types, with no word table. Gives
// what the word table's count gives for the same words.
std::vector<Collocate> findCollocates(const FormTally& forms, const std::vector<std::uint8_t>& node,
                                      std::size_t window, const CollocateKeys& keys);

// The two scores alone, for a table already counted.
double mutualInformation(double o, double w, double fn, double fc, double s);
double logLikelihood(double o, double w, double fn, double fc, double s);

} // namespace quorvex
