#pragma once
// Where the Latin lexicon is read from, for the command line and the windows alike.
//
// In order: the folder the user names (--lexicon), then $QUORVEX_LEXICON, then the folder an
// install puts beside the program (PREFIX/share/quorvex/lexicon for PREFIX/bin/program, on
// Windows too), then the build tree the program was built in (the nearest folder above it
// holding CMakeCache.txt, where the build lays the lexicon out as an install does), then the
// collatinus package's. Nothing of the build machine is written into the program: a build
// tree is recognised where the program stands.

#include <optional>
#include <string>
#include <vector>

namespace quorvex::lexicon {

// The places to look at, as strings in UTF-8.
struct LexiconPlaces {
    std::optional<std::string> named;        // given by the user; taken as it is
    std::optional<std::string> environment;  // $QUORVEX_LEXICON when set and not empty; taken as it is
    std::string program;                     // the running program's file; empty when unknown
    std::string system;                      // the collatinus package's folder; empty for none
};

// The places of this process: its environment, its own file, the system's folder.
LexiconPlaces lexiconPlacesOfThisProgram(const std::optional<std::string>& named = std::nullopt);

struct LexiconLookup {
    std::optional<std::string> folder;  // the folder to read; none when no place holds the lexicon
    std::vector<std::string> tried;     // every folder looked at, in order, the one found last
};

// A named folder (option or variable) is taken as it is: its reading says what is wrong with
// it. The other places count only when they hold the lexicon's files.
LexiconLookup lookUpLexicon(const LexiconPlaces& places);

// lookUpLexicon(lexiconPlacesOfThisProgram(named)).folder
std::optional<std::string> findLexiconFolder(const std::optional<std::string>& named = std::nullopt);

// Whether the folder holds the lexicon's two main files.
bool holdsLexicon(const std::string& folder);

// What to say when no folder holds the lexicon: the folders tried and how to get it.
std::string describeMissingLexicon(const std::vector<std::string>& tried);

// The line of --version that names the lexicon in use, without its line end.
std::string describeLexiconInUse(const LexiconLookup& lookup);

} // namespace quorvex::lexicon
