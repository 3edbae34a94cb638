// The sentences of a long passage pair aligned by their lengths, and the pair cut into
// pieces where they meet.

#include "translation/SentenceAlignment.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace quorvex {
namespace {

using Beads = std::vector<SentenceBead>;

TEST(SentenceAlignment, SentencesPairByTheirLengths)
{
    struct Row {
        const char* name;
        std::vector<std::uint32_t> latin, french;
        Beads beads;
    };
    const Row rows[] = {
        {"one for one", {80, 40, 120, 60}, {100, 50, 150, 75}, {{1, 1}, {1, 1}, {1, 1}, {1, 1}}},
        {"a Latin period rendered by two French sentences", {60, 200, 50}, {75, 120, 130, 60},
         {{1, 1}, {1, 2}, {1, 1}}},
        {"two short Latin sentences rendered by one", {90, 30, 35, 80}, {110, 85, 100}, {{1, 1}, {2, 1}, {1, 1}}},
        {"no French at all", {10, 20}, {}, {{1, 0}, {1, 0}}},
        {"no Latin at all", {}, {10}, {{0, 1}}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(alignSentences(row.latin, row.french), row.beads) << row.name;
}

TEST(SentenceAlignment, ThousandsOfSentencesFollowTheirOwnBeads)
{
    // A made-up translation: mostly one for one, some Latin sentences split in two, some
    // joined; French a quarter longer, give or take.
    std::mt19937 random(7);
    std::uniform_int_distribution<std::uint32_t> length(20, 240);
    std::uniform_int_distribution<int> kind(0, 9), noise(-6, 6);
    std::vector<std::uint32_t> latin, french;
    Beads expected;
    for (int k = 0; k < 3000; ++k) {
        const int what = kind(random);
        const std::uint32_t a = length(random);
        if (what == 0) {
            const std::uint32_t b = length(random);
            latin.insert(latin.end(), {a, b});
            french.push_back(static_cast<std::uint32_t>(int(5 * (a + b) / 4) + noise(random)));
            expected.push_back({2, 1});
        } else if (what == 1) {
            latin.push_back(a);
            const std::uint32_t whole = 5 * a / 4, first = whole / 3;
            french.insert(french.end(), {first, static_cast<std::uint32_t>(int(whole - first) + noise(random))});
            expected.push_back({1, 2});
        } else {
            latin.push_back(a);
            french.push_back(static_cast<std::uint32_t>(int(5 * a / 4) + noise(random)));
            expected.push_back({1, 1});
        }
    }
    const Beads found = alignSentences(latin, french);
    std::size_t same = 0, l = 0, f = 0;
    for (const SentenceBead& b : found) {
        l += b.latin;
        f += b.french;
    }
    EXPECT_EQ(l, latin.size());
    EXPECT_EQ(f, french.size());
    // The beads found match the made-up ones where both place their boundaries.
    std::size_t i = 0, j = 0, ei = 0, ej = 0, e = 0;
    for (const SentenceBead& b : found) {
        while (e < expected.size() && (ei < i || (ei == i && ej < j))) {
            ei += expected[e].latin;
            ej += expected[e].french;
            ++e;
        }
        if (ei == i && ej == j && e < expected.size() && expected[e] == b)
            ++same;
        i += b.latin;
        j += b.french;
    }
    EXPECT_GE(same, expected.size() * 95 / 100) << same << " of " << expected.size();
}

// A side of `sentences` sentences of `words` words each, of five letters.
PassageSide sideOf(std::vector<std::uint32_t> sentences)
{
    PassageSide side;
    for (const std::uint32_t words : sentences)
        for (std::uint32_t w = 0; w < words; ++w)
            side.add(5, w + 1 == words);
    return side;
}

// Words before each sentence's end.
std::vector<std::uint32_t> sentenceEnds(const PassageSide& side)
{
    std::vector<std::uint32_t> ends;
    for (std::uint32_t w = 0; w < side.words(); ++w)
        if (side.endsSentence[w] || w + 1 == side.words())
            ends.push_back(w + 1);
    return ends;
}

TEST(SentenceAlignment, LongPairsAreCutIntoShortPiecesWithWordsOnBothSides)
{
    struct Row {
        const char* name;
        PassageSide latin, french;
        bool atSentenceEnds;  // every cut falls where sentences end on both sides
        std::size_t pieces;   // 0: more than one
    };
    PassageSide noEnds;
    for (int w = 0; w < 400; ++w)
        noEnds.add(6, false);
    PassageSide frenchNoEnds;
    for (int w = 0; w < 500; ++w)
        frenchNoEnds.add(6, false);
    const Row rows[] = {
        {"a verse stays whole", sideOf({12, 9}), sideOf({15, 12}), true, 1},
        {"long on the French side only", sideOf({30, 30}), sideOf({60, 61}), true, 0},
        {"a chapter of sentences", sideOf(std::vector<std::uint32_t>(40, 12)), sideOf(std::vector<std::uint32_t>(40, 15)),
         true, 0},
        {"a sentence the French leaves out at the start",
         sideOf({20, 15, 15, 15, 15, 15, 15, 15, 15}), sideOf({19, 19, 19, 19, 19, 19, 19, 19}), true, 0},
        {"no sentence end: cut along the diagonal", noEnds, frenchNoEnds, false, 10},
        {"one French sentence for many Latin ones", sideOf(std::vector<std::uint32_t>(20, 10)), sideOf({240}), false, 0},
        {"a bead longer than two pieces", sideOf({10, 160, 10}), sideOf({12, 200, 12}), false, 0},
    };
    const PassageCutting cutting;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::vector<PieceEnd> pieces = cutPassagePair(row.latin, row.french, cutting);
        ASSERT_FALSE(pieces.empty());
        if (row.pieces != 0)
            EXPECT_EQ(pieces.size(), row.pieces);
        else
            EXPECT_GT(pieces.size(), 1u);
        EXPECT_EQ(pieces.back(), (PieceEnd{row.latin.words(), row.french.words()}));
        const std::vector<std::uint32_t> latinEnds = sentenceEnds(row.latin), frenchEnds = sentenceEnds(row.french);
        PieceEnd start;
        for (const PieceEnd& end : pieces) {
            EXPECT_GT(end.latin, start.latin);
            EXPECT_GT(end.french, start.french);
            if (row.pieces != 1) {
                EXPECT_LE(end.latin - start.latin, 2 * cutting.pieceWords);
                EXPECT_LE(end.french - start.french, 2 * cutting.pieceWords);
            }
            if (row.atSentenceEnds) {
                EXPECT_NE(std::find(latinEnds.begin(), latinEnds.end(), end.latin), latinEnds.end()) << end.latin;
                EXPECT_NE(std::find(frenchEnds.begin(), frenchEnds.end(), end.french), frenchEnds.end()) << end.french;
            }
            start = end;
        }
    }
}

TEST(SentenceAlignment, AnyPairIsCutIntoPiecesThatCoverItInOrder)
{
    // Sides of any length, sentence ends anywhere (or nowhere), words of any length.
    std::mt19937 random(11);
    std::uniform_int_distribution<std::uint32_t> words(0, 900), letters(1, 14), endEvery(0, 40);
    for (int round = 0; round < 300; ++round) {
        PassageSide sides[2];
        for (PassageSide& side : sides) {
            const std::uint32_t count = words(random), every = endEvery(random);
            for (std::uint32_t w = 0; w < count; ++w)
                side.add(letters(random), every != 0 && random() % every == 0);
        }
        SCOPED_TRACE("round " + std::to_string(round) + ": " + std::to_string(sides[0].words()) + " and "
                     + std::to_string(sides[1].words()) + " words");
        const std::vector<PieceEnd> pieces = cutPassagePair(sides[0], sides[1]);
        ASSERT_FALSE(pieces.empty());
        EXPECT_EQ(pieces.back(), (PieceEnd{sides[0].words(), sides[1].words()}));
        const bool bothSides = sides[0].words() > 0 && sides[1].words() > 0;
        PieceEnd start;
        for (const PieceEnd& end : pieces) {
            EXPECT_GE(end.latin, start.latin);
            EXPECT_GE(end.french, start.french);
            if (bothSides) {
                EXPECT_GT(end.latin, start.latin);
                EXPECT_GT(end.french, start.french);
            }
            start = end;
        }
    }
}

} // namespace
} // namespace quorvex
