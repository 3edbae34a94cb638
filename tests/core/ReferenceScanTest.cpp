// The two readings of a passage: the viewer's scan (with the neighbouring markers) and the
// save's index of many references. Both must give what the scan read literally gives.

#include "passages/ReferenceScan.h"

#include "text/Letters.h"
#include "concordance/WordTable.h"
#include "support/PassageIndex.h"
#include "passages/ReferencePassages.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

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

TEST_P(ReferenceScanCases, ViewerScanAndPassageIndexAgree)
{
    const ScanCase& c = GetParam();
    const ReferenceScanResult r = scanReference(c.text, c.reference, Neighbours::Record);
    EXPECT_EQ(r.pane, c.pane);
    EXPECT_EQ(r.previous, c.previous);
    EXPECT_EQ(r.next, c.next);
    // The French text's scan records no neighbours.
    const ReferenceScanResult french = scanReference(c.text, c.reference, Neighbours::Ignore);
    EXPECT_EQ(french.pane, c.pane);
    EXPECT_FALSE(french.previous || french.next);
    const PassageIndex index(c.text, {c.reference, "[zz]"});
    EXPECT_EQ(index.found(c.reference), c.pane.has_value());
    EXPECT_EQ(index.passage(c.reference), c.pane.value_or(""));
}

const std::string kThree = "[1] Puer rosam amat.\r\n[2] Puella rosam videt.\r\n[3] Rosa pulchra est.";
const Opt none;

INSTANTIATE_TEST_SUITE_P(
    Passages, ReferenceScanCases,
    ::testing::Values(
        ScanCase{"FirstPassageStartsWithMarker", kThree, "[1]", "[1] Puer rosam amat.\r\n", none, "[2]"},
        ScanCase{"LastPassageRunsToTheEnd", kThree, "[3]", "[3] Rosa pulchra est.", "[2]", none},
        ScanCase{"StrayBracketEndsPassageAndIsNext", "[1] a ] b [2] c", "[1]", "[1] a ", none, "[1]]"},
        ScanCase{"ReferenceStandingTwice", "[1] a [2] b [1] c [3] d", "[1]", "[1] a ] c ", none, "[2]"},
        ScanCase{"LettersOnlyMarkersShareOneKey", "[IV] Gallia [V] est", "[]", "[IV] Gallia ] est", none, none}),
    [](const ::testing::TestParamInfo<ScanCase>& info) { return std::string(info.param.name); });

// The scan read literally, one character at a time: the marker and its key (the marker
// without its letters), then the passage and the complete markers on either side of it.
ScanCase literalScan(const std::string& text, const std::string& reference,
                     LetterSet letters = LetterSet::Window)
{
    std::string marker, key;
    int state = 0;  // 0: no marker yet, 1: inside one, 2: after one
    bool found = false;
    ScanCase out{"", text, reference, none, none, none};
    std::string pane;
    for (char c : text) {
        if (c == ']') {
            marker += c;
            key += c;
            state = 2;
        } else if (state == 1) {
            marker += c;
            if (!isLetterOf(letters, static_cast<unsigned char>(c)))
                key += c;
        }
        if (c == '[') {
            marker = key = "[";
            state = 1;
        }
        if (key == reference) {
            pane += found ? std::string(1, c) : marker;
            found = true;
        } else if (state == 2 && !found) {
            out.previous = key;
        } else if (state == 2 && !out.next) {
            out.next = key;
        }
    }
    if (found)
        out.pane = pane;
    return out;
}

