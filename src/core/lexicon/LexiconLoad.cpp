#include "lexicon/LexiconLoad.h"

#include "lexicon/LexiconFolder.h"

namespace quorvex::lexicon {

LexiconLoad loadLexicon(const std::optional<std::string>& named, bool withExtension, bool withTags,
                        const CacheFolder& cache)
{
    LexiconLoad load;
    LexiconLookup lookup = lookUpLexicon(lexiconPlacesOfThisProgram(named));
    load.folder = std::move(lookup.folder);
    load.tried = std::move(lookup.tried);
    if (load.folder)
        load.lexicon = Lexicon::load(*load.folder, withExtension, load.failure, load.malformed, cache);
    if (withTags && load.ok()) {
        // Without its counts the tagger stands aside; only memory running short stops the load.
        LexiconProblem tagsFailure;
        load.tags = TagModel::load(*load.folder, tagsFailure, load.malformed);
        if (tagsFailure.kind == ProblemKind::OutOfMemory)
            load.failure = tagsFailure;
    }
    return load;
}

std::string unreadableLinesWarning(const std::vector<LexiconProblem>& malformed)
{
    if (malformed.empty())
        return {};
    const LexiconProblem& first = malformed.front();
    const std::size_t n = malformed.size();
    const std::string lines = n == 1 ? "1 ligne illisible ignorée" : std::to_string(n) + " lignes illisibles ignorées";
    return "lexique latin : " + lines + ", la première à la ligne " + std::to_string(first.line) + " de "
        + first.file + " (--lexicon-check les énumère).";
}

} // namespace quorvex::lexicon
