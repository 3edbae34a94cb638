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

// Latin and French texts (Windows-1252) written to a fresh folder for each test.
class ShowCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path()
            / ("quorvex-show-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed())
               + "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        write("latin.txt", "Praefatio [1] Arma cano.\r\n[2] Amor vincit; amor\r\net amorem \xE9t\xE9.\r\n"
                           "[Prol. 3] ubi amor");
        write("francais.txt", "[1] Je chante les armes.\r\n[2] L'amour \xE9t\xE9.\r\n");
    }
    void TearDown() override { fs::remove_all(dir); }

    void write(const std::string& name, const std::string& bytes)
    {
        std::ofstream(dir / name, std::ios::binary) << bytes;
    }
    std::string path(const std::string& name) const { return (dir / name).string(); }

    int run(std::vector<std::string> args)
    {
        for (std::string& a : args) {
            if (a == "LATIN")
                a = path("latin.txt");
            else if (a == "FRENCH")
                a = path("francais.txt");
        }
        out.str({});
        err.str({});
        return runCli(args, out, err);
    }

    fs::path dir;
    std::ostringstream out;
    std::ostringstream err;
};

struct ShowCase {
    const char* name;
    std::vector<std::string> args;
    std::string expected;  // UTF-8
};

TEST_F(ShowCommand, PrintsWhatAFreshViewerShows)
{
    const std::vector<ShowCase> cases = {
        {"MiddlePassageMarkedAcrossLineBreak",
         {"--latin", "LATIN", "--french", "FRENCH", "--show", "[2]", "--mark", "amor"},
         "latin: 39\n[2] Amor vincit; amor\r\net amorem \xC3\xA9t\xC3\xA9.\r\n\n"
         "français: 18\n[2] L'amour \xC3\xA9t\xC3\xA9.\r\n\n"
         "précédente: [1]\nsuivante: [. 3]\nmarques: 2\n4 4\n17 4\n"},
        {"AccentedFormGivenInUtf8",
         {"--latin", "LATIN", "--show", "[2]", "--mark", "\xC3\x89T\xC3\x89"},
         "latin: 39\n[2] Amor vincit; amor\r\net amorem \xC3\xA9t\xC3\xA9.\r\n\n"
         "français: sans fichier\nprécédente: [1]\nsuivante: [. 3]\nmarques: 1\n33 3\n"},
        {"LastPassageWithLettersInMarkerFormAtEnd",
         {"--latin", "LATIN", "--french", "FRENCH", "--show", "[. 3]", "--mark", "amor"},
         "latin: 18\n[Prol. 3] ubi amor\nfrançais: absente\nprécédente: [2]\nsuivante: \n"
         "marques: 1\n14 4\n"},
        {"EmptyReferenceFromSecondCharacter",
         {"--latin", "LATIN", "--show", ""},
         "latin: 9\nraefatio \nfrançais: sans fichier\nprécédente: \nsuivante: [1]\nmarques: 0\n"},
        {"MissingReferenceLastMarkerBecomesPrevious",
         {"--latin", "LATIN", "--show=[9]", "--mark", "amor"},
         "latin: absente\nfrançais: sans fichier\nprécédente: [. 3]\nsuivante: \nmarques: 0\n"},
    };
    for (const ShowCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(run(c.args), 0) << err.str();
        EXPECT_EQ(out.str(), c.expected);
        EXPECT_EQ(err.str(), "");
    }
}

struct FailureCase {
    const char* name;
    std::vector<std::string> args;
    int exitCode;
    std::string message;  // part of the French message
};

TEST_F(ShowCommand, RefusesBadInputWithoutPrinting)
{
    fs::create_directory(dir / "dossier");
    const std::vector<FailureCase> cases = {
        {"MissingLatinFile", {"--latin", "absent.txt", "--show", "[1]"}, 1, "absent.txt"},
        {"FolderAsFrenchFile", {"--latin", "LATIN", "--french", path("dossier"), "--show", "[1]"},
         1, "dossier"},
        {"MissingFrenchFile", {"--latin", "LATIN", "--french", "nulle.txt", "--show", "[1]"}, 1,
         "nulle.txt"},
        {"FormOperandWithShow", {"--latin", "LATIN", "--show", "[1]", "amor"}, 2, "--mark"},
        {"MarkWithoutShow", {"--latin", "LATIN", "--mark", "amor", "amor"}, 2, "--show"},
        {"OutputWithShow", {"--latin", "LATIN", "--show", "[1]", "--output", "x.txt"}, 2, "--output"},
        {"ShowWithCount", {"--latin", "LATIN", "--count", "--show", "[1]"}, 2, "--show"},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(run(c.args), c.exitCode);
        EXPECT_EQ(out.str(), "");
        EXPECT_NE(err.str().find(c.message), std::string::npos) << err.str();
    }
}

} // namespace
} // namespace quorvex
