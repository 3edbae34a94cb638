#pragma once
// The words that stand near the attestations of a form, counted and scored.
//
// For every attestation the N words before it and the N after it in the word table are
// counted (markers do not stop the window; the attestation's own words are left out; windows
// that overlap count again; other attestations inside a window count like any word), each
// word folded. With W the words of the text, f(n) the attestations, f(c) the collocate's
// frequency in the text, O its co-occurrences and S = 2N:
//   mi = log2(O * W / (f(n) * f(c) * S))
//   log_likelihood = Dunning's G2 over a = O, b = f(n) * S - O, c = f(c) - O,
//                    d = W - a - b - c: 2 * sum of o * ln(o / e), e from the margins.
// A cell of zero adds nothing; so does a negative one, which overlapping windows or a node
// form filling most of the text can produce, where the table stops being a partition.

#include "concordance/PhraseQuery.h"
#include "concordance/SpellingFold.h"
#include "concordance/WordTable.h"

#include <cstddef>
#include <string>
#include <vector>

namespace quorvex {

constexpr std::size_t kMaxCollocateWindow = 50;

struct Collocate {
    std::string form;  // folded, Windows-1252
    std::size_t cooccurrences = 0;
    std::size_t frequency = 0;
    double mi = 0;
    double logLikelihood = 0;
};

// Every word met in a window, by log-likelihood descending (to three decimals), then by
// folded form (bytes).
// `window` is N, from 1 to kMaxCollocateWindow.
std::vector<Collocate> findCollocates(const WordTable& table, const std::vector<Span>& attestations,
                                      std::size_t window, Folding folding);

// The two scores alone, for a table already counted.
double mutualInformation(double o, double w, double fn, double fc, double s);
double logLikelihood(double o, double w, double fn, double fc, double s);

} // namespace quorvex
