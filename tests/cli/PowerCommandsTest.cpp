#include "cli/CliRunner.h"

#include "../TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace quorvex {
namespace {

using namespace testsupport;

// Windows-1252 texts in which a form stands next to quotes, commas, tabs, line breaks,
// "<" and "&"; the French text lacks [3].
const std::string kLatin = "[1] Amor \"vincit\", omnia.\r\n[2] amor\t<et> & AMOR\r\n[3] amat amor";
const std::string kFrench = "[1] L'amour vainc tout.\r\n[2] L'amour & <et>\r\n";

struct Outcome {
    int code;
    std::string out, err;
};

// The texts in a fresh folder; LATIN, FRENCH, EMPTY, UTF8 and DIR in arguments and expected
// output stand for their paths.
class PowerCommands : public ::testing::Test {
protected:
    PowerCommands()
    {
        paths = {{"LATIN", dir.write("latin.txt", kLatin)},
                 {"FRENCH", dir.write("francais.txt", kFrench)},
                 {"EMPTY", dir.write("vide.txt", "")},
                 {"UTF8", dir.write("utf8.txt", "[1] \xC3\xA9t\xC3\xA9\n")},
                 {"DIR", dir.file("")}};
    }
    std::string expand(std::string s) const
    {
        for (const auto& [token, path] : paths)
            for (std::size_t at; (at = s.find(token)) != std::string::npos;)
                s.replace(at, token.size(), path);
        return s;
    }
    Outcome run(const std::vector<std::string>& args) const
    {
        std::vector<std::string> expanded;
        for (const std::string& a : args)
            expanded.push_back(expand(a));
        std::ostringstream out, err;
        const int code = runCli(expanded, out, err);
        return {code, out.str(), err.str()};
    }

