#pragma once
// Where the Latin lexicon is read from, for the command line and the windows alike.

#include <optional>
#include <string>

namespace quorvex::lexicon {

// The folder named by the user when given, else $QUORVEX_LEXICON, else the program's own data
// folder (share/quorvex/lexicon beside its bin/), else the collatinus package's. None when no
// candidate holds the lexicon's files (a named folder is taken as it is: its reading says
// what is wrong with it).
std::optional<std::string> findLexiconFolder(const std::optional<std::string>& named = std::nullopt);

// Whether the folder holds the lexicon's two main files.
bool holdsLexicon(const std::string& folder);

} // namespace quorvex::lexicon
