#pragma once
// Searches beyond the window's: forms compared after spelling folding, and phrases, sequences
// of forms that stand as consecutive words of the word table. An attestation is one word for
// a form, several for a phrase.

#include "concordance/FormQuery.h"
#include "concordance/ResultList.h"
#include "concordance/SpellingFold.h"
#include "concordance/WordTable.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

// One typed form matched against single words: with Folding::Case exactly the window's
// query (FormQuery); with Folding::Spelling the same rules on both sides folded.
class WordPattern {
public:
    WordPattern(std::string_view typed, Folding folding);

    bool matches(std::string_view form) const;

private:
    Folding m_folding;
    FormQuery m_query;  // on folded text when m_folding is Spelling
};

class PhraseQuery {
public:
    // Without `phrase` the typed text is one form, so a blank in it finds nothing, as in the
    // window. With it the text is split at runs of blanks and tabs, the ends ignored; a text
    // of blanks only finds nothing.
    PhraseQuery(std::string_view typed, bool phrase, Folding folding);

    // Every place where the forms stand as consecutive words, in text order. A marker or
    // punctuation between two words does not break a phrase.
    ResultList find(const WordTable& table) const;
    // Their number; one form's is summed over the types, without a list.
    std::size_t count(const WordTable& table) const;

private:
    std::vector<WordPattern> m_words;
};

} // namespace quorvex
