#include "output/ResultFile.h"

#include "concordance/FormSearch.h"
#include "concordance/GridHeader.h"
#include "concordance/WordTable.h"

#include "../TempDir.h"
#include "../WorkedExample.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace quorvex {
namespace {

using namespace testsupport;

const std::string kRule(74, '-');

std::string resultOf(const GridModel& grid, const std::string& latin, const std::string* french,
                     const std::string& title = "T", const std::string& date = "D")
{
    std::ostringstream out;
    writeResultFile(out, grid, title, date, latin, french);
    return out.str();
}

GridModel searched(const std::string& latin, const std::string& query)
{
    GridModel grid;
    prepareGrid(grid);
    searchIntoGrid(WordTable::segment(latin), query, grid);
    return grid;
}

std::vector<std::string> linesOf(const std::string& file)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at; (at = file.find("\r\n", start)) != std::string::npos; start = at + 2)
        lines.push_back(file.substr(start, at - start));
    EXPECT_EQ(start, file.size()) << "the file must end with CR LF";
    return lines;
}

TEST(ResultFile, WorkedExampleByteForByte)
{
    const GridModel grid = searched(kExampleLatin, "rosam");
    const std::string file =
        resultOf(grid, kExampleLatin, &kExampleFrench, kExampleTitle, kExampleDate);
    EXPECT_EQ(file, exampleResultFile());
    EXPECT_EQ(linesOf(file).size(), 17u);
}

TEST(ResultFile, ListPaddingRule)
{
    struct Case {
        const char* name;
        std::size_t formLength;
        std::size_t spaces;
    };
    const Case cases[] = {{"short", 5, 31}, {"thirtyFour", 34, 2}, {"thirtyFive", 35, 0},
                          {"longer", 50, 0}, {"empty", 0, 36}};
    for (const Case& c : cases) {
        GridModel grid;
        prepareGrid(grid);
        grid.setCell(1, 0, std::string(c.formLength, 'a'));
        grid.setCell(1, 1, "[7]");
        const std::vector<std::string> lines = linesOf(resultOf(grid, "", nullptr));
        EXPECT_EQ(lines[4], "Forme(s)" + std::string(28, ' ') + "R\xE9" "f\xE9rences") << c.name;
        EXPECT_EQ(lines[5], std::string(c.formLength, 'a') + std::string(c.spaces, ' ') + "[7]")
            << c.name;
    }
}

TEST(ResultFile, Blocks)
{
    const std::string latin = "Prooemium. [1] a b\r\n[2] c [1] d\r\n[3] e";
    const std::string french = "[1] A\r\n[3] E\r\n";
    const std::string noFrench;
    struct Case {
        const char* name;
        std::string query;
        bool sortForms;
        const std::string* french;
        std::vector<std::string> linesAfterList;
    };
    const std::vector<Case> cases = {
        {"standingTwice", "d", false, &french, {kRule, "[1] a b", "] d", "", "[1] A", ""}},
        {"missingInFrench", "c", false, &french, {kRule, "[2] c ", ""}},
        {"lastPassageToTheEnd", "e", false, &french, {kRule, "[3] e", "[3] E", ""}},
        {"emptyFrenchMeansNoFrenchLine", "e", false, &noFrench, {kRule, "[3] e"}},
        {"noFrenchText", "e", false, nullptr, {kRule, "[3] e"}},
        {"emptyReference", "prooemium", false, nullptr, {kRule, "rooemium. "}},
        {"sortedRowsInSortedOrder", "*", true, nullptr,
         {kRule, "[1] a b", "] d", "", kRule, "[1] a b", "] d", "", kRule, "[2] c ", kRule,
          "[1] a b", "] d", "", kRule, "[3] e", kRule, "rooemium. "}},
        {"nothingFound", "zz", false, &french, {}},
    };
    for (const Case& c : cases) {
        GridModel grid = searched(latin, c.query);
        if (c.sortForms) {
            grid.setColSel(0);
            grid.sort();
        }
        const std::vector<std::string> lines = linesOf(resultOf(grid, latin, c.french));
        const std::size_t listEnd = 4 + grid.rows();
        ASSERT_GE(lines.size(), listEnd) << c.name;
        EXPECT_EQ(std::vector<std::string>(lines.begin() + static_cast<long>(listEnd), lines.end()),
                  c.linesAfterList)
            << c.name;
    }

    GridModel edited = searched(latin, "e");
    edited.setCell(1, 1, "[9]");  // a reference neither text holds
    const std::vector<std::string> lines = linesOf(resultOf(edited, latin, &french));
    EXPECT_EQ(std::vector<std::string>(lines.end() - 3, lines.end()),
              (std::vector<std::string>{kRule, "", ""}));
}