TEST(ReferenceScan, BothAgreeWithTheLiteralScanOnGeneratedTexts)
{
    const std::string outside = "ab  [[]]]1.\r\n\xE9Z";
    const std::string inside[] = {"12 .,[]]]", "12 .,[]]]aP\xC9"};  // without, with letters
    std::mt19937 rng(20261204);
    for (int round = 0; round < 4000; ++round) {
        std::string text;
        bool group = false;
        for (std::size_t n = rng() % 41; n > 0; --n) {
            const std::string& pool = group ? inside[round % 2] : outside;
            const char c = pool[rng() % pool.size()];
            group = c == '[' || (group && c != ']');
            text += c;
        }
        // Every reference the grid could hold for this text, and a few it could not.
        std::set<std::string> wanted = {"", "[", "]", "[1]", "[12]", "[1]]", "[]", "[ ]", "[1", "[zz]"};
        const WordTable table = WordTable::segment(text);
        for (std::size_t i = 0; i < table.size(); ++i)
            wanted.insert(table.referenceText(table.referenceId(i)));
        const std::vector<std::string_view> refs(wanted.begin(), wanted.end());
        const PassageIndex index(text, refs);
        for (const std::string& ref : wanted) {
            const ScanCase expected = literalScan(text, ref);
            const ReferenceScanResult actual = scanReference(text, ref, Neighbours::Record);
            const std::string where = "text \"" + text + "\" ref \"" + ref + "\"";
            ASSERT_EQ(actual.pane, expected.pane) << where;
            ASSERT_EQ(actual.previous, expected.previous) << where;
            ASSERT_EQ(actual.next, expected.next) << where;
            ASSERT_EQ(index.passage(ref), expected.pane.value_or("")) << where;
            ASSERT_EQ(index.found(ref), expected.pane.has_value()) << where;
        }
    }
}

TEST(ReferencePassages, AgreeWithTheLiteralScanInTheirOwnTextAndAnother)
{
    // Markers with letters, blanks and stray "]", unclosed groups, empty references.
    const std::string pool[] = {"a ", "Ab", "\xE9", " ", "\r\n", "[", "]", "[1] ", "[2]", "[1",
                                "[Prol. 3]", "[ IV ] ", ".", "1", "]]", "[\x8A" "1]", "\x9C"};
    std::mt19937 rng(1206);
    const auto generated = [&] {
        std::string text;
        for (std::size_t n = rng() % 30; n > 0; --n)
            text += pool[rng() % std::size(pool)];
        return text;
    };
    for (int round = 0; round < 3000; ++round) {
        const std::string latin = generated();
        const std::string other = generated();
        // The extended letter set leaves Š and œ out of the markers too.
        const LetterSet letters = round % 2 ? LetterSet::Extended : LetterSet::Window;
        const WordTable table = WordTable::segment(latin, letters);
        std::vector<WordTable::ReferenceId> ids;
        for (std::size_t i = 0; i < table.size(); ++i)
            ids.push_back(table.referenceId(i));
        const ReferencePassages inLatin(latin, table, ids);
        const ReferencePassages inOther(other, table, ids);
        for (const WordTable::ReferenceId id : ids) {
            const std::string ref = table.referenceText(id);
            for (const auto& [text, index] : {std::pair{&latin, &inLatin}, {&other, &inOther}}) {
                const std::string where = "text \"" + *text + "\" ref \"" + ref + "\"";
                const ScanCase expected = literalScan(*text, ref, letters);
                ASSERT_EQ(index->passage(id), expected.pane.value_or("")) << where;
                ASSERT_EQ(index->found(id), expected.pane.has_value()) << where;
            }
        }
    }
}

TEST(ReferencePassages, StrayRunsAreCountedNotCopied)
{
    std::string latin = "[1] ";
    for (int i = 0; i < 100000; ++i)
        latin += "amor ] ";
    const WordTable table = WordTable::segment(latin);
    const std::vector<WordTable::ReferenceId> ids = {table.referenceId(0), table.referenceId(99999)};
    const ReferencePassages index(latin, table, ids);
    EXPECT_EQ(index.passage(ids[0]), "[1] amor ");
    // Compared whole, not printed: 100 KB of "]" would drown a failure.
    EXPECT_TRUE(index.passage(ids[1]) == "[1]" + std::string(99999, ']') + " amor ");
}

TEST(PassageIndex, LongStrayRunsAndUnclosedGroupsStayLinear)
{
    // Keys longer than every wanted reference are never looked up; this would take minutes
    // if each "]" cost a lookup of the whole key.
    const std::string text = "[1] a " + std::string(2'000'000, ']') + "[2 " + std::string(2'000'000, '.');
    const PassageIndex index(text, {"[1]", "[2"});
    EXPECT_EQ(index.passage("[1]"), "[1] a ");
    EXPECT_EQ(index.passage("[2"), "[2");
}

} // namespace
} // namespace quorvex
