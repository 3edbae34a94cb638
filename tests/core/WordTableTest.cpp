#include "concordance/WordTable.h"
#include "concordance/WordWalk.h"
#include "text/TextFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace quorvex {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

struct SegmentCase {
    const char* name;
    std::string text;
    Entries expected;  // form and reference of every word
};

class Segmentation : public ::testing::TestWithParam<SegmentCase> {};

TEST_P(Segmentation, GivesTheEntries)
{
    const WordTable table = WordTable::segment(GetParam().text);
    Entries entries;
    for (std::size_t i = 0; i < table.size(); ++i)
        entries.emplace_back(std::string(table.form(i)), table.referenceText(table.referenceId(i)));
    EXPECT_EQ(entries, GetParam().expected);
    EXPECT_EQ(table.text(), GetParam().text);
}

// The walk without a table that a list in text order takes: the same words, the same
// references.
TEST_P(Segmentation, WalkWithoutTableGivesTheSameEntries)
{
    const std::string& text = GetParam().text;
    Entries entries;
    forEachWordWithReference(text, LetterSet::Window,
                             [&](std::size_t offset, std::size_t length, const MarkerReader& key) {
                                 entries.emplace_back(text.substr(offset, length),
                                                      keyOf(text, key.parts(), LetterSet::Window));
                             });
    EXPECT_EQ(entries, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    WordTable, Segmentation,
    ::testing::Values(
        SegmentCase{"referenceInForceUntilNextBracket", "Arma virumque [1] cano, Troiae [2] qui",
                    {{"Arma", ""}, {"virumque", ""}, {"cano", "[1]"}, {"Troiae", "[1]"}, {"qui", "[2]"}}},
        SegmentCase{"wordBeforeBracketGetsOpenedReference", "amor[12] est", {{"amor", "["}, {"est", "[12]"}}},
        SegmentCase{"lettersInGroupAreWords", "[IV] Gallia", {{"IV", "[]"}, {"Gallia", "[]"}}},
        SegmentCase{"markerWithLettersAndDigits", "[Prol. 3] arma", {{"Prol", "[."}, {"arma", "[. 3]"}}},
        SegmentCase{"strayCloseAppended", "[12] a ] b", {{"a", "[12]"}, {"b", "[12]]"}}},
        SegmentCase{"strayCloseBeforeAnyGroup", "a ] b", {{"a", ""}, {"b", "]"}}},
        SegmentCase{"wordEndedByStrayClose", "[1] a] b", {{"a", "[1]]"}, {"b", "[1]]"}}},
        SegmentCase{"openInsideGroupRestarts", "[1 [2] a", {{"a", "[2]"}}},
        SegmentCase{"unclosedGroupCollectsToTheEnd", "[1 a, b", {{"a", "[1 ,"}, {"b", "[1 , "}}},
        SegmentCase{"apostropheSplits", "l'\xE9t\xE9", {{"l", ""}, {"\xE9t\xE9", ""}}},
        SegmentCase{"digitsEndWordsAndAreNotStored", "3a", {{"a", ""}}},
        SegmentCase{"crlfEndsWords", "[1] a\r\nb\r\n", {{"a", "[1]"}, {"b", "[1]"}}},
        SegmentCase{"nonLettersOfTheCodePage", "a\xD7" "b\xF7" "c\xAA" "d\xB5" "e\xBA" "f\x8A" "g\x9F" "h\x9C" "i",
                    {{"a", ""}, {"b", ""}, {"c", ""}, {"d", ""}, {"e", ""}, {"f", ""}, {"g", ""}, {"h", ""}, {"i", ""}}},
        SegmentCase{"lettersAtRangeEdges", "\xC0\xD6 \xD8\xF6 \xF8\xFF Az",
                    {{"\xC0\xD6", ""}, {"\xD8\xF6", ""}, {"\xF8\xFF", ""}, {"Az", ""}}},
        SegmentCase{"noLetters", "[1] 2, 3.", {}}),
    [](const auto& info) { return std::string(info.param.name); });

// The types of a text: each distinct form as written, in the order of its first word, with
// its frequency.
using Types = std::vector<std::pair<std::string, std::size_t>>;

struct TypeCase {
    const char* name;
    std::string text;
    Types expected;
};

class TypeTable : public ::testing::TestWithParam<TypeCase> {};

TEST_P(TypeTable, GivesEachDistinctFormOnceWithItsFrequency)
{
    const WordTable table = WordTable::segment(GetParam().text);
    Types types;
    for (WordTable::TypeId t = 0; t < table.typeCount(); ++t)
        types.emplace_back(std::string(table.typeText(t)), table.typeFrequency(t));
    EXPECT_EQ(types, GetParam().expected);
    // Every word reaches its own form through its type.
    for (std::size_t i = 0; i < table.size(); ++i)
        EXPECT_EQ(table.typeText(table.typeOf(i)), table.form(i)) << "word " << i;
}

const std::string kLongForm(300, 'q');  // longer than a word's one-byte length

INSTANTIATE_TEST_SUITE_P(
    WordTable, TypeTable,
    ::testing::Values(
        TypeCase{"emptyText", "", {}},
        TypeCase{"noWord", "[1] 2, 3.", {}},
        TypeCase{"oneWord", "amor", {{"amor", 1}}},
        TypeCase{"formInTwoCasesIsTwoTypes", "Et et ET et", {{"Et", 1}, {"et", 2}, {"ET", 1}}},
        TypeCase{"formStandingOnce", "et amor et", {{"et", 2}, {"amor", 1}}},
        // The same form hashed from a full load and from the last bytes of the text.
        TypeCase{"formAtTheVeryEnd", "[1] amor est amor", {{"amor", 2}, {"est", 1}}},
        TypeCase{"formsOfEightAndNineBytes", "abcdefgh abcdefghi abcdefgh abcdefghi",
                 {{"abcdefgh", 2}, {"abcdefghi", 2}}},
        TypeCase{"formsSharingTheirLastEightBytes", "xabcdefghijklmnop yabcdefghijklmnop xabcdefghijklmnop",
                 {{"xabcdefghijklmnop", 2}, {"yabcdefghijklmnop", 1}}},
        TypeCase{"formsDifferingInTheMiddle", "abcdefghXjklmnopqrst abcdefghYjklmnopqrst",
                 {{"abcdefghXjklmnopqrst", 1}, {"abcdefghYjklmnopqrst", 1}}},
        TypeCase{"formsDifferingByAnAccent", "\xE9t\xE9 \xC9t\xE9 \xE9t\xE9",
                 {{"\xE9t\xE9", 2}, {"\xC9t\xE9", 1}}},
        TypeCase{"prefixIsItsOwnType", "am amo amor amo", {{"am", 1}, {"amo", 2}, {"amor", 1}}},
        TypeCase{"formLongerThanAByte", kLongForm + " a " + kLongForm, {{kLongForm, 2}, {"a", 1}}}),
    [](const auto& info) { return std::string(info.param.name); });

// A million distinct forms of one to six letters, then all of them again: the table of types
// grows many times and loses none.
TEST(TypeTableTest, KeepsAMillionDistinctForms)
{
    constexpr std::size_t kForms = 1'000'000;
    std::vector<std::string> forms;
    forms.reserve(kForms);
    std::string text;
    for (std::size_t k = 0; k < kForms; ++k) {
        std::string form;
        // Bijective base 26: "a" .. "z", "aa" .. : every number its own form.
        for (std::size_t n = k + 1; n > 0; n = (n - 1) / 26)
            form.insert(form.begin(), static_cast<char>('a' + (n - 1) % 26));
        text += form;
        text += ' ';
        forms.push_back(std::move(form));
    }
    text += text;
    const WordTable table = WordTable::segment(text);
    ASSERT_EQ(table.size(), 2 * kForms);
    ASSERT_EQ(table.typeCount(), kForms);
    for (std::size_t k = 0; k < kForms; ++k) {
        ASSERT_EQ(table.typeText(static_cast<WordTable::TypeId>(k)), forms[k]) << "type " << k;
        ASSERT_EQ(table.typeFrequency(static_cast<WordTable::TypeId>(k)), 2u) << "type " << k;
        ASSERT_EQ(table.typeOf(k), k);
        ASSERT_EQ(table.typeOf(kForms + k), k);
    }
}

} // namespace
} // namespace quorvex

