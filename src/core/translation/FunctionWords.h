#pragma once
// The closed lists of words that say little about a rendering: French articles, prepositions,
// pronouns, auxiliaries and conjunctions stand in nearly every passage, so they are left out of
// the equivalents, unless the Latin word asked about is itself one of the Latin words they
// render (sum, habeo, et, non...).

#include <string_view>

namespace quorvex {

namespace lexicon {
class Lexicon;
}

// A French word or lemma, folded for case, UTF-8.
bool isFrenchFunctionWord(std::string_view utf8Folded);

// A Latin lemma or form as typed (Windows-1252): case, j/v and accents do not matter, nor a
// homograph number ("sum1"). With a lexicon, also every lemma of that name that is a
// preposition, conjunction or pronoun ("adversus").
bool isLatinFunctionLemma(std::string_view cp1252, const lexicon::Lexicon* lexicon = nullptr);

} // namespace quorvex
