#pragma once
// The French stems of a text's words kept between runs: stemming every distinct word of a
// Bible through Hunspell costs half a second at each run, and opening the dictionary more.
// The stems of the words met are read from the cache folder when they were computed for the
// same text and the same dictionary (their sizes, times and contents), and the dictionary is
// opened only when a word is not there. What was stemmed anew is written back once.

#include "system/CacheFolder.h"
#include "translation/Stemmer.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quorvex {

class CachingStemmer : public Stemmer {
public:
    using Opener = std::function<std::unique_ptr<Stemmer>()>;

    // `key` names the text and the dictionary (see frenchStemsKey); `open` gives the real
    // stemmer when a word is not in the cache (null: every such word stands for itself).
    CachingStemmer(CacheFolder cache, std::string key, Opener open);
    ~CachingStemmer() override;

    std::vector<std::string> stems(std::string_view utf8Word) override;
    std::vector<std::vector<std::string>> stemsOfEach(const std::vector<std::string>& utf8Words) override;
    void keep() override { save(); }
    std::string identity() const override { return m_key; }

    // Writes what was stemmed anew, if anything; false when nothing could be written.
    bool save();
    // Whether the real stemmer had to be opened (for tests and benchmarks).
    bool openedDictionary() const { return m_opened; }
    std::size_t cachedWords()
    {
        load();
        return m_stems.size();
    }
    // Whether the cache folder holds an entry for this key (read or not yet).
    bool hasEntry() const;
    const std::string& key() const { return m_key; }

private:
    void load();
    void openInner();
    // Keeps a word's stems when they can be written back.
    void remember(const std::string& word, const std::vector<std::string>& stems);

    CacheFolder m_cache;
    std::string m_key;
    Opener m_open;
    std::unique_ptr<Stemmer> m_inner;
    bool m_opened = false;
    bool m_changed = false;
    bool m_loaded = false;
    std::unordered_map<std::string, std::vector<std::string>> m_stems;
};

// The stemmer of one French text (its path, and its bytes as the caller holds them) over the
// Hunspell dictionary `dicPath`: the stems kept in `cache` for this text and dictionary, the
// dictionary opened only for a word they lack. Status and error as openHunspellStemmer gives
// them; without a usable cache (disabled, a file that cannot be identified) it is that
// function's stemmer alone. The stems found are written back when the stemmer is destroyed.
// `textHash`, when given, is contentHash(textBytes), known already.
OpenedStemmer openFrenchStemmer(const std::string& dicPath, const std::string& textPath,
                                std::string_view textBytes, const CacheFolder& cache,
                                std::optional<std::uint64_t> textHash = std::nullopt);

// The cache key of a French text's stems: the text (its bytes held by the caller) and the
// dictionary's two files. Empty when a file cannot be reached: then no cache.
std::string frenchStemsKey(const std::string& textPath, std::string_view textBytes,
                           const std::string& dicPath, const std::string& affPath,
                           std::optional<std::uint64_t> textHash = std::nullopt);

} // namespace quorvex
