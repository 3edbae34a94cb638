#include "passages/ReferenceCheck.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace quorvex {
namespace {

// A finding in one line: "L3 duplicate [2] 1" (text, line, kind, marker, then the other
// marker and/or line when the kind has them).
std::string brief(const CheckFinding& f)
{
    static const char* const kinds[] = {"missing", "duplicate", "order", "letters", "stray]",
                                        "unclosed["};
    std::string s = (f.text == CheckedText::Latin ? "L" : "F") + std::to_string(f.line) + " "
        + kinds[static_cast<int>(f.kind)];
    if (!f.marker.empty())
        s += " " + f.marker;
    if (!f.other.empty())
        s += " " + f.other;
    if (f.otherLine)
        s += " " + std::to_string(f.otherLine);
    return s;
}

struct CheckCase {
    const char* name;
    std::string latin;
    std::optional<std::string> french;  // none: the Latin text alone
    std::vector<std::string> findings;
};

class Check : public ::testing::TestWithParam<CheckCase> {};

TEST_P(Check, FindsEachKindOfFaultWithItsLine)
{
    const CheckCase& c = GetParam();
    const std::string frenchText = c.french.value_or("");
    const std::string_view french = frenchText;
    const ReferenceCheck check = checkReferences(c.latin, c.french ? &french : nullptr);
    std::vector<std::string> found;
    for (const CheckFinding& f : check.findings)
        found.push_back(brief(f));
    EXPECT_EQ(found, c.findings);
    EXPECT_EQ(check.agree(), c.findings.empty());
}

const std::string kPair = "[1] a\r\n[2] b\r\n[3] c\r\n";

INSTANTIATE_TEST_SUITE_P(
    ReferenceCheck, Check,
    ::testing::Values(
        CheckCase{"agree", kPair, kPair, {}},
        CheckCase{"missingInFrench", kPair, "[1] a\r\n[2] b\r\n", {"L3 missing [3]"}},
        CheckCase{"missingInLatin", "[1] a\r\n[3] c", kPair, {"F2 missing [2]"}},
        CheckCase{"duplicate", "[1] a\r\n[2] b\r\n[2] c", "[1] [2]", {"L3 duplicate [2] 2"}},
        CheckCase{"duplicateAlsoOutOfOrder", "[1]\n[2]\n[1]", std::nullopt,
                  {"L3 duplicate [1] 1", "L3 order [1] [2] 2"}},
        CheckCase{"outOfOrder", "[1]\n[3]\n[2]\n[4]", std::nullopt, {"L3 order [2] [3] 2"}},
        CheckCase{"dottedInOrder", "[1.9] [1.10] [2] [2.1] [10]", std::nullopt, {}},
        CheckCase{"dottedOutOfOrder", "[1.10]\n[1.9]", std::nullopt, {"L2 order [1.9] [1.10] 1"}},
        CheckCase{"nonNumericNotOrdered", "[5] [3, 4] [ 6 ] [6.]", std::nullopt, {}},
        CheckCase{"holdsLetters", "[Prol. 3] a\r\n[1] b", "[Prol. 3] a [1] b",
                  {"L1 letters [Prol. 3]", "F1 letters [Prol. 3]"}},
        CheckCase{"strayClose", "[1] a ] b\r\n]", std::nullopt, {"L1 stray]", "L2 stray]"}},
        CheckCase{"unclosedBeforeNextOpen", "[1 a\r\n[2] b", std::nullopt, {"L1 unclosed["}},
        CheckCase{"unclosedAtEnd", "[1] a\r\n[", std::nullopt, {"L2 unclosed["}},
        CheckCase{"linesOfEveryKindCounted", "a\r\nb\nc\rd\r\r\n]", std::nullopt, {"L6 stray]"}},
        CheckCase{"findingsInTextOrder", "]\n[2]\n[1]\n[x]", "[1] [2] [2]",
                  {"L1 stray]", "L3 order [1] [2] 2", "L4 missing [x]", "L4 letters [x]",
                   "F1 duplicate [2] 1"}}),
    [](const auto& info) { return std::string(info.param.name); });

// Numbers joined by points compare part by part, by value; anything else is not numeric.
TEST(ReferenceCheck, NumericMarkersCompareByValuePartByPart)
{
    const struct {
        const char* name;
        const char* a;
        const char* b;
        int order;  // sign of compare(a, b)
    } cases[] = {{"partsByValue", "[1.10]", "[1.9]", 1}, {"notAsText", "[2]", "[10]", -1},
                 {"leadingZeros", "[007]", "[7]", 0},     {"shorterFirst", "[1]", "[1.1]", -1},
                 {"blanksAround", "[ 12 ]", "[12]", 0},
                 {"longerThanAnyInteger", "[123456789012345678901234567890]", "[99999999999999999999]", 1}};
    for (const auto& c : cases) {
        ASSERT_TRUE(isNumericMarker(c.a) && isNumericMarker(c.b)) << c.name;
        const int r = compareNumericMarkers(c.a, c.b);
        EXPECT_EQ((r > 0) - (r < 0), c.order) << c.name;
    }
    EXPECT_TRUE(isNumericMarker("[0.0.1]"));
    for (const char* no : {"[]", "[ ]", "[1.]", "[.1]", "[1..2]", "[3, 4]", "[Prol. 3]", "[-1]",
                           "12", "[12"})
        EXPECT_FALSE(isNumericMarker(no)) << no;
}

} // namespace
} // namespace quorvex
