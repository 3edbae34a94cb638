// The result file's blocks of passages, and the date the command line writes when it is
// given none. The whole file, byte for byte, and its failures are tested through the search
// window.

#include "output/ResultFile.h"

#include "concordance/PhraseQuery.h"
#include "concordance/ResultList.h"
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

Lines linesOf(const WordTable& table, const ResultList& results, const std::string* french)
{
    std::ostringstream out;
    writeResultFile(out, table, results, "T", "D", table.text(), french);
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
    const WordTable table = WordTable::segment(latin);
    struct Case {
        const char* name;
        std::string query;  // "": the list before any search, its one empty row
        bool sortForms;
        const std::string* french;
        Lines list;  // the rows after the header's
        Lines afterList;
    };
    const std::string pad(36, ' ');
    const Case cases[] = {
        {"standingTwice", "d", false, &french, {"d" + pad.substr(1) + "[1]"},
         {kRule, "[1] a b", "] d", "", "[1] A", ""}},
        {"missingInFrench", "c", false, &french, {"c" + pad.substr(1) + "[2]"}, {kRule, "[2] c ", ""}},
        {"lastPassageToTheEnd", "e", false, &french, {"e" + pad.substr(1) + "[3]"},
         {kRule, "[3] e", "[3] E", ""}},
        {"emptyFrenchMeansNoFrenchLine", "e", false, &noFrench, {"e" + pad.substr(1) + "[3]"},
         {kRule, "[3] e"}},
        {"emptyReference", "prooemium", false, nullptr, {"Prooemium" + pad.substr(9)},
         {kRule, "rooemium. "}},
        {"phraseAcrossALineBreak", "b c", false, &french, {"b c" + pad.substr(3) + "[1]"},
         {kRule, "[1] a b", "] d", "", "[1] A", ""}},
        {"emptyRowBeforeAnySearch", "", false, &french, {pad}, {kRule, "rooemium. ", ""}},
        {"sortedRowsInSortedOrder", "*", true, nullptr,
         {"a" + pad.substr(1) + "[1]", "b" + pad.substr(1) + "[1]", "c" + pad.substr(1) + "[2]",
          "d" + pad.substr(1) + "[1]", "e" + pad.substr(1) + "[3]", "Prooemium" + pad.substr(9)},
         {kRule, "[1] a b", "] d", "", kRule, "[1] a b", "] d", "", kRule, "[2] c ", kRule,
          "[1] a b", "] d", "", kRule, "[3] e", kRule, "rooemium. "}},
    };
    for (const Case& c : cases) {
        ResultList results = c.query.empty()
            ? emptyRowList()
            : PhraseQuery(c.query, true, Folding::Case).find(table);
        if (c.sortForms)
            sortResults(table, results, SortKeys::FormThenReference);
        const Lines lines = linesOf(table, results, c.french);
        ASSERT_GE(lines.size(), 5 + results.size()) << c.name;
        EXPECT_EQ(lines[4], "Forme(s)" + pad.substr(8) + "R\xE9" "f\xE9" "rences") << c.name;
        EXPECT_EQ(Lines(lines.begin() + 5, lines.begin() + long(5 + results.size())), c.list) << c.name;
        EXPECT_EQ(Lines(lines.begin() + long(5 + results.size()), lines.end()), c.afterList) << c.name;
    }
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
