#pragma once
// The French lemmas opened as the options say, for --french-lemma and --translations.

#include "cli/CliOptions.h"
#include "translation/FrenchLemmas.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>

namespace quorvex {

namespace lexicon {
class Lexicon;
}

struct FrenchLemmaSource {
    std::unique_ptr<Stemmer> stemmer;  // null: each folded word stands for itself
    std::unique_ptr<FrenchLemmas> lemmas;
};

// Opens --dictionary, or the system's French dictionary. A named dictionary that cannot be
// read is an error (kExitFileError after its message); a missing system one, or a build
// without Hunspell, leaves each word standing for itself, said once on `err`.
// The stems of `frenchText`'s words are kept in the user's cache folder unless --no-cache;
// `textHash`, when given, is its contentHash() known already.
int openFrenchLemmas(const CliOptions& options, std::string_view frenchText, std::ostream& err,
                     FrenchLemmaSource& into, std::optional<std::uint64_t> textHash = std::nullopt);

// Whether the French function words count: --all-words, or a query that is itself one of the
// Latin words they render (with a lexicon, any of its prepositions, conjunctions, pronouns).
bool withFunctionWords(const CliOptions& options, std::string_view cp1252Query,
                       const lexicon::Lexicon* lexicon = nullptr);

} // namespace quorvex