namespace quorvex {
namespace {

// The samples, and the New Testament pair when the corpus is at hand.
std::vector<std::string> realTextPaths()
{
    std::vector<std::string> paths = {std::string(QUORVEX_SAMPLES_DIR) + "/latin.txt",
                                      std::string(QUORVEX_SAMPLES_DIR) + "/francais.txt"};
    for (const char* name : {"/latin-nt.txt", "/francais-nt.txt"})
        if (std::filesystem::exists(std::string(QUORVEX_CORPUS_DIR) + name))
            paths.push_back(std::string(QUORVEX_CORPUS_DIR) + name);
    return paths;
}

// Every word of real texts, in both letter sets: the walk and the table agree word for word.
TEST(WordWalkTest, AgreesWithTheWordTableOnRealTexts)
{
    for (const std::string& path : realTextPaths()) {
        const TextReadResult read = readText(path);
        ASSERT_FALSE(read.error) << path;
        for (const LetterSet letters : {LetterSet::Window, LetterSet::Extended}) {
            SCOPED_TRACE(path + (letters == LetterSet::Window ? " window" : " extended"));
            const WordTable table = WordTable::segment(read.text, letters);
            std::size_t i = 0;
            bool same = true;
            forEachWordWithReference(
                read.text, letters, [&](std::size_t offset, std::size_t length, const MarkerReader& key) {
                    if (!same)
                        return;
                    same = i < table.size() && table.formOffset(i) == offset
                        && table.form(i).size() == length
                        && keyOf(read.text, key.parts(), letters) == table.referenceText(table.referenceId(i));
                    EXPECT_TRUE(same) << "word " << i << " at " << offset;
                    ++i;
                });
            EXPECT_EQ(i, table.size());
        }
    }
}

} // namespace
} // namespace quorvex

