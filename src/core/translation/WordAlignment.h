#pragma once
// Word alignment of sentence pairs, learnt from the pairs themselves by EM, on type ids.
//
// Each direction (French words drawn from the Latin ones, and Latin words drawn from the
// French ones) is trained on its own: a few rounds of IBM Model 1 (Brown et al. 1993) start
// the word translation table, then the reparameterised Model 2 of fast_align (Dyer, Chahuneau
// and Smith 2013), whose alignment prior favours the diagonal of the pair, refines it. A word
// may also come from nothing (the empty word, with a fixed share). The two directions'
// best links are joined by grow-diag-final (Koehn, Och and Marcu 2003): their intersection,
// grown through diagonal and side neighbours found in their union, then the links of
// either direction whose words are still alone.
//
// Memory: one translation probability per distinct (Latin type, French type) pair that
// meets in some sentence pair, per direction, and one pair id per cell of every sentence
// pair (Latin words times French words): flat arrays, time and space linear in the pairs.

#include "translation/AlignmentProgress.h"
#include "translation/SentenceAlignment.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

// Sentence pairs as type ids: pair k holds the Latin tokens latin[latinStart[k],
// latinStart[k+1]) and the French tokens french[frenchStart[k], frenchStart[k+1]).
struct SentencePairs {
    std::vector<std::uint32_t> latin, french;
    std::vector<std::uint32_t> latinStart{0}, frenchStart{0};
    std::uint32_t latinTypes = 0, frenchTypes = 0;  // every id is below these

    std::size_t size() const noexcept { return latinStart.size() - 1; }
    // Appends a pair; the type counts grow to hold its ids.
    void add(const std::vector<std::uint32_t>& latinIds, const std::vector<std::uint32_t>& frenchIds);
};

struct AlignmentSettings {
    int model1Rounds = 5;
    int diagonalRounds = 5;
    double diagonalTension = 4.0;   // how sharply the prior falls away from the diagonal
    double emptyWordShare = 0.08;   // prior share of the empty word
    // A pair with more words than this on one side is left unaligned: its cells would grow
    // with the square of its length (a text without markers is one pair).
    std::uint32_t longestSide = 400;
    bool twoThreads = true;  // the two directions at once
    // How the texts' long passage pairs are cut before they are paired word by word.
    PassageCutting cutting;
};

class WordAlignment {
public:
    // The French tokens (indices into SentencePairs::french) linked to a Latin token (index
    // into SentencePairs::latin), most probable first; none when it renders nothing.
    const std::uint32_t* linksBegin(std::size_t latinToken) const noexcept
    {
        return words() + m_linksAt + words()[m_startAt + latinToken];
    }
    const std::uint32_t* linksEnd(std::size_t latinToken) const noexcept
    {
        return words() + m_linksAt + words()[m_startAt + latinToken + 1];
    }
    std::size_t linkCount(std::size_t latinToken) const noexcept
    {
        return words()[m_startAt + latinToken + 1] - words()[m_startAt + latinToken];
    }
    std::size_t latinTokens() const noexcept { return m_tokens; }

    // The log-likelihood of the pairs under the parameters of each round, Model 1 rounds
    // first: [0] French from Latin, [1] Latin from French. EM never lets it fall.
    const std::vector<double>& likelihoods(int direction) const noexcept { return m_likelihoods[direction]; }
    // Distinct (Latin type, French type) pairs met, and cells of all sentence pairs.
    std::size_t typePairs() const noexcept { return m_typePairs; }
    std::size_t cells() const noexcept { return m_cells; }

    // The alignment as bytes, for the cache folder, and back: nothing when the bytes are not
    // an alignment of `latinTokens` tokens whose links are French tokens below `frenchTokens`.
    std::string bytes() const;
    static std::optional<WordAlignment> fromBytes(std::string_view bytes, std::size_t latinTokens,
                                                  std::size_t frenchTokens);
    // The same from bytes held in 32-bit words from byte 4 * `first` on (as the cache folder
    // reads them): the links are used where they lie, not copied.
    static std::optional<WordAlignment> fromWords(std::vector<std::uint32_t> words, std::size_t first,
                                                  std::size_t byteCount, std::size_t latinTokens,
                                                  std::size_t frenchTokens);
    // The same over words that stay where they are (a mapped cache entry) while `keep` lives.
    static std::optional<WordAlignment> viewOf(const std::uint32_t* words, std::size_t byteCount,
                                               std::size_t latinTokens, std::size_t frenchTokens,
                                               std::shared_ptr<const void> keep);

private:
    const std::uint32_t* words() const noexcept { return m_view ? m_view : m_store.data(); }
    // Places the arrays of the bytes() held in `words` from word `first` on; false when they
    // are not an alignment of so many tokens.
    static bool place(WordAlignment& a, const std::uint32_t* words, std::size_t wordCount, std::size_t first,
                      std::size_t byteCount, std::size_t latinTokens, std::size_t frenchTokens);

    friend WordAlignment alignSentencePairs(const SentencePairs&, const AlignmentSettings&,
                                            const std::vector<std::uint32_t>&, const AlignmentProgress&);
    // Each Latin token's first link (one more at the end: the number of links) from
    // m_startAt, and the links from m_linksAt, in one array.
    std::vector<std::uint32_t> m_store = std::vector<std::uint32_t>(1, 0);
    // Or borrowed words, held by m_keep.
    const std::uint32_t* m_view = nullptr;
    std::shared_ptr<const void> m_keep;
    std::size_t m_startAt = 0;
    std::size_t m_linksAt = 1;
    std::size_t m_tokens = 0;
    std::vector<double> m_likelihoods[2];
    std::size_t m_typePairs = 0;
    std::size_t m_cells = 0;
};

inline constexpr std::uint32_t kNoFixedLink = 0xFFFFFFFFu;

// Trains both directions and links the words. `fixedLinks`, empty or one entry per Latin
// token, holds the caller's own evidence (a name spelt alike in both texts): the French token
// that alone renders it, or kNoFixedLink; that French token then renders no other word.
// Throws std::bad_alloc when memory runs short, AlignmentStopped when `progress` says stop.
WordAlignment alignSentencePairs(const SentencePairs& pairs, const AlignmentSettings& settings = {},
                                 const std::vector<std::uint32_t>& fixedLinks = {},
                                 const AlignmentProgress& progress = {});

class CacheFolder;

// The same, kept in the cache folder under a key made of everything the training reads (the
// pairs' ids, the names' links, the settings), so that a second run on the same texts reads
// the links back instead of training again. `fromCache`, when given, says which it was.
WordAlignment alignSentencePairs(const SentencePairs& pairs, const AlignmentSettings& settings,
                                 const std::vector<std::uint32_t>& fixedLinks, const CacheFolder& cache,
                                 bool* fromCache = nullptr, const AlignmentProgress& progress = {});

} // namespace quorvex
