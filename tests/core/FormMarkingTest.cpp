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

} // namespace
} // namespace quorvex
