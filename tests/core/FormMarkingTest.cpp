#include "passages/FormMarking.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvex {

void PrintTo(const MarkRange& m, std::ostream* os) { *os << "(" << m.start << ", " << m.length << ")"; }

namespace {

struct MarkCase {
    const char* name;
    std::string passage;  // Windows-1252
    std::string form;
    std::vector<MarkRange> marks;
};

class FormMarkingCases : public ::testing::TestWithParam<MarkCase> {};

TEST_P(FormMarkingCases, Marks) { EXPECT_EQ(formMarks(GetParam().passage, GetParam().form), GetParam().marks); }

// A one-word form is marked alike whether the export takes it for a phrase or not.
TEST_P(FormMarkingCases, AsAOneWordPhrase)
{
    EXPECT_EQ(phraseMarks(GetParam().passage, GetParam().form), GetParam().marks);
}

INSTANTIATE_TEST_SUITE_P(
    WindowManager, FormMarkingCases,
    ::testing::Values(
        MarkCase{"EveryCaseMarkedLongerWordNot", "[4] Amor vincit; Amor et amorem.", "amor", {{4, 4}, {17, 4}}},
        MarkCase{"FormTypedInCapitals", "[4] amor", "AMOR", {{4, 4}}},
        MarkCase{"WordAtVeryEnd", "[4] ubi amor", "amor", {{8, 4}}},
        MarkCase{"AcrossLineBreaks", "[1] amor\r\nAmor\r\n", "amor", {{4, 4}, {10, 4}}},
        MarkCase{"AccentedCapitalsLowered", "\xC9T\xC9 \xE9t\xE9", "\xE9t\xE9", {{0, 3}, {4, 3}}},
        MarkCase{"LigatureOeEndsWord", "c\x9Cur", "ur", {{2, 2}}},
        MarkCase{"ApostropheAndDigitsEndWords", "l'amor3amor", "amor", {{2, 4}, {7, 4}}},
        MarkCase{"FormInsideLongerWordNotMarked", "inamor amorem", "amor", {}},
        MarkCase{"FormHoldingNonLetterNeverMatches", "l'amor", "l'amor", {}},
        MarkCase{"EmptyFormMarksNothing", "a  b", "", {}}),
    [](const ::testing::TestParamInfo<MarkCase>& info) { return std::string(info.param.name); });

struct PhraseMarkCase {
    const char* name;
    std::string passage;  // Windows-1252
    std::string form;     // words joined by one blank, as an attestation's form
    LetterSet letters;
    std::vector<MarkRange> marks;
    std::string after = {};  // the text after the passage
};

class PhraseMarkingCases : public ::testing::TestWithParam<PhraseMarkCase> {};

TEST_P(PhraseMarkingCases, MarksEachWordOfEachOccurrence)
{
    const PhraseMarkCase& c = GetParam();
    EXPECT_EQ(phraseMarks(c.passage, c.form, c.letters, c.after), c.marks);
}

INSTANTIATE_TEST_SUITE_P(
    Phrases, PhraseMarkingCases,
    ::testing::Values(
        PhraseMarkCase{"SeparatedByOneBlank", "[1] Si Filius Dei es", "Filius Dei", LetterSet::Window,
                       {{7, 6}, {14, 3}}},
        PhraseMarkCase{"EveryOccurrenceCaseIgnored", "filius dei, FILIUS DEI.", "Filius Dei",
                       LetterSet::Window, {{0, 6}, {7, 3}, {12, 6}, {19, 3}}},
        PhraseMarkCase{"PunctuationAndBlanksBetween", "filius ,  ; dei", "filius dei", LetterSet::Window,
                       {{0, 6}, {12, 3}}},
        PhraseMarkCase{"LineBreakBetween", "filius\r\ndei", "filius dei", LetterSet::Window,
                       {{0, 6}, {8, 3}}},
        PhraseMarkCase{"MarkerBetween", "Deus meus, Deus [2.2] meus est", "Deus meus", LetterSet::Window,
                       {{0, 4}, {5, 4}, {11, 4}, {22, 4}}},
        PhraseMarkCase{"WordsAlonePartOfNoOccurrence", "dei filius; filius et dei; filius dei",
                       "filius dei", LetterSet::Window, {{27, 6}, {34, 3}}},
        PhraseMarkCase{"OverlappingOccurrences", "et et et", "et et", LetterSet::Window,
                       {{0, 2}, {3, 2}, {6, 2}}},
        PhraseMarkCase{"LettersInsideAMarkerAreWords", "filius [2.a] dei", "filius dei",
                       LetterSet::Window, {}},
        PhraseMarkCase{"LongerWordBreaksThePhrase", "filius deique", "filius dei", LetterSet::Window, {}},
        PhraseMarkCase{"GoesOnAfterThePassage", "[2.1] Deus meus, Deus\r\n", "Deus meus",
                       LetterSet::Window, {{6, 4}, {11, 4}, {17, 4}}, "[2.2] meus est"},
        PhraseMarkCase{"StopsAtTheTextsEnd", "[1] Si Filius, ", "filius dei", LetterSet::Window, {}, ""},
        PhraseMarkCase{"TheTextAfterDoesNotGoOn", "[1] Si Filius", "filius dei", LetterSet::Window, {},
                       "[2] Deus"},
        PhraseMarkCase{"ThreeWordsTwoAfter", "a b c a", "a b c", LetterSet::Window,
                       {{0, 1}, {2, 1}, {4, 1}, {6, 1}}, " [9] b c d"},
        PhraseMarkCase{"TheTextAfterAloneMarksNothing", "x", "a b", LetterSet::Window, {}, "a b"},
        PhraseMarkCase{"OeInsideAWordWithTheExtendedLetters", "P\x9Cnitentiam agite", "P\x9Cnitentiam agite",
                       LetterSet::Extended, {{0, 11}, {12, 5}}},
        PhraseMarkCase{"OeCutsTheWordWithTheWindowsLetters", "P\x9Cnitentiam agite",
                       "P\x9Cnitentiam agite", LetterSet::Window, {}},
        PhraseMarkCase{"OneWordAsFormMarks", "[4] Amor vincit; Amor et amorem.", "amor", LetterSet::Window,
                       {{4, 4}, {17, 4}}},
        PhraseMarkCase{"EmptyFormMarksNothing", "a  b", "", LetterSet::Window, {}}),
    [](const ::testing::TestParamInfo<PhraseMarkCase>& info) { return std::string(info.param.name); });

TEST(PanePositions, EachCrLfBeforeAMarkIsOnePosition)
{
    const struct {
        const char* name;
        std::string passage;
        std::vector<MarkRange> marks;     // byte offsets
        std::vector<MarkRange> expected;  // pane positions
    } rows[] = {
        {"noLineBreak", "[1] amor et amor", {{4, 4}, {12, 4}}, {{4, 4}, {12, 4}}},
        {"crLfBeforeSecond", "[1] amor\r\namor", {{4, 4}, {10, 4}}, {{4, 4}, {9, 4}}},
        {"severalPairs", "a\r\n\r\nb\r\nc", {{6, 1}, {9, 1}}, {{4, 1}, {6, 1}}},
        {"loneCrAndLfKeepTheirPlace", "a\rb\nc\n\rd", {{2, 1}, {4, 1}, {7, 1}}, {{2, 1}, {4, 1}, {7, 1}}},
        {"crLfRightBeforeTheMark", "\r\namor", {{2, 4}}, {{1, 4}}},
        {"noMarks", "a\r\nb", {}, {}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(panePositions(row.passage, row.marks), row.expected) << row.name;
}

} // namespace
} // namespace quorvex
