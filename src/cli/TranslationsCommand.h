#pragma once
// --translations: the French lemmas that render the searched Latin word, ranked by their
// association with its passages; and the French lemmas opened as the options say, for every
// output that reads them.

#include "cli/CliOptions.h"
#include "translation/FrenchLemmas.h"

#include <memory>
#include <ostream>

namespace quorvex {

struct FrenchLemmaSource {
    std::unique_ptr<Stemmer> stemmer;  // null: each folded word stands for itself
    std::unique_ptr<FrenchLemmas> lemmas;
};

// Opens --dictionary, or the system's French dictionary. A named dictionary that cannot be
// read is an error (kExitFileError after its message); a missing system one, or a build
// without Hunspell, leaves each word standing for itself, said once on `err`.
int openFrenchLemmas(const CliOptions& options, std::ostream& err, FrenchLemmaSource& into);

// Whether the French function words count: --all-words, or a query that is itself one of the
// Latin words they render.
bool withFunctionWords(const CliOptions& options, std::string_view cp1252Query);

int runTranslationsCommand(const CliOptions& options, std::ostream& out, std::ostream& err);

} // namespace quorvex
