#include "viewer/ReferenceScan.h"

#include "concordance/Letters.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

namespace quorvex {
namespace {

using Opt = std::optional<std::string>;

struct ScanCase {
    const char* name;
    std::string text;
    std::string reference;
    Opt pane;
    Opt previous;
    Opt next;
};

class ReferenceScanCases : public ::testing::TestWithParam<ScanCase> {};

TEST_P(ReferenceScanCases, LatinScan)
{
    const ScanCase& c = GetParam();
    const ReferenceScanResult r = scanReference(c.text, c.reference, Neighbours::Record);
    EXPECT_EQ(r.pane, c.pane);
    EXPECT_EQ(r.previous, c.previous);
    EXPECT_EQ(r.next, c.next);
}

TEST_P(ReferenceScanCases, FrenchScanRecordsNoNeighbours)
{
    const ScanCase& c = GetParam();
    const ReferenceScanResult r = scanReference(c.text, c.reference, Neighbours::Ignore);
    EXPECT_EQ(r.pane, c.pane);
    EXPECT_EQ(r.previous, std::nullopt);
    EXPECT_EQ(r.next, std::nullopt);
}

const std::string kThree = "[1] Puer rosam amat.\r\n[2] Puella rosam videt.\r\n[3] Rosa pulchra est.";

INSTANTIATE_TEST_SUITE_P(
    Passages, ReferenceScanCases,
    ::testing::Values(
        ScanCase{"FirstPassageStartsWithMarkerAndKeepsPrevious", kThree, "[1]",
                 "[1] Puer rosam amat.\r\n", std::nullopt, "[2]"},
        ScanCase{"MiddlePassageShowsItsLineBreak", kThree, "[2]",
                 "[2] Puella rosam videt.\r\n", "[1]", "[3]"},
        ScanCase{"LastPassageRunsToEndAndKeepsNext", kThree, "[3]", "[3] Rosa pulchra est.",
                 "[2]", std::nullopt},
        ScanCase{"MissingReferenceLeavesPaneAndRecordsLastMarker", kThree, "[9]", std::nullopt,
                 "[3]", std::nullopt},
        ScanCase{"ComparisonIsExact", kThree, "[2 ]", std::nullopt, "[3]", std::nullopt},
        ScanCase{"StrayBracketEndsPassageAndBecomesNext", "[1] a ] b [2] c", "[1]", "[1] a ",
                 std::nullopt, "[1]]"},
        ScanCase{"StrayBracketBeforePassageBecomesPrevious", "[1] a ] b [2] c", "[2]", "[2] c",
                 "[1]]", std::nullopt},
        ScanCase{"ReferenceStandingTwice", "[1] a [2] b [1] c [3] d", "[1]", "[1] a ] c ",
                 std::nullopt, "[2]"},
        ScanCase{"EmptyReferenceFromSecondCharacter", "Praefatio [1] a [2] b", "", "raefatio ",
                 std::nullopt, "[1]"},
        ScanCase{"EmptyReferenceTextStartingWithMarker", "[1] a [2] b", "", std::nullopt, "[2]",
                 std::nullopt},
        ScanCase{"EmptyText", "", "[1]", std::nullopt, std::nullopt, std::nullopt},
        ScanCase{"UnclosedLastMarkerIsNoNeighbour", "[1] a [2 b", "[1]", "[1] a ",
                 std::nullopt, std::nullopt},
        ScanCase{"OpeningBracketInsideMarkerRestarts", "[0] x [1 [2] a", "[2]", "[2] a", "[0]",
                 std::nullopt},
        ScanCase{"MarkerOfDigitsBlanksAndCommas", "[3, 4] a [5.1] b", "[5.1]", "[5.1] b",
                 "[3, 4]", std::nullopt},
        ScanCase{"MarkerWithLettersFoundByItsKeyShownWhole", "[Prol. 3] a\r\n[4] b", "[. 3]",
                 "[Prol. 3] a\r\n", std::nullopt, "[4]"},
        ScanCase{"NeighbourWithLettersRecordedAsKey", "[Prol. 1] x [2] y [Epil.] z", "[2]",
                 "[2] y ", "[. 1]", "[.]"},
        ScanCase{"MarkerWithLettersNotFoundByItsFullText", "[IV] a", "[IV]", std::nullopt,
                 "[]", std::nullopt}),
    [](const ::testing::TestParamInfo<ScanCase>& info) { return std::string(info.param.name); });

// The scan as a literal walk, one character at a time, against which the run-by-run scan
// is checked.
ReferenceScanResult literalScan(const std::string& text, const std::string& reference)
{
    std::string r;
    int s = 0;  // 0 none yet, 1 inside, 2 closed
    int f = 0;
    ReferenceScanResult out;
    std::string pane;
    for (char c : text) {
        if (c == ']') {
            r += c;
            s = 2;
        }
        if (s == 1)
            r += c;
        if (c == '[') {
            r = "[";
            s = 1;
        }
        std::string key;
        for (char k : r)
            if (!isLetter(k))
                key += k;
        if (key == reference) {
            if (f == 0) {
                pane = r;
                f = 1;
            } else {
                pane += c;
            }
        } else if (f == 0 && s == 2) {
            out.previous = key;
        } else if (f == 1 && s == 2) {
            out.next = key;
            f = 2;
        }
    }
    if (f > 0)
        out.pane = pane;
    return out;
}

TEST(ReferenceScan, AgreesWithLiteralWalkOnGeneratedTexts)
{
    const std::string alphabet = "[[]]]12 aA\r\n\xE9.";
    const std::vector<std::string> references = {"", "[1]", "[2]", "[12]", "[", "[1]]", "[]", "[ ]", "[1"};
    std::mt19937 random(20240611);
    for (int round = 0; round < 4000; ++round) {
        std::string text(random() % 40, ' ');
        for (char& c : text)
            c = alphabet[random() % alphabet.size()];
        for (const std::string& reference : references) {
            const ReferenceScanResult expected = literalScan(text, reference);
            const ReferenceScanResult actual = scanReference(text, reference, Neighbours::Record);
            ASSERT_EQ(actual.pane, expected.pane) << "text: " << text << " ref: " << reference;
            ASSERT_EQ(actual.previous, expected.previous) << "text: " << text << " ref: " << reference;
            ASSERT_EQ(actual.next, expected.next) << "text: " << text << " ref: " << reference;
        }
    }
}

} // namespace
} // namespace quorvex
