#include "viewer/FormMarking.h"

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

TEST_P(FormMarkingCases, Marks)
{
    const MarkCase& c = GetParam();
    EXPECT_EQ(formMarks(c.passage, c.form), c.marks);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, FormMarkingCases,
    ::testing::Values(
        MarkCase{"EveryCaseMarkedLongerWordNot", "[4] Amor vincit; Amor et amorem.", "amor",
                 {{4, 4}, {17, 4}}},
        MarkCase{"FormTypedInCapitals", "[4] amor", "AMOR", {{4, 4}}},
        MarkCase{"WordAtVeryEnd", "[4] ubi amor", "amor", {{8, 4}}},
        MarkCase{"WholeTextOneWord", "amor", "Amor", {{0, 4}}},
        MarkCase{"AcrossLineBreaks", "[1] amor\r\nAmor\r\n", "amor", {{4, 4}, {10, 4}}},
        MarkCase{"AccentedCapitalsLowered", "\xC9T\xC9 \xE9t\xE9", "\xE9t\xE9", {{0, 3}, {4, 3}}},
        MarkCase{"ThornPairLowered", "\xDE" "a \xFE" "a", "\xFE" "a", {{0, 2}, {3, 2}}},
        MarkCase{"LigatureOeEndsWord", "c\x9Cur", "ur", {{2, 2}}},
        MarkCase{"MultiplicationSignEndsWord", "a\xD7" "b", "b", {{2, 1}}},
        MarkCase{"DivisionSignEndsWord", "a\xF7" "b", "a", {{0, 1}}},
        MarkCase{"CapitalYDiaeresisIsNoLetter", "\x9F" "amor", "amor", {{1, 4}}},
        MarkCase{"ApostropheAndDigitsEndWords", "l'amor3amor", "amor", {{2, 4}, {7, 4}}},
        MarkCase{"FormInsideLongerWordNotMarked", "inamor amorem", "amor", {}},
        MarkCase{"FormHoldingNonLetterNeverMatches", "l'amor", "l'amor", {}},
        MarkCase{"EmptyFormMarksNothing", "a  b", "", {}},
        MarkCase{"EmptyPassage", "", "amor", {}}),
    [](const ::testing::TestParamInfo<MarkCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace quorvex
