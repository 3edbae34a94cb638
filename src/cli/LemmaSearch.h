#pragma once
// Search by lemma (--lemma): where the Latin lexicon is, reading it, what the typed lemma
// designates in the text, the lemmata column of an attestation, and --frequencies --lemma.

#include "cli/CliOptions.h"
#include "concordance/LemmaMatch.h"
#include "concordance/ResultList.h"
#include "concordance/TextLemmata.h"
#include "concordance/WordTable.h"
#include "lexicon/Lexicon.h"
#include "lexicon/TagModel.h"

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace quorvex {

// Reads the lexicon the options name into `into`, and into `tags`, when given, the tagger's
// counts beside it (empty when they are not there); a line it cannot read is said in one
// warning line. kExitOk, or kExitFileError after the message.
int loadLexicon(const CliOptions& options, std::ostream& err, std::unique_ptr<lexicon::Lexicon>& into,
                std::unique_ptr<lexicon::TagModel>* tags = nullptr);

// --lexicon-check: every line of the lexicon that cannot be read, one a line on `out`;
// kExitFileError when there is one.
int runLexiconCheck(const CliOptions& options, std::ostream& out, std::ostream& err);

// --frequencies --lemma over the whole text: one line per lemma the text attests (then the
// forms no lemma explains) on `out`, the share of words explained on `err`.
int runLemmaFrequencies(const CliOptions& options, std::ostream& out, std::ostream& err);

} // namespace quorvex
