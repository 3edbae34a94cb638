#pragma once
// How often each lemma stands in a text: its attestations (words whose form may be its), its
// distinct written forms, and the attestations it shares with another lemma; then the forms
// no lemma explains, each under its folded spelling.

#include "concordance/TextLemmata.h"
#include "lexicon/Lexicon.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

struct LemmaFrequency {
    std::string name;                  // the lemma as lists show it, or the unexplained form
    std::string_view gloss;            // the lemma's French gloss (the lexicon's); empty for a form
    std::size_t attestations = 0, forms = 0, ambiguous = 0;
};

// The lemmata the text attests, then the unexplained forms, each part by decreasing
// attestations, then by name. Throws std::bad_alloc.
std::vector<LemmaFrequency> lemmaFrequencies(const lexicon::Lexicon& lexicon, const TextLemmata& lemmata);

} // namespace quorvex
