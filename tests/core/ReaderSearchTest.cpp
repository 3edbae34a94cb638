// Spelling folding, phrases, the filter on the other text, and collocates, against values
// worked out by hand.

#include "passages/BothSides.h"
#include "concordance/Collocates.h"
#include "concordance/PhraseQuery.h"
#include "concordance/SpellingFold.h"
#include "concordance/WordTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace quorvex {
namespace {

// Windows-1252 bytes, written out.
struct FoldCase {
    const char* name;
    std::string written;
    std::string expected;
};

class SpellingFolding : public ::testing::TestWithParam<FoldCase> {};

TEST_P(SpellingFolding, EveryPairInSmallAndCapitalLetters)
{
    EXPECT_EQ(folded(GetParam().written, Folding::Spelling), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, SpellingFolding,
    ::testing::Values(
        FoldCase{"case", "ABCXYZ", "abcxyz"},
        FoldCase{"capitalsOfTheCodePage", "\x8A\x8C\x8E\x9F", "soezy"},
        FoldCase{"smallsOfTheCodePage", "\x9A\x9C\x9E", "soez"},
        FoldCase{"ligatures", "\xE6\xC6\x9C\x8C", "aeaeoeoe"},
        FoldCase{"jAndV", "jJvV", "iiuu"},
        FoldCase{"aWithMarks", "\xE0\xE1\xE2\xE3\xE4\xE5\xC0\xC1\xC2\xC3\xC4\xC5", "aaaaaaaaaaaa"},
        FoldCase{"cWithCedilla", "\xE7\xC7", "cc"},
        FoldCase{"eWithMarks", "\xE8\xE9\xEA\xEB\xC8\xC9\xCA\xCB", "eeeeeeee"},
        FoldCase{"iWithMarks", "\xEC\xED\xEE\xEF\xCC\xCD\xCE\xCF", "iiiiiiii"},
        FoldCase{"nWithTilde", "\xF1\xD1", "nn"},
        FoldCase{"oWithMarks", "\xF2\xF3\xF4\xF5\xF6\xF8\xD2\xD3\xD4\xD5\xD6\xD8", "oooooooooooo"},
        FoldCase{"uWithMarks", "\xF9\xFA\xFB\xFC\xD9\xDA\xDB\xDC", "uuuuuuuu"},
        FoldCase{"yWithMarks", "\xFD\xFF\xDD\x9F", "yyyy"},
        FoldCase{"eth", "\xF0\xD0", "dd"},
        FoldCase{"thorn", "\xFE\xDE", "thth"},
        FoldCase{"sharpS", "\xDF", "ss"},
        FoldCase{"nonLettersKept", "*[1.2]\x92\xD7\xF7", "*[1.2]\x92\xD7\xF7"},
        FoldCase{"wholeWord", "P\x9Cnit\xE9ntiam", "poenitentiam"}),
    [](const auto& info) { return std::string(info.param.name); });

struct MatchCase {
    const char* name;
    std::string typed;
    std::string form;
    Folding folding;
    bool matches;
};

class WordPatterns : public ::testing::TestWithParam<MatchCase> {};

TEST_P(WordPatterns, StarOnFoldedForms)
{
    const MatchCase& c = GetParam();
    EXPECT_EQ(WordPattern(c.typed, c.folding).matches(c.form), c.matches);
}

INSTANTIATE_TEST_SUITE_P(
    Queries, WordPatterns,
    ::testing::Values(
        MatchCase{"modernSpellingFindsLigature", "caelum", "c\xE6lum", Folding::Spelling, true},
        MatchCase{"capitalLigature", "caelum", "C\xC6LUM", Folding::Spelling, true},
        MatchCase{"ligatureTypedFindsPlain", "c\xE6lum", "caelum", Folding::Spelling, true},
        MatchCase{"diaeresis", "israel", "Isra\xEBl", Folding::Spelling, true},
        MatchCase{"jAsI", "iustus", "justus", Folding::Spelling, true},
        MatchCase{"vAsU", "uultus", "Vultus", Folding::Spelling, true},
        MatchCase{"oeInsideWord", "poenit*", "p\x9Cnitentiam", Folding::Spelling, true},
        // The star splits the folded query and meets the folded form: "ca" begins "caelum"
        // though the written form begins "c\xE6".
        MatchCase{"starAfterLigatureSplit", "ca*", "c\xE6lum", Folding::Spelling, true},
        MatchCase{"starBeforeFoldedEnd", "*ael", "Isra\xEBl", Folding::Spelling, true},
        MatchCase{"starWithLigatureTyped", "c\xE6*m", "Caelum", Folding::Spelling, true},
        MatchCase{"starOnBothSidesStillNeedsBoth", "ce*m", "c\xE6lum", Folding::Spelling, false},
        MatchCase{"differentWord", "caelum", "c\xE6lo", Folding::Spelling, false},
        MatchCase{"caseOnlyKeepsLigatureApart", "caelum", "c\xE6lum", Folding::Case, false},
        MatchCase{"caseOnlyKeepsJApart", "iustus", "justus", Folding::Case, false},
        MatchCase{"caseOnlyIgnoresCase", "am*", "AMOR", Folding::Case, true}),
    [](const auto& info) { return std::string(info.param.name); });

// The search folds as it compares; on generated forms and queries it must agree with folding
// both sides whole and matching the folded texts.
TEST(WordPatterns, FoldingAsItComparesAgreesWithFoldingFirst)
{
    // Letters that fold to one or two characters, their capitals, and letters that fold to
    // what others fold to, so that matches are frequent.
    const std::string alphabet = "aeiousjvt\xE6\xC6\x9C\x8C\xDF\xFE\xDE\xE9\xCB\xFF\x9F\xF0";
    std::uint32_t seed = 12345;
    const auto next = [&seed](std::uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    const auto word = [&](std::uint32_t maxLength) {
        std::string w;
        for (std::uint32_t k = next(maxLength + 1); k > 0; --k)
            w += alphabet[next(static_cast<std::uint32_t>(alphabet.size()))];
        return w;
    };
    std::size_t matched = 0;
    for (int q = 0; q < 400; ++q) {
        std::string typed = word(4);
        for (std::uint32_t stars = next(3); stars > 0; --stars)
            typed.insert(next(static_cast<std::uint32_t>(typed.size()) + 1), "*");
        const WordPattern pattern(typed, Folding::Spelling);
        const FormQuery straight = FormQuery::parse(folded(typed, Folding::Spelling));
        for (int f = 0; f < 200; ++f) {
            const std::string form = word(6);
            const bool expected = straight.matches(folded(form, Folding::Spelling));
            matched += expected;
            ASSERT_EQ(pattern.matches(form), expected) << "query " << typed << " form " << form;
        }
    }
    EXPECT_GT(matched, 1000u);  // the generator does reach matches
}

TEST(LetterSets, ExtendedKeepsOeAndCapitalsInsideWords)
{
    const std::string text = "[1] P\x9Cnitentiam \x8Amaria \x9F" "e";
    const WordTable window = WordTable::segment(text);
    const WordTable extended = WordTable::segment(text, LetterSet::Extended);
    ASSERT_EQ(window.size(), 4u);  // P | nitentiam | maria | e
    EXPECT_EQ(window.form(0), "P");
    ASSERT_EQ(extended.size(), 3u);
    EXPECT_EQ(extended.form(0), "P\x9Cnitentiam");
    EXPECT_EQ(extended.form(1), "\x8Amaria");
    EXPECT_EQ(extended.form(2), "\x9F" "e");
    EXPECT_EQ(extended.referenceText(extended.referenceId(2)), "[1]");
}

// The attestations of a phrase, each as "form|reference".
std::vector<std::string> found(const std::string& text, const std::string& typed, bool phrase,
                               Folding folding)
{
    const WordTable table = WordTable::segment(text, folding == Folding::Spelling
                                                         ? LetterSet::Extended
                                                         : LetterSet::Window);
    std::vector<std::string> out;
    for (const Attestation& s : PhraseQuery(typed, phrase, folding).find(table))
        out.push_back(attestationForm(table, s) + "|" + table.referenceText(table.referenceId(s.first)));
    return out;
}

struct PhraseCase {
    const char* name;
    std::string text;
    std::string typed;
    bool phrase;
    Folding folding;
    std::vector<std::string> expected;
};

class Phrases : public ::testing::TestWithParam<PhraseCase> {};

TEST_P(Phrases, ConsecutiveWords)
{
    const PhraseCase& c = GetParam();
    EXPECT_EQ(found(c.text, c.typed, c.phrase, c.folding), c.expected);
}

const std::string kJohn = "[1] In principio erat Verbum,\r\n[2] et Verbum erat apud Deum";

INSTANTIATE_TEST_SUITE_P(
    Sequences, Phrases,
    ::testing::Values(
        PhraseCase{"acrossMarkerAndPunctuation", kJohn, "verbum et", true, Folding::Case,
                   {"Verbum et|[1]"}},
        PhraseCase{"withStar", kJohn, "verb* erat", true, Folding::Case,
                   {"Verbum erat|[2]"}},
        PhraseCase{"starWordFirst", kJohn, "* apud", true, Folding::Case, {"erat apud|[2]"}},
        PhraseCase{"atTheEndOfTheText", kJohn, "apud deum", true, Folding::Case,
                   {"apud Deum|[2]"}},
        PhraseCase{"cannotRunPastTheEnd", kJohn, "deum et", true, Folding::Case, {}},
        PhraseCase{"blanksAtTheEndsAndInRuns", kJohn, "  erat \t  verbum ", true, Folding::Case,
                   {"erat Verbum|[1]"}},
        PhraseCase{"blankFindsNothingWithoutPhrase", kJohn, "erat verbum", false, Folding::Case, {}},
        PhraseCase{"blanksOnlyFindNothing", kJohn, "   ", true, Folding::Case, {}},
        PhraseCase{"overlappingPlaces", "[1] et et et", "et et", true, Folding::Case,
                   {"et et|[1]", "et et|[1]"}},
        PhraseCase{"oneWordIsAForm", kJohn, "verbum", true, Folding::Case,
                   {"Verbum|[1]", "Verbum|[2]"}},
        PhraseCase{"folded", "[3] c\xE6li et terr\xE6", "caeli et terrae", true, Folding::Spelling,
                   {"c\xE6li et terr\xE6|[3]"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct SidesCase {
    const char* name;
    std::string french;
    std::string frenchForm;
    Folding folding;
    std::vector<std::string> refs;  // of the Latin attestations of "deus" kept
};

class BothSidesOfThePair : public ::testing::TestWithParam<SidesCase> {};

TEST_P(BothSidesOfThePair, KeepsWhereTheFrenchPassageHoldsTheForm)
{
    const SidesCase& c = GetParam();
    const WordTable latin = WordTable::segment(
        "[1] Deus caritas est.\r\n[2] Dominus Deus.\r\n[3] Deus lux.\r\n[4] Deus, Deus meus.\r\n");
    const ResultList all = PhraseQuery("deus", false, c.folding).find(latin);
    std::vector<std::string> refs;
    for (const Attestation& s : keepWhereOtherPassageHolds(latin, all, c.french,
                                                    WordPattern(c.frenchForm, c.folding),
                                                    c.folding == Folding::Spelling ? LetterSet::Extended
                                                                                   : LetterSet::Window))
        refs.push_back(latin.referenceText(latin.referenceId(s.first)));
    EXPECT_EQ(refs, c.refs);
}

const std::string kFrench = "[1] Dieu est amour.\r\n[2] Le Seigneur Dieu.\r\n[3] Dieu est lumi\xE8re.\r\n"
                            "[4] Mon Dieu, mon Dieu.\r\n";

INSTANTIATE_TEST_SUITE_P(
    Filter, BothSidesOfThePair,
    ::testing::Values(
        SidesCase{"everyPassage", kFrench, "DIEU", Folding::Case, {"[1]", "[2]", "[3]", "[4]", "[4]"}},
        SidesCase{"onePassage", kFrench, "seigneur", Folding::Case, {"[2]"}},
        SidesCase{"starInFrench", kFrench, "lumi*", Folding::Case, {"[3]"}},
        SidesCase{"accentsOnlyWhenNormalized", kFrench, "lumiere", Folding::Case, {}},
        SidesCase{"accentsFolded", kFrench, "lumiere", Folding::Spelling, {"[3]"}},
        SidesCase{"frenchPassageMissing", "[1] Dieu.\r\n[2] Dieu.\r\n[4] Dieu.\r\n", "dieu",
                  Folding::Case, {"[1]", "[2]", "[4]", "[4]"}},
        // A marker that stands twice gathers both stretches, as the result file does.
        SidesCase{"referenceTwice", "[1] Dieu.\r\n[3] Lui.\r\n[2] Rien.\r\n[3] Dieu.\r\n", "dieu",
                  Folding::Case, {"[1]", "[3]"}},
        SidesCase{"markerLettersAreNoWords", "[1 dieu] rien\r\n", "dieu", Folding::Case, {}},
        SidesCase{"noFrenchText", "", "dieu", Folding::Case, {}}),
    [](const auto& info) { return std::string(info.param.name); });

std::string threeDecimals(double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3f", v);
    return buf;
}

struct CollocateCase {
    const char* name;
    std::string text;
    std::string node;
    std::size_t window;
    Folding folding;
    // "form O f(c) mi ll", in the order given out
    std::vector<std::string> expected;
};

class Collocates : public ::testing::TestWithParam<CollocateCase> {};

TEST_P(Collocates, CountsAndScoresWorkedOutByHand)
{
    const CollocateCase& c = GetParam();
    const WordTable table = WordTable::segment(c.text, c.folding == Folding::Spelling
                                                           ? LetterSet::Extended
                                                           : LetterSet::Window);
    const ResultList hits = PhraseQuery(c.node, true, c.folding).find(table);
    std::vector<std::string> got;
    for (const Collocate& k : findCollocates(table, hits, c.window, c.folding))
        got.push_back(k.form + " " + std::to_string(k.cooccurrences) + " " + std::to_string(k.frequency)
                      + " " + threeDecimals(k.mi) + " " + threeDecimals(k.logLikelihood));
    EXPECT_EQ(got, c.expected);
}

// W = 8, f(n) = 2, S = 2. b: O = 2, f = 2: mi = log2(2*8/(2*2*2)) = 1; table a=2 b=2 c=0 d=4,
// margins 4 4 / 2 6, G2 = 2(2 ln 2 + 2 ln 2/3 + 4 ln 4/3) = 3.452. c: O = 1, f = 1: mi = 1,
// a=1 b=3 c=0 d=4, G2 = 2(ln 2 + 3 ln 3/3.5 + 4 ln 4/3.5) = 1.530. a: O = 1, f = 2: mi = 0,
// a=1 b=3 c=1 d=3, expected = observed, G2 = 0.
// "n x n": x is in both windows, O = 2 > f(x) = 1: mi = log2(2*3/(2*1*2)) = 0.585;
// a=2 b=2 c=-1 d=0, margins 4 -1 / 1 2: G2 = 2(2 ln 2/(4/3) + 2 ln 2/(8/3)) = 0.471.
// "n n a b c d": n stands in the other's window, O = 2, f = 2, W = 6: mi = log2(4/3) = 0.585,
// a=2 b=2 c=0 d=2, margins 4 2 / 2 4: G2 = 2(2 ln 1.5 + 2 ln 0.75 + 2 ln 1.5) = 2.093.
// "a b n m c a n m b d": W = 10 and the phrase's own words stay out of its windows.
INSTANTIATE_TEST_SUITE_P(
    HandCounted, Collocates,
    ::testing::Values(
        CollocateCase{"oneWordEachSide", "a b n c a n b d", "n", 1, Folding::Case,
                      {"b 2 2 1.000 3.452", "c 1 1 1.000 1.530", "a 1 2 0.000 0.000"}},
        CollocateCase{"markersDoNotStopTheWindowAndCaseIsFolded", "[1] a B [2] N c [3] A n b d",
                      "n", 1, Folding::Case,
                      {"b 2 2 1.000 3.452", "c 1 1 1.000 1.530", "a 1 2 0.000 0.000"}},
        CollocateCase{"overlappingWindowsCountAgain", "n x n", "n", 1, Folding::Case,
                      {"x 2 1 0.585 0.471"}},
        CollocateCase{"otherAttestationsCountLikeAnyWord", "n n a b c d", "n", 1, Folding::Case,
                      {"n 2 2 0.585 2.093", "a 1 1 0.585 0.908"}},
        CollocateCase{"phraseWordsLeftOut", "a b n m c a n m b d", "n m", 1, Folding::Case,
                      {"b 2 2 1.322 4.463", "c 1 1 1.322 2.003", "a 1 2 0.322 0.103"}},
        CollocateCase{"spellingFolded", "a c\xE6li n caeli a n b d", "n", 1, Folding::Spelling,
                      {"caeli 2 2 1.000 3.452", "b 1 1 1.000 1.530", "a 1 2 0.000 0.000"}},
        CollocateCase{"windowClippedAtTheEnds", "n a b", "n", 2, Folding::Case,
                      {"a 1 1 -0.415 0.131", "b 1 1 -0.415 0.131"}},
        CollocateCase{"nothingFound", "a b", "n", 5, Folding::Case, {}}),
    [](const auto& info) { return std::string(info.param.name); });


// The counts by walking every window word by word, on generated texts: forms of every length
// around the 8 and 16 bytes the counting handles apart, variants that fold together, and
// words that touch the end of the text.
TEST(Collocates, CountsAgreeWithWalkingEveryWindow)
{
    const std::vector<std::string> stems = {"n", "et", "c\xE6li", "CAELI", "Caeli", "deus",
                                            "abcdefg", "abcdefgh", "abcdefghi", "abcdefghijklmno",
                                            "abcdefghijklmnop", "abcdefghijklmnopq",
                                            "ABCDEFGHIJKLMNOPQ", "abcdefghijklmnopqrstuvwxyz",
                                            "p\x9Cnitentiam", "poenitentiam"};
    std::uint32_t seed = 777;
    const auto next = [&seed](std::uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    for (int round = 0; round < 60; ++round) {
        std::string text;
        const int words = 1 + static_cast<int>(next(80));
        for (int k = 0; k < words; ++k) {
            if (next(6) == 0)
                text += "[" + std::to_string(k) + "] ";
            text += stems[next(static_cast<std::uint32_t>(stems.size()))];
            text += next(2) ? " " : ", ";
        }
        if (next(2))  // the last word ends the text
            text.pop_back(), text.pop_back();
        const Folding folding = next(2) ? Folding::Spelling : Folding::Case;
        const WordTable table = WordTable::segment(
            text, folding == Folding::Spelling ? LetterSet::Extended : LetterSet::Window);
        const std::string node = next(2) ? "n" : "c*";
        const std::size_t window = 1 + next(6);
        const ResultList hits = PhraseQuery(node, true, folding).find(table);

        std::map<std::string, std::pair<std::size_t, std::size_t>> walked;  // O, f(c)
        for (std::size_t i = 0; i < table.size(); ++i)
            ++walked[folded(table.form(i), folding)].second;
        for (const Attestation& h : hits) {
            const std::size_t from = h.first >= window ? h.first - window : 0;
            const std::size_t to = std::min<std::size_t>(h.first + h.words + window, table.size());
            for (std::size_t i = from; i < to; ++i)
                if (i < h.first || i >= h.first + h.words)
                    ++walked[folded(table.form(i), folding)].first;
        }
        std::map<std::string, std::pair<std::size_t, std::size_t>> expected;
        for (const auto& [form, counts] : walked)
            if (counts.first > 0)
                expected[form] = counts;

        std::map<std::string, std::pair<std::size_t, std::size_t>> got;
        for (const Collocate& c : findCollocates(table, hits, window, folding))
            got[c.form] = {c.cooccurrences, c.frequency};
        ASSERT_EQ(got, expected) << "text " << text << " node " << node << " N " << window;
    }
}

} // namespace
} // namespace quorvex