TEST(ResultFile, HeaderAndGridBeforeAnySearch)
{
    GridModel grid;
    prepareGrid(grid);  // the header and one empty row
    const std::vector<std::string> lines = linesOf(resultOf(grid, "xy [1] z", nullptr, "", "D"));
    const std::vector<std::string> expected = {
        "R\xE9" "f\xE9rence(s) : ", "Recherche effectu\xE9" "e le : D", kRule, "",
        "Forme(s)" + std::string(28, ' ') + "R\xE9" "f\xE9rences", std::string(36, ' '), kRule,
        "y "};
    EXPECT_EQ(lines, expected);
}

TEST(ResultFile, SaveReadsTheTextsAndNamesTheFailingFile)
{
    TempDir dir;
    const std::string latin = dir.write("latin.txt", kExampleLatin);
    const std::string french = dir.write("fr.txt", kExampleFrench);
    const std::string out = dir.file("out.txt");
    const GridModel grid = searched(kExampleLatin, "rosam");

    EXPECT_FALSE(saveResultFile(out, grid, kExampleTitle, kExampleDate, latin, french));
    EXPECT_EQ(slurp(out), exampleResultFile());

    struct Case {
        const char* name;
        std::string latin, french, output;
        FileErrorKind kind;
        std::string named;
    };
    const Case failures[] = {
        {"latinMissing", dir.file("none.txt"), french, out, FileErrorKind::NotFound,
         dir.file("none.txt")},
        {"frenchMissing", latin, dir.file("nf.txt"), out, FileErrorKind::NotFound,
         dir.file("nf.txt")},
        {"latinIsAFolder", dir.file(""), "", out, FileErrorKind::IsDirectory, dir.file("")},
        {"outputFolderMissing", latin, french, dir.file("no/out.txt"),
         FileErrorKind::WriteFailed, dir.file("no/out.txt")},
        {"outputIsAFolder", latin, french, dir.file(""), FileErrorKind::IsDirectory,
         dir.file("")},
    };
    for (const Case& c : failures) {
        const FileError e = saveResultFile(c.output, grid, "other", "date", c.latin, c.french);
        EXPECT_EQ(e.kind, c.kind) << c.name;
        EXPECT_EQ(e.path, c.named) << c.name;
        EXPECT_EQ(slurp(out), exampleResultFile()) << c.name << ": the older file changed";
    }
    EXPECT_EQ(dir.entries(), 3u);  // no temporary file left behind
}

TEST(ResultFile, DefaultDateLeavesOutMidnight)
{
    setenv("TZ", "UTC", 1);
    tzset();
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 4;
    t.tm_hour = 11;
    t.tm_min = 25;
    t.tm_sec = 50;
    EXPECT_EQ(defaultDateText(timegm(&t)), "04/12/2026 11:25:50");
    t.tm_hour = t.tm_min = t.tm_sec = 0;
    EXPECT_EQ(defaultDateText(timegm(&t)), "04/12/2026");
    t.tm_sec = 1;
    EXPECT_EQ(defaultDateText(timegm(&t)), "04/12/2026 00:00:01");
}

} // namespace
} // namespace quorvex
