#pragma once
// What turns a French word into its lemmas. The association of a Latin word with the French
// side counts lemmas, not forms: "aimait" and "aimer" are one rendering.

#include "text/TextFile.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

class Stemmer {
public:
    virtual ~Stemmer() = default;
    // The lemmas of a word already folded for case, UTF-8 in and out, as the dictionary
    // writes them; empty when the word is unknown (it then stands for itself).
    virtual std::vector<std::string> stems(std::string_view utf8Word) = 0;
    // The stems of each word, in their order: what stems(w) gives for each w. A stemmer may
    // share a long list out among threads.
    virtual std::vector<std::vector<std::string>> stemsOfEach(const std::vector<std::string>& utf8Words);
    // Writes what a later run can reuse (the stems found so far); nothing by default.
    virtual void keep() {}
    // What names this stemmer's answers for a cache key (its dictionary's files); empty when
    // they cannot be named, and then nothing derived from them is kept.
    virtual std::string identity() const { return {}; }
};

// Whether this build can read Hunspell dictionaries at all.
bool hunspellBuiltIn() noexcept;

// The dictionary used when none is named: the system's French one.
constexpr std::string_view kDefaultFrenchDictionary = "/usr/share/hunspell/fr_FR.dic";

enum class DictionaryStatus {
    Opened,
    NotBuiltIn,  // this build has no Hunspell
    Missing,     // the .dic or its .aff cannot be read
};

struct OpenedStemmer {
    std::unique_ptr<Stemmer> stemmer;  // null unless Opened
    DictionaryStatus status = DictionaryStatus::Missing;
    std::string affixPath;  // the .aff that goes with the .dic
    FileError error;        // why a file could not be read, when Missing
};

// The .aff that goes with a .dic: the same name.
std::string affixPathOf(const std::string& dicPath);

// A Hunspell stemmer over `dicPath` and the .aff beside it (same name).
OpenedStemmer openHunspellStemmer(const std::string& dicPath);

} // namespace quorvex