    TempDir dir;
    std::vector<std::pair<std::string, std::string>> paths;
};

struct PowerCase {
    const char* name;
    std::vector<std::string> args;
    int code;
    std::string out;     // exact standard output, UTF-8
    std::string errHas;  // part of the message on standard error; "" for none at all
};

class PowerTable : public PowerCommands, public ::testing::WithParamInterface<PowerCase> {};

TEST_P(PowerTable, ExitCodesOutputAndMessages)
{
    const PowerCase& c = GetParam();
    const Outcome r = run(c.args);
    EXPECT_EQ(r.code, c.code) << r.err;
    EXPECT_EQ(r.out, expand(c.out));
    if (c.errHas.empty()) {
        EXPECT_EQ(r.err, "");
    } else {
        EXPECT_NE(r.err.find(expand(c.errHas)), std::string::npos) << r.err;
    }
    EXPECT_EQ(dir.entries(), 4u) << "nothing may be left in the folder";
}

INSTANTIATE_TEST_SUITE_P(
    CliRunner, PowerTable,
    ::testing::Values(
        PowerCase{"kwic", {"--latin", "LATIN", "--kwic", "4", "amor"}, 0,
                  "[1]  [1] Amor \"vi\n[2]  [2] amor <et\n[2]  > & AMOR [3]\n[3]  mat amor\n", ""},
        PowerCase{"kwicSortedByForms", {"--latin", "LATIN", "--sort", "forms", "--kwic", "2", "a*"},
                  0, "[3]  ] amat a\n[1]  ] Amor \"\n[2]  ] amor <\n[2]  & AMOR [\n[3]  t amor\n",
                  ""},
        PowerCase{"kwicDefaultWidthFormNotTakenForIt", {"--latin", "LATIN", "--kwic", "amat"}, 0,
                  "[3]  incit\", omnia. [2] amor <et> & AMOR [3] amat amor\n", ""},
        PowerCase{"kwicWidthWithEquals", {"--latin", "LATIN", "--kwic=0", "AMOR"}, 0,
                  "[1]  Amor\n[2]  amor\n[2]  AMOR\n[3]  amor\n", ""},
        PowerCase{"kwicDigitsFormAfterDoubleDash", {"--latin", "LATIN", "--kwic", "--", "12"}, 0,
                  "", ""},
        PowerCase{"kwicUtf8Text", {"--latin", "UTF8", "--kwic", "2", "\xC3\x89T\xC3\x89"}, 0,
                  "[1]  ] \xC3\xA9t\xC3\xA9\n", ""},
        PowerCase{"kwicEmptyText", {"--latin", "EMPTY", "--kwic", "amor"}, 0, "", ""},
        PowerCase{"frequencies", {"--latin", "LATIN", "--frequencies", "*"}, 0,
                  "amor 2 / AMOR 1 / Amor 1 \xE2\x80\x94 amor 4\namat 1 \xE2\x80\x94 amat 1\n"
                  "et 1 \xE2\x80\x94 et 1\nomnia 1 \xE2\x80\x94 omnia 1\nvincit 1 \xE2\x80\x94 vincit 1\n",
                  ""},
        PowerCase{"frequenciesCsv", {"--latin", "LATIN", "--format", "csv", "--frequencies", "a*"},
                  0,
                  "forme,nombre,forme en minuscules,total\r\namor,2,amor,4\r\nAMOR,1,amor,4\r\n"
                  "Amor,1,amor,4\r\namat,1,amat,1\r\n",
                  ""},
        PowerCase{"frequenciesNothingFound", {"--latin", "LATIN", "--frequencies", "x*"}, 0, "", ""},
        PowerCase{"exportEmptyText", {"--latin", "EMPTY", "--format", "csv", "amor"}, 0,
                  "forme,r\xC3\xA9" "f\xC3\xA9rence,passage latin,passage fran\xC3\xA7" "ais\r\n", ""},
        PowerCase{"checkDisagree", {"--latin", "LATIN", "--french", "FRENCH", "--check"}, 3,
                  "LATIN:3: la r\xC3\xA9" "f\xC3\xA9rence [3] manque dans le texte fran\xC3\xA7" "ais.\n"
                  "1 constat : les textes ne concordent pas.\n",
                  ""},
        PowerCase{"checkAgree", {"--latin", "FRENCH", "--french", "FRENCH", "--check"}, 0,
                  "Les deux textes concordent : 2 r\xC3\xA9" "f\xC3\xA9rences dans chacun.\n", ""},
        PowerCase{"checkLatinAlone", {"--latin", "LATIN", "--check"}, 0,
                  "Le texte latin est en ordre : 3 r\xC3\xA9" "f\xC3\xA9rences.\n", ""},
        PowerCase{"checkEmptyLatin", {"--latin", "EMPTY", "--french", "FRENCH", "--check"}, 3,
                  "FRENCH:1: la r\xC3\xA9" "f\xC3\xA9rence [1] manque dans le texte latin.\n"
                  "FRENCH:2: la r\xC3\xA9" "f\xC3\xA9rence [2] manque dans le texte latin.\n"
                  "2 constats : les textes ne concordent pas.\n",
                  ""},
        PowerCase{"kwicLatinMissing", {"--latin", "DIRabsent.txt", "--kwic", "amor"}, 1, "",
                  "introuvable"},
        PowerCase{"frequenciesLatinIsAFolder", {"--latin", "DIR", "--frequencies", "*"}, 1, "",
                  "dossier"},
        PowerCase{"exportFrenchIsAFolder", {"--latin", "LATIN", "--french", "DIR", "--format",
                  "tsv", "amor"}, 1, "", "dossier"},
        PowerCase{"checkFrenchMissing", {"--latin", "LATIN", "--french", "DIRfr.txt", "--check"},
                  1, "", "DIRfr.txt"},
        PowerCase{"kwicBadWidth", {"--latin", "LATIN", "--kwic=4x", "amor"}, 2, "", "--kwic"},
        PowerCase{"kwicTooWide", {"--latin", "LATIN", "--kwic", "100001", "amor"}, 2, "", "--kwic"},
        PowerCase{"kwicWithOutput", {"--latin", "LATIN", "--kwic", "--output", "DIRo", "a"}, 2, "",
                  "--output"},
        PowerCase{"kwicAndCheck", {"--latin", "LATIN", "--kwic", "--check"}, 2, "", "ensemble"},
        PowerCase{"formatBadValue", {"--latin", "LATIN", "--format", "xls", "a"}, 2, "", "--format"},
        PowerCase{"formatWithCount", {"--latin", "LATIN", "--format", "csv", "--count", "a"}, 2, "",
                  "--format"},
        PowerCase{"formatHtmlWithFrequencies", {"--latin", "LATIN", "--format", "html",
                  "--frequencies", "a"}, 2, "", "html"},
        PowerCase{"frequenciesSortedByForms", {"--latin", "LATIN", "--sort", "forms",
                  "--frequencies", "a"}, 2, "", "--sort"},
        PowerCase{"frequenciesWithoutForm", {"--latin", "LATIN", "--frequencies"}, 2, "", "forme"},
        PowerCase{"checkWithForm", {"--latin", "LATIN", "--check", "amor"}, 2, "", "amor"},
        PowerCase{"checkWithOutput", {"--latin", "LATIN", "--check", "--output", "DIRo"}, 2, "",
                  "--output"},
        PowerCase{"checkWithoutLatin", {"--french", "FRENCH", "--check"}, 2, "", "--latin"}),
    [](const auto& info) { return std::string(info.param.name); });

// The same passages as the result file, every field quoted or escaped as its format wants.
TEST_F(PowerCommands, ExportsQuoteAndEscapeEachRecord)
{
    const std::string header[] = {"forme", "r\xC3\xA9" "f\xC3\xA9rence", "passage latin",
                                  "passage fran\xC3\xA7" "ais"};
    const Outcome tsv = run({"--latin", "LATIN", "--french", "FRENCH", "--format", "tsv", "amor"});
    EXPECT_EQ(tsv.code, 0) << tsv.err;
    EXPECT_EQ(tsv.out,
              header[0] + "\t" + header[1] + "\t" + header[2] + "\t" + header[3] + "\n"
                  + "Amor\t[1]\t[1] Amor \"vincit\", omnia.\\r\\n\t[1] L'amour vainc tout.\\r\\n\n"
                  + "amor\t[2]\t[2] amor\\t<et> & AMOR\\r\\n\t[2] L'amour & <et>\\r\\n\n"
                  + "AMOR\t[2]\t[2] amor\\t<et> & AMOR\\r\\n\t[2] L'amour & <et>\\r\\n\n"
                  + "amor\t[3]\t[3] amat amor\t\n");

    const Outcome csv = run({"--latin", "LATIN", "--french", "FRENCH", "--format", "csv", "amor"});
    EXPECT_EQ(csv.code, 0) << csv.err;
    EXPECT_EQ(csv.out,
              header[0] + "," + header[1] + "," + header[2] + "," + header[3] + "\r\n"
                  + "Amor,[1],\"[1] Amor \"\"vincit\"\", omnia.\r\n\",\"[1] L'amour vainc tout.\r\n\"\r\n"
                  + "amor,[2],\"[2] amor\t<et> & AMOR\r\n\",\"[2] L'amour & <et>\r\n\"\r\n"
                  + "AMOR,[2],\"[2] amor\t<et> & AMOR\r\n\",\"[2] L'amour & <et>\r\n\"\r\n"
                  + "amor,[3],[3] amat amor,\r\n");

    const Outcome html = run({"--latin", "LATIN", "--french", "FRENCH", "--title", "Essai <1>",
                          "--sort", "forms", "--format", "html", "amor"});
    EXPECT_EQ(html.code, 0) << html.err;
    const std::string& page = html.out;
    EXPECT_EQ(page.rfind("<!DOCTYPE html>\n<html lang=\"fr\">\n<head>\n<meta charset=\"utf-8\">", 0), 0u);
    EXPECT_EQ(page.substr(page.size() - 8), "</html>\n");
    EXPECT_EQ(page.find("<script"), std::string::npos);
    EXPECT_NE(page.find("<title>Essai &lt;1&gt;</title>"), std::string::npos);
    EXPECT_NE(page.find("pour : amor = 4</p>"), std::string::npos);
    // Every occurrence of the row's form is marked in the Latin passage, not in the French.
    EXPECT_NE(page.find("<tr><td>amor</td><td>[2]</td><td class=\"passage\" lang=\"la\">[2] "
                        "<mark>amor</mark>\t&lt;et&gt; &amp; <mark>AMOR</mark>\r\n</td>"
                        "<td class=\"passage\">[2] L'amour &amp; &lt;et&gt;\r\n</td></tr>\n"),
              std::string::npos);
    // Sorted like the "Formes" button: by form, then by reference.
    EXPECT_LT(page.find("<tr><td>Amor</td><td>[1]"), page.find("<tr><td>amor</td><td>[2]"));
    EXPECT_LT(page.find("<tr><td>AMOR</td><td>[2]"), page.find("<tr><td>amor</td><td>[3]"));
}

TEST_F(PowerCommands, BinaryTextGivesAValidPage)
{
    dir.write("latin.txt", std::string("\0[1]\x81 amor\x7F\0", 12));
    const Outcome html = run({"--latin", "LATIN", "--format", "html", "amor"});
    EXPECT_EQ(html.code, 0) << html.err;
    EXPECT_EQ(html.out.find('\0'), std::string::npos);
    EXPECT_NE(html.out.find("[1]\xEF\xBF\xBD <mark>amor</mark>\xEF\xBF\xBD\xEF\xBF\xBD</td>"),
              std::string::npos);
}

TEST_F(PowerCommands, ExportToAFileReplacesItWholeOrNotAtAll)
{
    const std::string older = dir.write("old.csv", "older export");
    const Outcome ok = run({"--latin", "LATIN", "--format", "csv", "--output", older, "amat"});
    EXPECT_EQ(ok.code, 0) << ok.err;
    EXPECT_EQ(ok.out, "");
    EXPECT_EQ(slurp(older), "forme,r\xC3\xA9" "f\xC3\xA9rence,passage latin,passage fran\xC3\xA7" "ais\r\n"
                            "amat,[3],[3] amat amor,\r\n");

    const std::string folder = dir.file("sub");
    std::filesystem::create_directory(folder);
    const Outcome intoFolder = run({"--latin", "LATIN", "--format", "html", "--output", folder, "a"});
    EXPECT_EQ(intoFolder.code, 1);
    EXPECT_NE(intoFolder.err.find("dossier"), std::string::npos) << intoFolder.err;
    const Outcome nowhere = run({"--latin", "LATIN", "--format", "tsv", "--output",
                             dir.file("absent/out.tsv"), "amat"});
    EXPECT_EQ(nowhere.code, 1);
    EXPECT_NE(nowhere.err.find("ne peut pas \xC3\xAAtre \xC3\xA9" "crit"), std::string::npos);
    EXPECT_EQ(dir.entries(), 6u) << "no temporary file may be left";
}

TEST(PowerHelp, EveryOptionHasAnExample)
{
    std::ostringstream out, err;
    ASSERT_EQ(runCli({"--help"}, out, err), 0);
    const std::string help = out.str();
    std::istringstream lines(help);
    std::string line, option;
    std::size_t options = 0;
    while (std::getline(lines, line)) {
        if (line.rfind("  --", 0) == 0) {
            EXPECT_EQ(option, "") << "no example for " << option;
            option = line.substr(2, line.find(' ', 2) - 2);
            ++options;
        } else if (line.rfind("      exemple : quorvex-cli", 0) == 0) {
            EXPECT_NE(line.find(option), std::string::npos) << line;
            option.clear();
        }
    }
    EXPECT_EQ(option, "");
    EXPECT_GE(options, 17u);
}

#ifdef QUORVEX_CLI_PATH
// The program itself: exit code 3, and a full disk on standard output.
TEST(PowerProcess, ExitCodesOfWholeRuns)
{
    TempDir dir;
    const std::string latin = dir.write("latin.txt", kLatin);
    const std::string french = dir.write("francais.txt", kFrench);
    struct Case {
        const char* name;
        std::string args;
        std::string output;
        int code;
        const char* errHas;
    };
    const Case cases[] = {
        {"checkDisagrees", "--latin '" + latin + "' --french '" + french + "' --check",
         dir.file("out"), 3, ""},
        {"fullDisk", "--latin '" + latin + "' --kwic '*'", "/dev/full", 1, "sortie standard"},
        {"fullDiskExport", "--latin '" + latin + "' --format html '*'", "/dev/full", 1,
         "sortie standard"},
    };
    for (const Case& c : cases) {
        const std::string command = std::string("'") + QUORVEX_CLI_PATH + "' " + c.args + " >'"
            + c.output + "' 2>'" + dir.file("err") + "'";
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status)) << c.name;
        EXPECT_EQ(WEXITSTATUS(status), c.code) << c.name << ": " << slurp(dir.file("err"));
        EXPECT_NE(slurp(dir.file("err")).find(c.errHas), std::string::npos) << c.name;
    }
}
#endif

} // namespace
} // namespace quorvex
