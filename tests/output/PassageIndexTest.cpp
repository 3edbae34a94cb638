#include "output/MarkerKey.h"
#include "output/PassageIndex.h"

#include "concordance/Letters.h"
#include "concordance/WordTable.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

namespace quorvex {
namespace {

// The passage search read literally: every character, four steps, one reference at a time.
// With `byKey` the marker is compared with its letters left out.
std::string literalPassage(const std::string& text, const std::string& ref, bool byKey,
                           bool* foundOut = nullptr)
{
    std::string r, k, p;
    bool inside = false, found = false;
    for (char c : text) {
        if (c == ']') {
            r += ']';
            k += ']';
            inside = false;
        } else if (inside) {
            r += c;
            if (!isLetter(c))
                k += c;
        }
        if (c == '[') {
            r = "[";
            k = "[";
            inside = true;
        }
        if ((byKey ? k : r) == ref) {
            if (!found) {
                p = r;
                found = true;
            } else {
                p += c;
            }
        }
    }
    if (foundOut)
        *foundOut = found;
    return p;
}

struct PassageCase {
    const char* name;
    std::string text;
    std::string ref;
    std::string expected;
};

class Passage : public ::testing::TestWithParam<PassageCase> {};

TEST_P(Passage, IsWhatTheScanCollects)
{
    const PassageCase& c = GetParam();
    const PassageIndex index(c.text, {c.ref, "[zz]"});
    EXPECT_EQ(index.passage(c.ref), c.expected);
    EXPECT_EQ(literalPassage(c.text, c.ref, true), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    PassageIndex, Passage,
    ::testing::Values(
        PassageCase{"toTheNextBracket", "[1] Puer.\r\n[2] Puella.\r\n", "[1]", "[1] Puer.\r\n"},
        PassageCase{"lastRunsToTheEnd", "[1] a\r\n[2] b\r\n", "[2]", "[2] b\r\n"},
        PassageCase{"standingTwice", "[1] a [2] b [1] c [3] d", "[1]", "[1] a ] c "},
        PassageCase{"standingThrice", "[1]a[1]b[1]c", "[1]", "[1]a]b]c"},
        PassageCase{"missing", "[1] a", "[9]", ""},
        PassageCase{"strayCloseEndsPassage", "[1] a ] b [2] c", "[1]", "[1] a "},
        PassageCase{"strayCloseReference", "[1] a ] b [2] c", "[1]]", "[1]] b "},
        PassageCase{"openBracketOnly", "x[1] a [2] b [[3]", "[", "[[[["},
        PassageCase{"emptyReferenceFromSecondCharacter", "Incipit. [1] a", "", "ncipit. "},
        PassageCase{"emptyReferenceTextStartsWithBracket", "[1] a", "", ""},
        PassageCase{"emptyReferenceEmptyText", "", "", ""},
        PassageCase{"noBracketsEmptyReferenceTakesAllButFirst", "abc", "", "bc"},
        PassageCase{"falseBracketEndsPassage", "[1] a [sic b", "[1]", "[1] a "},
        PassageCase{"markerWithLettersByKey", "[Prol. 3] arma [1] b", "[. 3]", "[Prol. 3] arma "},
        PassageCase{"romanNumeralMarker", "[IV] Gallia [V] est", "[]", "[IV] Gallia ] est"},
        PassageCase{"lettersAfterOpenFollowTheOpenKey", "[Prol. 3] a", "[", "[Prol"},
        PassageCase{"markerWithBlanksAndComma", "[3, 4] a\r\n[5] b", "[3, 4]", "[3, 4] a\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MarkerKey, KeyLeavesLettersOutAndChangesOnlyWhenItSays)
{
    MarkerKey m;
    const std::string text = "a]b[Pr. 3]c";
    std::vector<std::string> keys;
    for (char c : text) {
        const std::string before = m.key;
        const bool skippable = m.leavesUnchanged(c);
        const bool changed = m.feed(c);
        EXPECT_EQ(changed, before != m.key || c == '[' || c == ']') << c;
        if (skippable) {
            EXPECT_EQ(before, m.key);
        }
        keys.push_back(m.key);
    }
    EXPECT_EQ(m.marker, "[Pr. 3]");
    EXPECT_EQ(m.key, "[. 3]");
    EXPECT_FALSE(m.inGroup);
    EXPECT_EQ(keys[1], "]");
}

// Random small texts rich in brackets. `lettersInMarkers` false keeps letters out of groups,
// where the key equals the marker and the index must equal the literal search exactly.
std::string randomText(std::mt19937& rng, bool lettersInMarkers)
{
    static const std::string outside = "ab  [[]]]1.\r\n\xE9Z";
    static const std::string inside = "12 .,[]]]";
    static const std::string insideWithLetters = "12 .,[]]]aP\xC9";
    const std::size_t len = std::uniform_int_distribution<std::size_t>(0, 40)(rng);
    std::string t;
    bool group = false;
    for (std::size_t i = 0; i < len; ++i) {
        const std::string& pool =
            !group ? outside : (lettersInMarkers ? insideWithLetters : inside);
        const char c = pool[std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(rng)];
        if (c == '[')
            group = true;
        else if (c == ']')
            group = false;
        t += c;
    }
    return t;
}

TEST(PassageIndex, EqualsTheLiteralSearchOnGeneratedTexts)
{
    std::mt19937 rng(20261204);
    for (int round = 0; round < 4000; ++round) {
        const bool letters = round % 2 == 1;
        const std::string text = randomText(rng, letters);
        // Every reference the grid could hold for this text, and a few it could not.
        std::set<std::string> wanted = {"", "[", "]", "[1]", "[12]", "[1]]", "[zz]"};
        const WordTable table = WordTable::segment(text);
        for (std::size_t i = 0; i < table.size(); ++i)
            wanted.insert(std::string(table.reference(i)));
        const std::vector<std::string> refs(wanted.begin(), wanted.end());
        const std::vector<std::string_view> views(refs.begin(), refs.end());
        const PassageIndex index(text, views);
        for (const std::string& ref : refs) {
            bool found = false;
            const std::string expected = literalPassage(text, ref, letters, &found);
            ASSERT_EQ(index.passage(ref), expected)
                << "text \"" << text << "\" ref \"" << ref << "\"";
            ASSERT_EQ(index.found(ref), found) << "text \"" << text << "\" ref \"" << ref << "\"";
            if (!letters) {  // without letters in markers, key and marker agree
                ASSERT_EQ(literalPassage(text, ref, false), expected);
            }
        }
    }
}

TEST(PassageIndex, FindsEveryReferenceOfTheSegmentationWhenMarkersHoldLetters)
{
    const std::string text = "[Prol. 1] arma virumque [IV] cano [Ep. 2, 3] Troiae [4] qui";
    const WordTable table = WordTable::segment(text);
    std::vector<std::string_view> refs;
    for (std::size_t i = 0; i < table.size(); ++i)
        refs.push_back(table.reference(i));
    const PassageIndex index(text, refs);
    for (std::string_view ref : refs)
        EXPECT_TRUE(index.found(ref)) << ref;
    EXPECT_EQ(index.passage("[. 1]"), "[Prol. 1] arma virumque ");
    EXPECT_EQ(index.passage("[. 2, 3]"), "[Ep. 2, 3] Troiae ");
}

TEST(PassageIndex, LongStrayRunsAndUnclosedGroupsStayLinear)
{
    // Keys longer than every wanted reference are never looked up; this would take minutes
    // if each "]" cost a lookup of the whole key.
    std::string text = "[1] a ";
    text += std::string(2'000'000, ']');
    text += "[2 ";
    text += std::string(2'000'000, '.');
    const PassageIndex index(text, {"[1]", "[2"});
    EXPECT_EQ(index.passage("[1]"), "[1] a ");
    EXPECT_EQ(index.passage("[2"), "[2");
}

} // namespace
} // namespace quorvex
