#pragma once
// What a typed lemma designates in a text, for the command line and the windows alike: the
// words whose form is a form of the lemmata it names; else, when the text holds it, the words
// of that folded form; else nothing, with the lines that say why and what comes near.

#include "concordance/FoldedFormTally.h"
#include "concordance/FormTally.h"
#include "concordance/ResultList.h"
#include "concordance/TextLemmata.h"
#include "lexicon/Lexicon.h"

#include <optional>
#include <string>
#include <vector>

namespace quorvex {

enum class LemmaMatchKind {
    Lemma,    // the lexicon knows the lemma
    Form,     // unknown to the lexicon, searched as a form of the text
    Unknown,  // neither: nothing listed
};

struct LemmaMatchResult {
    LemmaMatchKind kind = LemmaMatchKind::Unknown;
    std::vector<lexicon::LemmaId> lemmata;  // with Lemma
    std::vector<TextLemmata::TypeId> types; // the text's folded forms that are its attestations
    ResultList words;                       // text order; left empty by matchLemmaTypes
    // UTF-8, French, each ended by "\n": "« X » n'est pas dans le lexique : recherche de la
    // forme." for a form; for an unknown lemma "Lemme inconnu : « X »." and what it may be.
    std::string lines;
};

// `typed` is what the user wrote (UTF-8; bytes that are not UTF-8 are read as Windows-1252).
// `strict`: only the words whose likeliest lemma it is.
LemmaMatchResult matchLemma(const lexicon::Lexicon& lexicon, const TextLemmata& lemmata,
                            const std::string& typed, bool strict);
// The same without the words: a count sums the types' frequencies and needs no list.
LemmaMatchResult matchLemmaTypes(const lexicon::Lexicon& lexicon, const TextLemmata& lemmata,
                                 const std::string& typed, bool strict);

// A count by lemma from the text's distinct forms alone, equal to the word count of
// matchLemmaTypes' types when the lexicon knows the lemmata `typed` names; nullopt when it
// does not (matchLemmaTypes then says what the name is). Only the forms that the lexicon's
// quick test lets through are analysed.
std::optional<std::size_t> countLemmaWords(const lexicon::Lexicon& lexicon, const FormTally& forms,
                                           const std::string& typed, bool strict);

// The same for lemmata the lexicon knows, from a tally of the words spelt as
// lexicon.spellingsOf(lemmata): each of those spellings the text holds is analysed once.
std::size_t countLemmaWords(const lexicon::Lexicon& lexicon, const FoldedFormTally& forms,
                            const std::vector<lexicon::LemmaId>& lemmata, bool strict);

// The typed lemma as headings show it (Windows-1252): as typed, else without its quantity
// marks when the code page lacks them, else its folded letters. Bytes that are not UTF-8 are
// taken as they are.
std::string lemmaHeading(const std::string& typed);

} // namespace quorvex
