#pragma once
// The Latin lexicon found and read as both front ends read it, and what they say of the lines
// it could not read: such a line costs its lemma, never silently.

#include "lexicon/Lexicon.h"
#include "lexicon/TagModel.h"

#include <optional>
#include <string>
#include <vector>

namespace quorvex::lexicon {

struct LexiconLoad {
    std::optional<std::string> folder;       // none: no lexicon was found
    std::vector<std::string> tried;          // the folders looked at, for the message
    Lexicon lexicon;                         // empty unless ok()
    LexiconProblem failure;                  // a file that could not be read
    std::vector<LexiconProblem> malformed;   // the lines that could not be read, in file order
    // The tagger's counts beside it, when asked for; empty when tags.la or morphos.fr is
    // missing or unreadable (the most frequent lemma then stands for the likeliest).
    TagModel tags;
    bool ok() const { return folder && !failure; }
};

// Finds the folder as lookUpLexicon does for this program (`named` first) and reads it; `withExtension`
// adds the extension's files, `withTags` the tagger's counts. What was read is kept in
// `cache` and read from it when the files are the same (see Lexicon::load).
LexiconLoad loadLexicon(const std::optional<std::string>& named, bool withExtension, bool withTags,
                        const CacheFolder& cache);

// One French line (UTF-8, no end of line) naming the first unreadable line's file and number
// and how many there are; "" when every line was read.
std::string unreadableLinesWarning(const std::vector<LexiconProblem>& malformed);

} // namespace quorvex::lexicon
