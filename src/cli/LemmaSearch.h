#pragma once
// Search by lemma (--lemma): where the Latin lexicon is, reading it, what the typed lemma
// designates in the text, the lemmata column of an attestation, and --frequencies --lemma.

#include "cli/CliOptions.h"
#include "concordance/LemmaMatch.h"
#include "concordance/ResultList.h"
#include "concordance/TextLemmata.h"
#include "concordance/WordTable.h"
#include "lexicon/Lexicon.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace quorvex {

// Reads the lexicon the options name. kExitOk, or kExitFileError after the message.
int loadLexicon(const CliOptions& options, std::ostream& err, lexicon::Lexicon& into);

struct LemmaMatch {
    std::vector<lexicon::LemmaId> lemmata;  // empty when the form was searched instead
    std::vector<TextLemmata::TypeId> types;  // the text's folded forms that are its attestations
};

// The attestations of `typed` (UTF-8, as the user wrote it) in the text, as the folded forms
// they bear: the forms of the lemmata it names; else, when the text holds it, that folded
// form (said once on `err`). kExitOk, or kExitFileError after "Lemme inconnu".
int matchLemma(const CliOptions& options, const lexicon::Lexicon& lexicon,
               const TextLemmata& lemmata, const std::string& typed, std::ostream& err,
               LemmaMatch& into);

// The word's candidate lemmata as the lemmata column writes them: "sum, edo".
std::string lemmataColumn(const lexicon::Lexicon& lexicon, const TextLemmata& lemmata,
                          std::size_t word);

// --frequencies --lemma over the whole text: one line per lemma the text attests (then the
// forms no lemma explains) on `out`, the share of words explained on `err`.
int runLemmaFrequencies(const CliOptions& options, std::ostream& out, std::ostream& err);

} // namespace quorvex
