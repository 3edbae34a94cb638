#include "cli/CliRunner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace quorvex {
namespace {

namespace fs = std::filesystem;

class PrintListCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path()
            / ("quorvex-print-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed())
               + "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        // [2] ends with a lone LF, as a file edited elsewhere may have it.
        write("latin.txt", "[1] Amor omnia vincit.\r\n[2] amabo te\n[3] ");
        write("francais.txt", "[1] L'amour vainc tout,\xA0" "d\xE9j\xE0.\r\n");
    }
    void TearDown() override { fs::remove_all(dir); }

    void write(const std::string& name, const std::string& bytes)
    {
        std::ofstream(dir / name, std::ios::binary) << bytes;
    }

    int run(std::vector<std::string> args)
    {
        for (std::string& a : args)
            if (a.size() > 4 && a.compare(a.size() - 4, 4, ".txt") == 0)
                a = (dir / a).string();
        out.str({});
        err.str({});
        return runCli(args, out, err);
    }

    fs::path dir;
    std::ostringstream out;
    std::ostringstream err;
};

const char* const kContextHead = "type \"verdana\" 9 bold underline\n"
                                 "text \"Texte latin:\"\n"
                                 "endline\n"
                                 "type \"verdana\" 9\n";

const char* const kFrenchHeading = "type \"verdana\" 9 bold underline\n"
                                   "text \"Texte francais:\"\n"
                                   "endline\n"
                                   "type \"verdana\" 9\n";

struct OutputCase {
    const char* name;
    std::vector<std::string> args;
    std::string expected;  // UTF-8
};

class PrintListOutputs : public PrintListCommand,
                         public ::testing::WithParamInterface<OutputCase> {};

TEST_P(PrintListOutputs, WritesTheOperations)
{
    EXPECT_EQ(run(GetParam().args), 0) << err.str();
    EXPECT_EQ(out.str(), GetParam().expected);
    EXPECT_EQ(err.str(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrintListOutputs,
    ::testing::Values(
        OutputCase{"list_sorted_by_form",
                   {"--latin", "latin.txt", "--print-list", "--sort", "forms", "am*"},
                   "type \"verdana\" 12 bold\ntext \"Forme(s)\"\nx 5000\ntext \"Références\"\n"
                   "endline\n"
                   "text \"------------------------------------------------------------\"\n"
                   "endline\ntype \"verdana\" 9\n"
                   "text \"amabo\"\nx 5000\ntext \"[2]\"\nendline\n"
                   "text \"Amor\"\nx 5000\ntext \"[1]\"\nendline\n"
                   "enddoc\n"},
        OutputCase{"context_both_panes",
                   {"--latin", "latin.txt", "--french", "francais.txt", "--print-context", "[1]"},
                   std::string(kContextHead) + "text \"[1] Amor omnia vincit.\\r\\n\"\nendline\n"
                       + kFrenchHeading
                       + "text \"[1] L'amour vainc tout,\xC2\xA0" "déjà.\\r\\n\"\nendline\n"
                         "enddoc\n"},
        OutputCase{"context_line_break_as_the_pane_holds_it",
                   {"--latin", "latin.txt", "--print-context", "[2]"},
                   std::string(kContextHead) + "text \"[2] amabo te\\r\\n\"\nendline\n"
                       + kFrenchHeading + "text \"\"\nendline\nenddoc\n"},
        OutputCase{"context_reference_missing_leaves_panes_empty",
                   {"--latin", "latin.txt", "--french", "francais.txt", "--print-context", "[9]"},
                   std::string(kContextHead) + "text \"\"\nendline\n" + kFrenchHeading
                       + "text \"\"\nendline\nenddoc\n"}),
    [](const auto& info) { return std::string(info.param.name); });

struct ErrorCase {
    const char* name;
    std::vector<std::string> args;
    int exitCode;
    std::string message;  // a part of the French message
};

class PrintListErrors : public PrintListCommand,
                        public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(PrintListErrors, SayWhyAndPrintNothing)
{
    EXPECT_EQ(run(GetParam().args), GetParam().exitCode);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find(GetParam().message), std::string::npos) << err.str();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrintListErrors,
    ::testing::Values(
        ErrorCase{"context_with_a_form",
                  {"--latin", "latin.txt", "--print-context", "[1]", "amor"}, 2,
                  "--print-context ne prend pas de forme"},
        ErrorCase{"list_with_output", {"--latin", "latin.txt", "--print-list", "--output", "x", "a*"},
                  2, "--output ne s'emploie pas avec --print-list"},
        ErrorCase{"list_and_context", {"--latin", "latin.txt", "--print-list", "--print-context", "[1]"},
                  2, "ne peuvent pas être employées ensemble"},
        ErrorCase{"missing_latin_file", {"--latin", "absent.txt", "--print-context", "[1]"}, 1,
                  "absent.txt"},
        ErrorCase{"missing_french_file",
                  {"--latin", "latin.txt", "--french", "absent.txt", "--print-context", "[1]"}, 1,
                  "absent.txt"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quorvex
