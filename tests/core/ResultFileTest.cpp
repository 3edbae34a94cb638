// The result file's blocks of passages, and the date the command line writes when it is
// given none. The whole file, byte for byte, and its failures are tested through the search
// window.

#include "output/ResultFile.h"

#include "concordance/FormSearch.h"
#include "concordance/GridHeader.h"
#include "concordance/WordTable.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <sstream>
#include <string>
#include <vector>

namespace quorvex {
namespace {

using Lines = std::vector<std::string>;

const std::string kRule(74, '-');

GridModel searched(const std::string& latin, const std::string& query)
{
    GridModel grid;
    prepareGrid(grid);
    searchIntoGrid(WordTable::segment(latin), query, grid);
    return grid;
}

Lines linesOf(const GridModel& grid, const std::string& latin, const std::string* french)
{
    std::ostringstream out;
    writeResultFile(out, grid, "T", "D", latin, french);
    const std::string file = out.str();
    Lines lines;
    std::size_t start = 0;
    for (std::size_t at; (at = file.find("\r\n", start)) != std::string::npos; start = at + 2)
        lines.push_back(file.substr(start, at - start));
    EXPECT_EQ(start, file.size()) << "the file must end with CR LF";
    return lines;
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
        Lines afterList;
    };
    const Case cases[] = {
        {"standingTwice", "d", false, &french, {kRule, "[1] a b", "] d", "", "[1] A", ""}},
        {"missingInFrench", "c", false, &french, {kRule, "[2] c ", ""}},
        {"lastPassageToTheEnd", "e", false, &french, {kRule, "[3] e", "[3] E", ""}},
        {"emptyFrenchMeansNoFrenchLine", "e", false, &noFrench, {kRule, "[3] e"}},
        {"emptyReference", "prooemium", false, nullptr, {kRule, "rooemium. "}},
        {"sortedRowsInSortedOrder", "*", true, nullptr,
         {kRule, "[1] a b", "] d", "", kRule, "[1] a b", "] d", "", kRule, "[2] c ", kRule,
          "[1] a b", "] d", "", kRule, "[3] e", kRule, "rooemium. "}},
    };
    for (const Case& c : cases) {
        GridModel grid = searched(latin, c.query);
        if (c.sortForms) {
            grid.setColSel(0);
            grid.sort();
        }
        const Lines lines = linesOf(grid, latin, c.french);
        ASSERT_GE(lines.size(), 4 + grid.rows()) << c.name;
        EXPECT_EQ(Lines(lines.begin() + long(4 + grid.rows()), lines.end()), c.afterList) << c.name;
    }
    GridModel edited = searched(latin, "e");
    edited.setCell(1, 1, "[9]");  // a reference neither text holds
    const Lines lines = linesOf(edited, latin, &french);
    EXPECT_EQ(Lines(lines.end() - 3, lines.end()), (Lines{kRule, "", ""}));
}

TEST(ResultFile, DefaultDateLeavesOutMidnight)
{
#ifdef _WIN32
    _putenv_s("TZ", "UTC");
    _tzset();
#else
    setenv("TZ", "UTC", 1);
    tzset();
#endif
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 4;
    const std::pair<int, const char*> cases[] = {
        {11 * 3600 + 25 * 60 + 50, "04/12/2026 11:25:50"}, {0, "04/12/2026"}, {1, "04/12/2026 00:00:01"}};
    for (const auto& [seconds, text] : cases)
#ifdef _WIN32
        EXPECT_EQ(defaultDateText(_mkgmtime(&t) + seconds), text);
#else
        EXPECT_EQ(defaultDateText(timegm(&t) + seconds), text);
#endif
}

} // namespace
} // namespace quorvex
