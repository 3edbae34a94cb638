#include "output/PrintLayout.h"

#include "concordance/GridModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvex {
namespace {

GridModel gridWith(std::size_t attestations)
{
    GridModel grid;
    grid.setCell(0, 0, "Forme(s)");
    grid.setCell(0, 1, "R\xE9" "f\xE9rences");
    grid.setRows(1);
    for (std::size_t i = 1; i <= attestations; ++i)
        grid.appendRow("amor" + std::to_string(i), "[" + std::to_string(i) + "]");
    return grid;
}

// The form printed first on each page, and the number of pages.
struct Pages {
    std::vector<std::string> firstForms;
    std::size_t count = 0;
};

Pages pagesOf(const PrintOperations& ops)
{
    Pages pages;
    pages.count = 1;
    bool atPageStart = true;
    for (const PrintOperation& o : ops) {
        if (o.op == PrintOp::NewPage) {
            ++pages.count;
            atPageStart = true;
        } else if (o.op == PrintOp::Text && atPageStart && o.text.rfind("amor", 0) == 0) {
            pages.firstForms.push_back(o.text);
            atPageStart = false;
        }
    }
    return pages;
}

struct PageCase {
    const char* name;
    std::size_t attestations;
    std::size_t pages;
    std::vector<std::string> firstForms;
};

class AttestationPages : public ::testing::TestWithParam<PageCase> {};

TEST_P(AttestationPages, FirstPageHolds67LinesThenEach68)
{
    const PageCase& c = GetParam();
    const PrintOperations ops = attestationListLayout(gridWith(c.attestations));

    const Pages pages = pagesOf(ops);
    EXPECT_EQ(pages.count, c.pages);
    EXPECT_EQ(countPages(ops), c.pages);
    EXPECT_EQ(pages.firstForms, c.firstForms);
    ASSERT_GE(ops.size(), 2u);
    EXPECT_EQ(ops.back().op, PrintOp::EndDocument);
    EXPECT_NE(ops[ops.size() - 2].op, PrintOp::NewPage) << "empty page at the end";

    // Header and separator on the first page only.
    std::size_t separators = 0, headerTypes = 0;
    for (const PrintOperation& o : ops) {
        separators += o.op == PrintOp::Text && o.text == printlayout::kSeparator;
        headerTypes += o.op == PrintOp::SetType && o.pointSize == 12;
    }
    EXPECT_EQ(separators, 1u);
    EXPECT_EQ(headerTypes, 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, AttestationPages,
    ::testing::Values(PageCase{"none", 0, 1, {}},
                      PageCase{"one", 1, 1, {"amor1"}},
                      PageCase{"fill_first_page", 67, 1, {"amor1"}},
                      PageCase{"first_of_page_two", 68, 2, {"amor1", "amor68"}},
                      PageCase{"fill_two_pages", 135, 2, {"amor1", "amor68"}},
                      PageCase{"first_of_page_three", 136, 3, {"amor1", "amor68", "amor136"}},
                      PageCase{"fill_three_pages", 203, 3, {"amor1", "amor68", "amor136"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AttestationList, PrintsTheGridColumnsWithoutTrailingSpaces)
{
    GridModel grid;
    grid.setCell(0, 0, "Forme(s)  ");
    grid.setCell(0, 1, "R\xE9" "f\xE9rences");
    grid.setCell(1, 0, "  Amor \t ");
    grid.setCell(1, 1, "[1]   ");
    grid.appendRow("amorem\xA0", "    ");

    EXPECT_EQ(describePrintOperations(attestationListLayout(grid)),
              "type \"verdana\" 12 bold\n"
              "text \"Forme(s)\"\n"
              "x 5000\n"
              "text \"Références\"\n"
              "endline\n"
              "text \"------------------------------------------------------------\"\n"
              "endline\n"
              "type \"verdana\" 9\n"
              "text \"  Amor \\t\"\n"
              "x 5000\n"
              "text \"[1]\"\n"
              "endline\n"
              "text \"amorem\xC2\xA0\"\n"
              "x 5000\n"
              "text \"\"\n"
              "endline\n"
              "enddoc\n");
}

TEST(AttestationList, BeforeAnySearchPrintsHeaderSeparatorAndOneEmptyLine)
{
    GridModel grid;  // header and one empty row, as the search window shows it first
    grid.setCell(0, 0, "Forme(s)");
    grid.setCell(0, 1, "R\xE9" "f\xE9rences");
    const PrintOperations ops = attestationListLayout(grid);
    const std::string dump = describePrintOperations(ops);
    EXPECT_NE(dump.find("type \"verdana\" 9\n"
                        "text \"\"\nx 5000\ntext \"\"\nendline\nenddoc\n"),
              std::string::npos)
        << dump;
    EXPECT_EQ(countPages(ops), 1u);
}

// The French pane as the printout breaks it: the texts of the printed pieces.
std::vector<std::string> frenchPieces(const std::string& french)
{
    const PrintOperations ops = contextLayout("", french);
    std::vector<std::string> pieces;
    bool afterHeading = false;
    for (const PrintOperation& o : ops) {
        if (o.op == PrintOp::Text && o.text == printlayout::kFrenchHeading)
            afterHeading = true;
        else if (afterHeading && o.op == PrintOp::Text)
            pieces.push_back(o.text);
    }
    return pieces;
}

struct FrenchCase {
    const char* name;
    std::string french;
    std::vector<std::string> pieces;
};

class FrenchLines : public ::testing::TestWithParam<FrenchCase> {};

TEST_P(FrenchLines, BreakOnlyAtASpaceBeyondThe80thCharacter)
{
    EXPECT_EQ(frenchPieces(GetParam().french), GetParam().pieces);
}

const std::string a80(80, 'a');
const std::string a79(79, 'a');

INSTANTIATE_TEST_SUITE_P(
    Rule, FrenchLines,
    ::testing::Values(
        FrenchCase{"empty_pane", "", {""}},
        FrenchCase{"short", "Le loup.", {"Le loup."}},
        FrenchCase{"space_as_80th_stays", a79 + " bbb", {a79 + " bbb"}},
        FrenchCase{"space_as_81st_ends_line", a80 + " bbb", {a80 + " ", "bbb"}},
        FrenchCase{"no_space_one_piece", std::string(500, 'x'), {std::string(500, 'x')}},
        FrenchCase{"last_piece_empty", a80 + " ", {a80 + " ", ""}},
        FrenchCase{"line_break_counts_two_and_keeps_buffer",
                   std::string(40, 'a') + "\r\n" + std::string(38, 'b') + " c",
                   {std::string(40, 'a') + "\r\n" + std::string(38, 'b') + " ", "c"}},
        FrenchCase{"several_lines",
                   a80 + " " + a80 + "  fin",
                   {a80 + " ", a80 + " ", " fin"}},
        FrenchCase{"only_spaces_after_81", std::string(85, ' '),
                   {std::string(81, ' '), std::string(4, ' ')}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Context, HeadingsUnderlinedLatinInOnePiece)
{
    const std::string latin = "[12] Arma virumque\r\ncano, \"Troiae\"\r\n";
    EXPECT_EQ(describePrintOperations(contextLayout(latin, "Je chante l'\xE9p\xE9" "e")),
              "type \"verdana\" 9 bold underline\n"
              "text \"Texte latin:\"\n"
              "endline\n"
              "type \"verdana\" 9\n"
              "text \"[12] Arma virumque\\r\\ncano, \\\"Troiae\\\"\\r\\n\"\n"
              "endline\n"
              "type \"verdana\" 9 bold underline\n"
              "text \"Texte francais:\"\n"
              "endline\n"
              "type \"verdana\" 9\n"
              "text \"Je chante l'épée\"\n"
              "endline\n"
              "enddoc\n");
}

TEST(Describe, EscapesControlCharacters)
{
    PrintOperation o;
    o.op = PrintOp::Text;
    o.text = std::string("a\\b\x01\x7F", 5);
    EXPECT_EQ(describePrintOperations({o}), "text \"a\\\\b\\x01\\x7F\"\n");
}

} // namespace
} // namespace quorvex