namespace quorvex {
namespace {

// Every part a reader can ask of a table, word by word, type by type, reference by reference.
void expectSameTables(const WordTable& derived, const WordTable& cut)
{
    EXPECT_EQ(derived.text(), cut.text());
    EXPECT_EQ(derived.letterSet(), cut.letterSet());
    ASSERT_EQ(derived.size(), cut.size());
    ASSERT_EQ(derived.typeCount(), cut.typeCount());
    ASSERT_EQ(derived.referenceCount(), cut.referenceCount());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < cut.size(); ++i)
        if (derived.formOffset(i) != cut.formOffset(i) || derived.form(i) != cut.form(i)
            || derived.typeOf(i) != cut.typeOf(i) || derived.referenceId(i) != cut.referenceId(i)) {
            EXPECT_LE(++differing, 3u) << "word " << i << " \"" << cut.form(i) << "\"";
        }
    EXPECT_EQ(differing, 0u);
    for (WordTable::TypeId t = 0; t < cut.typeCount(); ++t) {
        EXPECT_EQ(derived.typeText(t), cut.typeText(t)) << "type " << t;
        EXPECT_EQ(derived.typeFrequency(t), cut.typeFrequency(t)) << "type " << t;
    }
    for (WordTable::ReferenceId r = 0; r < cut.referenceCount(); ++r) {
        EXPECT_EQ(derived.referenceText(r), cut.referenceText(r)) << "reference " << r;
        EXPECT_EQ(derived.referenceHash(r), cut.referenceHash(r)) << "reference " << r;
    }
    using Run = std::tuple<std::size_t, std::size_t, WordTable::ReferenceId>;
    std::vector<Run> derivedRuns, cutRuns;
    derived.forEachReferenceRun([&](std::size_t b, std::size_t e, WordTable::ReferenceId r) { derivedRuns.emplace_back(b, e, r); });
    cut.forEachReferenceRun([&](std::size_t b, std::size_t e, WordTable::ReferenceId r) { cutRuns.emplace_back(b, e, r); });
    EXPECT_EQ(derivedRuns, cutRuns);
}

struct ExtendedCase {
    const char* name;
    std::string text;
};

class ExtendedFromWindow : public ::testing::TestWithParam<ExtendedCase> {};

// Œ = 0x8C, œ = 0x9C, š = 0x9A, Ÿ = 0x9F: letters of the extended set only.
TEST_P(ExtendedFromWindow, EqualsTheTextCutWithTheExtendedLetters)
{
    const std::string& text = GetParam().text;
    // The window's table is gone before the derived one is read: what they share outlives it.
    const WordTable derived = WordTable::withExtendedLetters(WordTable::segment(text));
    expectSameTables(derived, WordTable::segment(text, LetterSet::Extended));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ExtendedFromWindow,
    ::testing::Values(
        ExtendedCase{"Empty", ""},
        ExtendedCase{"NoExtraLetter", "[1] In principio erat verbum [2] et verbum erat apud Deum et"},
        ExtendedCase{"ExtraLetterInsideWords",
                     "[1] c\x9Clum et c\x9Clum terra p\x9Cna [2] c\x9Clum c\x9Cpit et terra"},
        ExtendedCase{"ExtraLetterStartsWords", "[1] \x8Cuvre et \x8Cuvre [2] \x9C" "dipus et"},
        ExtendedCase{"SeveralExtraLettersInARow", "[1] a\x9C\x9A" "b a\x9C\x9A" "b a b [2] a\x9C\x9A" "b"},
        ExtendedCase{"WordsOnlyJoinedMatchExistingForms", "[1] ab a\x9C" "b ab [2] a\x9C" "b"},
        ExtendedCase{"ExtraLetterEndsAWord", "[1] c\x9C [2] et c\x9C et"},
        ExtendedCase{"ExtraLetterAlone", "[1] et \x9C et [2] \x9F"},
        ExtendedCase{"ExtraLetterBeforeAMarker", "[1] et c\x9C[2] et"},
        ExtendedCase{"ExtraLetterInsideAMarker", "[1\x9C] c\x9Clum [2] et [\x8C" "a] c\x9Clum"},
        ExtendedCase{"ExtraLetterAfterStrayBracket", "[1] et] c\x9Clum ]] c\x9Clum [2] et"},
        ExtendedCase{"ExtraLetterInUnclosedMarker", "[1] c\x9Clum [2 c\x9Clum"},
        ExtendedCase{"ExtraLetterAgainstMarkers", "c\x9Clum[1]c\x9Clum[2]\x9C" "a"},
        // Eight bytes are passed over at once: the letter, and the bracket that decides
        // whether a marker holds it, fall in other blocks of eight than their neighbours'.
        ExtendedCase{"ExtraLetterInALongMarker", "[1] et [2 long marker text c\x9C] c\x9Clum"},
        ExtendedCase{"ExtraLetterAfterALongClosedMarker", "[1 long marker text] r\xE9 et long words c\x9Clum"},
        ExtendedCase{"ExtraLetterInMarkerAfterOtherHighBytes",
                     "[1] c\x9Clum [2 \xE9t\xE9 \xE0 la fin \xE9 \x9C]"},
        ExtendedCase{"ExtraLetterAtEveryOffsetOfABlock",
                     "[1] a\x9C bb\x9C ccc\x9C dddd\x9C eeeee\x9C ffffff\x9C ggggggg\x9C hhhhhhhh\x9C"},
        ExtendedCase{"ExtraLetterFarInAnUnclosedMarker", "[1] c\x9Clum [2 and a long way on \x9C" "dipus"},
        ExtendedCase{"ExtraLetterInTheTail", "[1] abcdefgh ijklmno c\x9C"}),
    [](const ::testing::TestParamInfo<ExtendedCase>& info) { return std::string(info.param.name); });

// The real texts (the French one is full of œ): the derived table equals the one cut again.
TEST(ExtendedFromWindowTest, EqualsTheTextCutWithTheExtendedLettersOnRealTexts)
{
    for (const std::string& path : realTextPaths()) {
        SCOPED_TRACE(path);
        const TextReadResult read = readText(path);
        ASSERT_FALSE(read.error);
        expectSameTables(WordTable::withExtendedLetters(WordTable::segment(read.text)),
                         WordTable::segment(read.text, LetterSet::Extended));
    }
}

} // namespace
} // namespace quorvex
