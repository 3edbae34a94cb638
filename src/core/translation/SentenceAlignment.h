#pragma once
// Long passage pairs cut into pieces for the word alignment.
//
// A reference may mark a verse or a whole chapter. The word alignment weighs every Latin word
// of a pair against every French word, so a pair of a few hundred words would cost the square
// of its length and blur its links. Such a pair is cut where its sentences meet: the sentences
// of the two sides are aligned by their lengths in characters (Gale and Church 1991, "A
// program for aligning sentences in bilingual corpora": beads of 1-1, 1-0, 0-1, 2-1, 1-2 and
// 2-2 sentences, the cost of a bead its prior and how far the French length strays from the
// Latin one times the passage's own ratio), and neighbouring beads are gathered into pieces of
// a few dozen words. A bead still too long (no sentence end for hundreds of words) is cut in
// proportion, along the pair's diagonal.

#include <cstdint>
#include <vector>

namespace quorvex {

// One side of a passage pair: the letters of each word, and the words after which a sentence
// ends (text/SentenceStops.h).
struct PassageSide {
    std::vector<std::uint32_t> wordLetters;
    std::vector<char> endsSentence;  // one per word

    std::uint32_t words() const noexcept { return static_cast<std::uint32_t>(wordLetters.size()); }
    void add(std::uint32_t letters, bool sentenceEndsAfter)
    {
        wordLetters.push_back(letters);
        endsSentence.push_back(sentenceEndsAfter ? 1 : 0);
    }
    void clear() noexcept
    {
        wordLetters.clear();
        endsSentence.clear();
    }
};

struct PassageCutting {
    std::uint32_t cutAbove = 100;   // a pair with more words than this on a side is cut
    std::uint32_t pieceWords = 50;  // beads are gathered up to this many words a side
};

// The end of a piece: the Latin and French words before it (pieces follow one another).
struct PieceEnd {
    std::uint32_t latin = 0, french = 0;
    friend bool operator==(const PieceEnd& a, const PieceEnd& b) noexcept
    {
        return a.latin == b.latin && a.french == b.french;
    }
};

// A bead: so many Latin sentences rendered by so many French sentences.
struct SentenceBead {
    std::uint8_t latin = 0, french = 0;
    friend bool operator==(const SentenceBead& a, const SentenceBead& b) noexcept
    {
        return a.latin == b.latin && a.french == b.french;
    }
};

// The beads of the least cost that pair the Latin sentences (their lengths in characters)
// with the French ones, in order. Searched within a band around the diagonal, so that a
// passage of thousands of sentences costs their number, not its square.
std::vector<SentenceBead> alignSentences(const std::vector<std::uint32_t>& latinLengths,
                                         const std::vector<std::uint32_t>& frenchLengths);

// Where to cut a passage pair: one piece (the whole pair) unless a side has more than
// `cutting.cutAbove` words; every piece has words on both sides when the pair has.
std::vector<PieceEnd> cutPassagePair(const PassageSide& latin, const PassageSide& french,
                                     const PassageCutting& cutting = {});

} // namespace quorvex
