#include "output/PrintLayout.h"

#include "concordance/ResultList.h"
#include "concordance/WordTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvex {
namespace {

// "[1] amor [2] amor ...": one attestation per reference.
WordTable tableWith(std::size_t attestations)
{
    std::string text;
    for (std::size_t i = 1; i <= attestations; ++i)
        text += "[" + std::to_string(i) + "] amor ";
    return WordTable::segment(text);
}

struct PageCase {
    const char* name;
    std::size_t attestations;
    std::vector<std::string> firstReferences;  // the reference printed first on each page
};

class AttestationPages : public ::testing::TestWithParam<PageCase> {};

TEST_P(AttestationPages, FirstPageHolds67LinesThenEach68)
{
    const PageCase& c = GetParam();
    const WordTable table = tableWith(c.attestations);
    const PrintOperations ops = attestationListLayout(table, findForms(table, "amor"));
    std::vector<std::string> firstReferences;
    std::size_t separators = 0, headerTypes = 0;
    bool atPageStart = true;
    for (const PrintOperation& o : ops) {
        if (o.op == PrintOp::NewPage)
            atPageStart = true;
        if (o.op == PrintOp::Text && atPageStart && o.text.rfind("[", 0) == 0) {
            firstReferences.push_back(o.text);
            atPageStart = false;
        }
        separators += o.op == PrintOp::Text && o.text == printlayout::kSeparator;
        headerTypes += o.op == PrintOp::SetType && o.pointSize == 12;
    }
    EXPECT_EQ(firstReferences, c.firstReferences);
    EXPECT_EQ(countPages(ops), std::max<std::size_t>(1, c.firstReferences.size()));
    EXPECT_EQ(ops.back().op, PrintOp::EndDocument);
    EXPECT_NE(ops[ops.size() - 2].op, PrintOp::NewPage) << "empty page at the end";
    // Header and separator on the first page only.
    EXPECT_EQ(separators, 1u);
    EXPECT_EQ(headerTypes, 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, AttestationPages,
    ::testing::Values(PageCase{"none", 0, {}},
                      PageCase{"fill_first_page", 67, {"[1]"}},
                      PageCase{"first_of_page_two", 68, {"[1]", "[68]"}},
                      PageCase{"fill_two_pages", 135, {"[1]", "[68]"}},
                      PageCase{"first_of_page_three", 136, {"[1]", "[68]", "[136]"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AttestationList, PrintsBothColumnsWithoutTrailingBlanks)
{
    // An unclosed marker keeps its blanks; a phrase prints its words joined by one blank.
    const WordTable table = WordTable::segment("[1   Amor meus");
    const ResultList results = {Attestation{0, 1}, Attestation{0, 2}};
    EXPECT_EQ(describePrintOperations(attestationListLayout(table, results)),
              "type \"verdana\" 12 bold\ntext \"Forme(s)\"\nx 5000\ntext \"Références\"\nendline\n"
              "text \"------------------------------------------------------------\"\nendline\n"
              "type \"verdana\" 9\n"
              "text \"Amor\"\nx 5000\ntext \"[1\"\nendline\n"
              "text \"Amor meus\"\nx 5000\ntext \"[1\"\nendline\n"
              "enddoc\n");
}

TEST(AttestationList, BeforeAnySearchPrintsHeaderSeparatorAndOneEmptyLine)
{
    const std::string dump =
        describePrintOperations(attestationListLayout(WordTable(), emptyRowList()));
    EXPECT_NE(dump.find("type \"verdana\" 9\ntext \"\"\nx 5000\ntext \"\"\nendline\nenddoc\n"),
              std::string::npos) << dump;
}

struct FrenchCase {
    const char* name;
    std::string french;
    std::vector<std::string> pieces;  // the printed lines after the French heading
};

class FrenchLines : public ::testing::TestWithParam<FrenchCase> {};

TEST_P(FrenchLines, BreakOnlyAtASpaceBeyondThe80thCharacter)
{
    std::vector<std::string> pieces;
    bool afterHeading = false;
    for (const PrintOperation& o : contextLayout("", GetParam().french)) {
        if (afterHeading && o.op == PrintOp::Text)
            pieces.push_back(o.text);
        afterHeading |= o.op == PrintOp::Text && o.text == printlayout::kFrenchHeading;
    }
    EXPECT_EQ(pieces, GetParam().pieces);
}

const std::string a80(80, 'a');
const std::string a79(79, 'a');

INSTANTIATE_TEST_SUITE_P(
    Rule, FrenchLines,
    ::testing::Values(
        FrenchCase{"empty_pane", "", {""}},
        FrenchCase{"space_as_80th_stays", a79 + " bbb", {a79 + " bbb"}},
        FrenchCase{"space_as_81st_ends_line", a80 + " bbb", {a80 + " ", "bbb"}},
        FrenchCase{"no_space_one_piece", std::string(500, 'x'), {std::string(500, 'x')}},
        FrenchCase{"last_piece_empty", a80 + " ", {a80 + " ", ""}},
        FrenchCase{"line_break_counts_two_and_keeps_buffer",
                   std::string(40, 'a') + "\r\n" + std::string(38, 'b') + " c",
                   {std::string(40, 'a') + "\r\n" + std::string(38, 'b') + " ", "c"}},
        FrenchCase{"several_lines", a80 + " " + a80 + "  fin", {a80 + " ", a80 + " ", " fin"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Describe, EscapesControlCharacters)
{
    PrintOperation o;
    o.op = PrintOp::Text;
    o.text = std::string("a\\b\"\x01\x7F", 6);
    EXPECT_EQ(describePrintOperations({o}), "text \"a\\\\b\\\"\\x01\\x7F\"\n");
}

} // namespace
} // namespace quorvex
