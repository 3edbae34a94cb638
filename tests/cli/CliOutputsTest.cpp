// Where quorvex-cli writes, by what the names reach: "-" and the standard streams' aliases
// written in place, inputs never written over, a failed standard output a message.

#include "CliHarness.h"

#include "support/FailingPosixCalls.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace quorvex {
namespace {

using namespace testsupport;
namespace fs = std::filesystem;

const std::string kLatin = "[1] amor omnia vincit\r\n[2] amor et amor\r\n";
const std::string kFrench = "[1] l'amour vainc tout\r\n[2] amour et amour\r\n";

ino_t inodeOf(const std::string& path)
{
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_ino;
}

TEST(CliOutputs, AnOutputThatIsAnInputIsRefusedBeforeAnythingIsWritten)
{
    const CliHarness cli({{"l.txt", kLatin}, {"f.txt", kFrench}});
    fs::create_symlink(cli.expand("{l.txt}"), cli.expand("{link.txt}"));
    fs::create_hard_link(cli.expand("{f.txt}"), cli.expand("{hard.txt}"));
    const std::vector<std::string> texts{"--latin", "{l.txt}", "--french", "{f.txt}", "--date", "d"};
    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::string err;
    };
    const Case cases[] = {
        {"resultFileOverLatin", {"--output", "{l.txt}", "amor"},
         "quorvex-cli : Le fichier de sortie est le texte latin : « {l.txt} ».\n"},
        {"resultFileThroughALink", {"--output", "{link.txt}", "amor"},
         "quorvex-cli : Le fichier de sortie est le texte latin : « {link.txt} ».\n"},
        {"exportOverAHardLinkOfFrench", {"--format", "csv", "--output", "{hard.txt}", "amor"},
         "quorvex-cli : Le fichier de sortie est le texte français : « {hard.txt} ».\n"},
        {"plotOverLatin", {"--plot", "{l.txt}", "amor"},
         "quorvex-cli : Le fichier de sortie est le texte latin : « {l.txt} ».\n"},
        {"plotOfAPageOverFrench", {"--format", "html", "--plot", "{f.txt}", "--output", "{p.html}", "amor"},
         "quorvex-cli : Le fichier de sortie est le texte français : « {f.txt} ».\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = texts;
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliOutcome r = cli.run(args);
        EXPECT_EQ(r.code, 1) << c.name;
        EXPECT_EQ(r.err, cli.expand(c.err)) << c.name;
        EXPECT_EQ(slurp(cli.expand("{l.txt}")), kLatin) << c.name;
        EXPECT_EQ(slurp(cli.expand("{f.txt}")), kFrench) << c.name;
        EXPECT_FALSE(fs::exists(cli.expand("{p.html}"))) << c.name;
        EXPECT_EQ(cli.dir.entries(), 4u) << c.name;
    }
}

TEST(CliOutputs, DashAndStandardOutputAliasesAreWrittenInPlace)
{
    const CliHarness cli({{"l.txt", kLatin}});
    const std::vector<std::string> search{"--latin", "{l.txt}", "--date", "d", "amor"};
    const CliOutcome plain = cli.runProcess(search);
    ASSERT_EQ(plain.code, 0) << plain.err;

    std::vector<std::string> dash = search;
    dash.insert(dash.begin(), {"--output", "-"});
    const CliOutcome toDash = cli.runProcess(dash);
    EXPECT_EQ(toDash.code, 0) << toDash.err;
    EXPECT_EQ(toDash.out, plain.out);
    EXPECT_FALSE(fs::exists(cli.expand("{-}")));

    // `--output /dev/stdout > shell.txt`: the shell's file receives the bytes and stays the
    // file the shell opened.
    for (const char* alias : {"/dev/stdout", "/proc/self/fd/1"}) {
        const std::string shell = cli.dir.write("shell.txt", "");
        const ino_t inode = inodeOf(shell);
        std::vector<std::string> args = search;
        args.insert(args.begin(), {"--output", alias});
        const CliOutcome r = cli.runProcess(args, shell);
        EXPECT_EQ(r.code, 0) << alias << ": " << r.err;
        EXPECT_EQ(slurp(shell), plain.out) << alias;
        EXPECT_EQ(inodeOf(shell), inode) << alias;
    }
    EXPECT_EQ(cli.dir.entries(), 4u) << "the text, the shell's file, .out and .err";
}

TEST(CliOutputs, AFailedStandardOutputOrStreamIsAMessageAndExitOne)
{
    const CliHarness cli({{"l.txt", kLatin}});
    for (const char* option : {"--help", "--version"}) {
        const CliOutcome r = cli.runProcess({option}, "/dev/full");
        EXPECT_EQ(r.code, 1) << option;
        EXPECT_EQ(r.err, "quorvex-cli : l'écriture sur la sortie standard a échoué.\n") << option;
    }
    // A stream the system stops accepting: its message and exit status.
    FailingPosixCalls calls;
    calls.failAt(PosixCall::Write, 1, EIO);
    const CliOutcome stream = cli.run({"--latin", "{l.txt}", "--date", "d", "--output", "/dev/null", "amor"});
    EXPECT_TRUE(calls.fired());
    EXPECT_EQ(stream.code, 1);
    EXPECT_EQ(stream.err, "quorvex-cli : Le fichier « /dev/null » ne peut pas être écrit : erreur d'entrée-sortie.\n");
}

} // namespace
} // namespace quorvex
