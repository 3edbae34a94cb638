#include "cli/CliRunner.h"

#include "concordance/TextFile.h"
#include "concordance/WordTable.h"
#include "output/PassageIndex.h"

#include "../TempDir.h"
#include "../WorkedExample.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace quorvex {
namespace {

using namespace testsupport;

struct CliRun {
    int code;
    std::string out, err;
};

CliRun run(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int code = runCli(args, out, err);
    return {code, out.str(), err.str()};
}

// The latin text of the table below: "@" stands for its path, "#" for the folder's.
struct CliCase {
    const char* name;
    std::vector<std::string> args;
    int code;
    std::string out;      // exact standard output
    std::string errHas;   // a part of the message on standard error ("" for none at all)
};

class Cli : public ::testing::TestWithParam<CliCase> {};

TEST_P(Cli, ExitCodesOutputAndMessages)
{
    TempDir dir;
    const std::string latin =
        dir.write("latin.txt", "Amor [1] amor \xE9t\xE9 -am [2] AMOR amat [10] amor\r\n");
    std::vector<std::string> args;
    for (std::string a : GetParam().args) {
        for (std::size_t at; (at = a.find('@')) != std::string::npos;)
            a.replace(at, 1, latin);
        for (std::size_t at; (at = a.find('#')) != std::string::npos;)
            a.replace(at, 1, dir.file(""));
        args.push_back(a);
    }
    const CliRun r = run(args);
    EXPECT_EQ(r.code, GetParam().code) << r.err;
    if (GetParam().name != std::string("help")) {
        EXPECT_EQ(r.out, GetParam().out);
    } else {
        EXPECT_NE(r.out.find("Usage : quorvex-cli"), std::string::npos);
    }
    if (GetParam().errHas.empty()) {
        EXPECT_EQ(r.err, "");
    } else {
        EXPECT_NE(r.err.find(GetParam().errHas), std::string::npos) << r.err;
        EXPECT_EQ(r.err.rfind("quorvex-cli : ", 0), 0u) << r.err;
    }
    if (r.code == 2) {
        EXPECT_NE(r.err.find("--help"), std::string::npos);
    }
    EXPECT_EQ(dir.entries(), 1u) << "only the text may stand in the folder";
}

INSTANTIATE_TEST_SUITE_P(
    CliRunner, Cli,
    ::testing::Values(
        CliCase{"count", {"--latin", "@", "--count", "amor"}, 0, "4\n", ""},
        CliCase{"countWithEqualsForm", {"--latin=@", "--count", "AMOR"}, 0, "4\n", ""},
        CliCase{"listInUtf8", {"--latin", "@", "--list", "\xC3\x89T\xC3\x89"}, 0,
                "\xC3\xA9t\xC3\xA9\t[1]\n", ""},
        CliCase{"listTextOrder", {"--latin", "@", "--list", "am*"}, 0,
                "Amor\t\namor\t[1]\nam\t[1]\nAMOR\t[2]\namat\t[2]\namor\t[10]\n", ""},
        CliCase{"listSortedByForms", {"--latin", "@", "--sort", "forms", "--list", "am*"}, 0,
                "am\t[1]\namat\t[2]\nAmor\t\namor\t[10]\namor\t[1]\nAMOR\t[2]\n", ""},
        CliCase{"doubleDashBeforeFormWithMinus", {"--latin", "@", "--count", "--", "-am"}, 0,
                "0\n", ""},
        CliCase{"emptyFormFindsNothing", {"--latin", "@", "--count", ""}, 0, "0\n", ""},
        CliCase{"formMissingFromCodePage", {"--latin", "@", "--count", "\xC4\x81*"}, 0, "0\n",
                "Windows-1252"},
        CliCase{"help", {"--help"}, 0, "", ""},
        CliCase{"formWithMinusNeedsDoubleDash", {"--latin", "@", "--count", "-am"}, 2, "",
                "option inconnue"},
        CliCase{"latinOptionMissing", {"--count", "amor"}, 2, "", "--latin"},
        CliCase{"formMissing", {"--latin", "@", "--count"}, 2, "", "forme"},
        CliCase{"twoForms", {"--latin", "@", "amor", "amat"}, 2, "", "de trop"},
        CliCase{"countAndList", {"--latin", "@", "--count", "--list", "a"}, 2, "",
                "ensemble"},
        CliCase{"badSortValue", {"--latin", "@", "--sort", "refs", "a"}, 2, "", "--sort"},
        CliCase{"valueMissing", {"a", "--latin"}, 2, "", "attend une valeur"},
        CliCase{"optionRepeated", {"--latin", "@", "--latin", "@", "a"}, 2, "", "deux fois"},
        CliCase{"flagWithValue", {"--latin", "@", "--count=1", "a"}, 2, "", "pas de valeur"},
        CliCase{"outputWithCount", {"--latin", "@", "--count", "--output", "#o.txt", "a"}, 2,
                "", "--output"},
        CliCase{"titleMissingFromCodePage", {"--latin", "@", "--title", "\xC4\x81", "a"}, 2,
                "", "Windows-1252"},
        CliCase{"latinFileMissing", {"--latin", "#absent.txt", "--count", "a"}, 1, "",
                "introuvable"},
        CliCase{"latinIsAFolder", {"--latin", "#", "--count", "a"}, 1, "", "dossier"},
        CliCase{"frenchFileMissing", {"--latin", "@", "--french", "#fr.txt", "amor"}, 1, "",
                "fr.txt"},
        CliCase{"outputCannotBeWritten", {"--latin", "@", "--output", "#none/out.txt", "amor"},
                1, "", "ne peut pas être écrit"},
        CliCase{"outputIsAFolder", {"--latin", "@", "--output", "#", "amor"}, 1, "",
                "dossier"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CliRunner, WorkedExampleToFileAndToStandardOutput)
{
    TempDir dir;
    const std::string latin = dir.write("latin.txt", kExampleLatin);
    const std::string french = dir.write("fr.txt", kExampleFrench);
    const std::string out = dir.file("out.txt");
    const std::vector<std::string> common = {"--latin", latin, "--french", french, "--title",
                                             "Essai", "--date", "04/12/2026 11:25:50"};
    std::vector<std::string> toFile = common;
    toFile.insert(toFile.end(), {"--output", out, "rosam"});
    dir.write("out.txt", "older result");
    const CliRun saved = run(toFile);
    EXPECT_EQ(saved.code, 0) << saved.err;
    EXPECT_EQ(slurp(out), exampleResultFile());

    std::vector<std::string> toStdout = common;
    toStdout.push_back("rosam");
    const CliRun printed = run(toStdout);
    EXPECT_EQ(printed.code, 0) << printed.err;
    EXPECT_EQ(printed.out, exampleResultFile());

    // A UTF-8 title is written in Windows-1252.
    const CliRun titled = run({"--latin", latin, "--title", "\xC3\xA9t\xC3\xA9", "--date", "d", "zz"});
    EXPECT_EQ(titled.out.rfind("R\xE9" "f\xE9rence(s) : \xE9t\xE9\r\n", 0), 0u);
}

#ifdef QUORVEX_CLI_PATH
// The program itself: its exit codes and raw bytes on standard output.
TEST(CliProcess, ExitCodesAndBytes)
{
    TempDir dir;
    const std::string latin = dir.write("latin.txt", kExampleLatin);
    const std::string french = dir.write("fr.txt", kExampleFrench);
    struct Case {
        const char* name;
        std::string args;
        int code;
    };
    const Case cases[] = {
        {"workedExample", "--latin '" + latin + "' --french '" + french
             + "' --title Essai --date '04/12/2026 11:25:50' rosam", 0},
        {"usageError", "--latin '" + latin + "'", 2},
        {"fileError", "--latin '" + dir.file("absent.txt") + "' rosam", 1},
    };
    for (const Case& c : cases) {
        const std::string command = std::string("'") + QUORVEX_CLI_PATH + "' " + c.args + " >'"
            + dir.file("out") + "' 2>'" + dir.file("err") + "'";
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status)) << c.name;
        EXPECT_EQ(WEXITSTATUS(status), c.code) << c.name << ": " << slurp(dir.file("err"));
        if (c.code == 0) {
            EXPECT_EQ(slurp(dir.file("out")), exampleResultFile());
        } else {
            EXPECT_EQ(slurp(dir.file("out")), "") << c.name;
            EXPECT_NE(slurp(dir.file("err")), "") << c.name;
        }
    }
}
#endif

TEST(Samples, AreParallelWindows1252TextsWithCrLf)
{
    const std::string dir = QUORVEX_SAMPLES_DIR;
    const TextReadResult latin = readText(dir + "/latin.txt");
    const TextReadResult french = readText(dir + "/francais.txt");
    ASSERT_FALSE(latin.error);
    ASSERT_FALSE(french.error);
    EXPECT_FALSE(latin.convertedFromUtf8);
    EXPECT_FALSE(french.convertedFromUtf8);
    EXPECT_NE(french.text.find("\xE9"), std::string::npos);  // accented French
    for (const std::string* text : {&latin.text, &french.text}) {
        EXPECT_EQ(text->find('\n') - 1, text->find("\r\n"));
        EXPECT_EQ(text->substr(text->size() - 2), "\r\n");
    }
    const WordTable table = WordTable::segment(latin.text);
    std::vector<std::string_view> refs;
    for (std::size_t i = 0; i < table.size(); ++i)
        refs.push_back(table.reference(i));
    const PassageIndex inFrench(french.text, refs);
    for (std::string_view ref : refs)
        EXPECT_TRUE(inFrench.found(ref)) << ref;
    EXPECT_EQ(table.reference(table.size() - 1), "[40]");
}

} // namespace
} // namespace quorvex
