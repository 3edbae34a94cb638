// quorvex-cli as a hostile or careless user runs it: planted links, devices and FIFOs, files
// it must not replace, a file-size limit and signals during a save, a save too large for the
// disk, and arguments that are not UTF-8. Real processes on real files in a fresh folder.

#include "CliHarness.h"

#include "cli/CommandCommon.h"
#include "system/SystemFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace quorvex {
namespace {

using namespace testsupport;
namespace fs = std::filesystem;

const std::string kText = "[1] amor omnia vincit\r\n[2] amor et amor\r\n";

// A Latin text without markers: every attestation's passage is the whole text.
std::string markerlessText(std::size_t words)
{
    std::string t;
    t.reserve(words * 2);
    for (std::size_t i = 0; i < words; ++i)
        t += "a ";
    return t;
}

// Starts the program with `args` (already expanded), standard output and error to files of
// the folder; `beforeExec` runs in the child.
pid_t spawn(const CliHarness& cli, const std::vector<std::string>& args, void (*beforeExec)() = nullptr)
{
    std::vector<std::string> expanded{QUORVEX_CLI_PATH};
    for (const std::string& a : args)
        expanded.push_back(cli.expand(a));
    const std::string out = cli.dir.file(".out"), err = cli.dir.file(".err");
    const pid_t pid = ::fork();
    if (pid == 0) {
        // A child that cannot set up its outputs ends at once; the test then sees 127.
        if (!std::freopen(out.c_str(), "w", stdout) || !std::freopen(err.c_str(), "w", stderr))
            ::_exit(127);
        if (beforeExec)
            beforeExec();
        std::vector<char*> argv;
        for (std::string& a : expanded)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return pid;
}

std::vector<std::string> temporaries(const CliHarness& cli)
{
    std::vector<std::string> found;
    for (const auto& e : fs::directory_iterator(cli.dir.file("")))
        if (e.path().filename().string().find("~quorvex") != std::string::npos
            || e.path().filename().string().rfind(".quorvex-", 0) == 0)
            found.push_back(e.path().filename().string());
    return found;
}

TEST(CliSafety, ReplacedFilesKeepModeLinksAndReadOnlyRefusal)
{
    const CliHarness cli({{"latin.txt", kText}, {"private.txt", "old"}, {"ro.txt", "old"},
                          {"real.txt", "old"}, {"victim.txt", "precious"}});
    ::chmod(cli.expand("{private.txt}").c_str(), 0600);
    ::chmod(cli.expand("{ro.txt}").c_str(), 0444);
    fs::create_symlink("real.txt", cli.expand("{link.txt}"));
    for (int k = 0; k < 5; ++k)
        fs::create_symlink(cli.expand("{victim.txt}"), cli.expand("{res.txt.~quorvex" + std::to_string(k) + "}"));

    const std::vector<std::string> base = {"--latin", "{latin.txt}", "--date", "d"};
    auto save = [&](const std::string& output) {
        std::vector<std::string> args = base;
        args.insert(args.end(), {"--output", output, "amor"});
        return cli.runProcess(args);
    };

    const CliOutcome priv = save("{private.txt}");
    EXPECT_EQ(priv.code, 0) << priv.err;
    struct stat st {};
    ::stat(cli.expand("{private.txt}").c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0600u);

    const CliOutcome ro = save("{ro.txt}");
    EXPECT_EQ(ro.code, 1);
    EXPECT_EQ(ro.err, cli.expand("quorvex-cli : Le fichier « {ro.txt} » est en lecture seule : il n'a pas été remplacé.\n"));
    EXPECT_EQ(slurp(cli.expand("{ro.txt}")), "old");

    const CliOutcome link = save("{link.txt}");
    EXPECT_EQ(link.code, 0) << link.err;
    EXPECT_TRUE(fs::is_symlink(cli.expand("{link.txt}")));
    EXPECT_EQ(slurp(cli.expand("{real.txt}")).rfind("R\xE9" "f\xE9rence(s)", 0), 0u);

    const CliOutcome planted = save("{res.txt}");
    EXPECT_EQ(planted.code, 0) << planted.err;
    EXPECT_FALSE(fs::is_symlink(cli.expand("{res.txt}")));
    EXPECT_EQ(slurp(cli.expand("{victim.txt}")), "precious");
    EXPECT_EQ(temporaries(cli).size(), 5u) << "only the planted links";
}

TEST(CliSafety, DevicesAndFifosAsInputOrOutput)
{
    const CliHarness cli({{"latin.txt", kText}});
    ASSERT_EQ(::mkfifo(cli.expand("{fifo.txt}").c_str(), 0600), 0);
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int code;
        std::string errHas;  // "" for no message
    };
    const Case cases[] = {
        {"devNullAsOutput", {"--latin", "{latin.txt}", "--output", "/dev/null", "amor"}, 0, ""},
        {"devFullAsOutput", {"--latin", "{latin.txt}", "--output", "/dev/full", "amor"}, 1, "le disque est plein"},
        {"devFullAsExport", {"--latin", "{latin.txt}", "--format", "csv", "--output", "/dev/full", "amor"}, 1,
         "le disque est plein"},
        {"fifoWithNoReaderAsOutput", {"--latin", "{latin.txt}", "--output", "{fifo.txt}", "amor"}, 1,
         "n'a pas de lecteur"},
        {"fifoWithNoWriterAsLatin", {"--latin", "{fifo.txt}", "--count", "amor"}, 1,
         "n'est pas un fichier ordinaire"},
        {"fifoAsFrench", {"--latin", "{latin.txt}", "--french", "{fifo.txt}", "amor"}, 1,
         "n'est pas un fichier ordinaire"},
        {"procAsOutputFolder", {"--latin", "{latin.txt}", "--output", "/proc/quorvex.txt", "amor"}, 1,
         "son dossier n'accepte pas de nouveau fichier"},
        {"devZeroAsLatin", {"--latin", "/dev/zero", "--count", "amor"}, 1, "n'est pas un fichier ordinaire"},
    };
    for (const Case& c : cases) {
        const auto start = std::chrono::steady_clock::now();
        const CliOutcome r = cli.runProcess(c.args);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << c.name;
        EXPECT_EQ(r.code, c.code) << c.name << ": " << r.err;
        if (c.errHas.empty())
            EXPECT_EQ(r.err, "") << c.name;
        else
            EXPECT_NE(r.err.find(c.errHas), std::string::npos) << c.name << ": " << r.err;
    }
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
    EXPECT_TRUE(fs::is_fifo(cli.expand("{fifo.txt}")));
    EXPECT_TRUE(temporaries(cli).empty());
}

void limitFileSize()
{
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{100000, 100000};
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

TEST(CliSafety, FileSizeLimitDuringASaveLeavesTheOldFileAndNoTemporary)
{
    // 2,000 attestations of a 200 kB text without markers: about 400 MB, far past the limit.
    const CliHarness cli({{"big.txt", markerlessText(100000).substr(0, 4000) + std::string(196000, ' ')},
                          {"res.txt", "old"}});
    for (const char* format : {"", "tsv"}) {
        std::vector<std::string> args = {"--latin", "{big.txt}", "--output", "{res.txt}"};
        if (*format)
            args.insert(args.end(), {"--format", format});
        args.push_back("a");
        const pid_t pid = spawn(cli, args, limitFileSize);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status)) << format;
        EXPECT_EQ(WEXITSTATUS(status), 1) << format;
        // The size is known before a byte is written: refused then, with both sizes.
        const std::string err = slurp(cli.dir.file(".err"));
        EXPECT_EQ(err.rfind(cli.expand("quorvex-cli : Le fichier « {res.txt} » ferait "), 0), 0u) << err;
        EXPECT_NE(err.find(" Mo (400"), std::string::npos) << err;
        EXPECT_NE(err.find("mais la taille de fichier permise est de 100,0 ko (100000 octets) : il n'a pas "
                           "été écrit.\n"),
                  std::string::npos) << err;
        EXPECT_EQ(slurp(cli.expand("{res.txt}")), "old");
        EXPECT_TRUE(temporaries(cli).empty()) << format;
    }
}

// Whether `pid` has a file of `folder` open for writing (named or not yet named).
bool writesInto(pid_t pid, std::string folder)
{
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    std::error_code ec;
    for (const auto& e : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ec)) {
        const std::string target = fs::read_symlink(e.path(), ec).string();
        if (!ec && target.rfind(folder + "/", 0) == 0 && target.find(".err") == std::string::npos
            && target.find(".out") == std::string::npos && target.find("big.txt") == std::string::npos)
            return true;
    }
    return false;
}

TEST(CliSafety, SignalsDuringASaveLeaveNoTemporary)
{
    // 400 attestations of a 1 MB text: 400 MB to write, interrupted as soon as it starts.
    const CliHarness cli({{"big.txt", markerlessText(400) + std::string(1 << 20, ' ')}, {"res.txt", "old"}});
    for (const int sig : {SIGTERM, SIGINT, SIGKILL, SIGKILL, SIGKILL}) {
        const pid_t pid = spawn(cli, {"--latin", "{big.txt}", "--output", "{res.txt}", "a"});
        // Waits (bounded) for the writing to start, then interrupts.
        const auto start = std::chrono::steady_clock::now();
        while (!writesInto(pid, cli.expand("{}")) && std::chrono::steady_clock::now() - start < std::chrono::seconds(10))
            std::this_thread::yield();
        ::kill(pid, sig);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_EQ(slurp(cli.expand("{res.txt}")).substr(0, 3), WIFSIGNALED(status) ? "old" : "R\xE9" "f");
        EXPECT_TRUE(temporaries(cli).empty()) << "signal " << sig;
        EXPECT_EQ(cli.dir.entries(), 4u) << "signal " << sig;  // the text, the result, .out, .err
    }
}

TEST(CliSafety, ASaveThatCannotFitIsRefusedBeforeAByte)
{
    // 1,000,000 attestations whose passage is the whole 2 MB text: 2 TB.
    const CliHarness cli({{"huge.txt", markerlessText(1000000)}});
    struct statvfs vfs {};
    ASSERT_EQ(::statvfs(cli.expand("{}").c_str(), &vfs), 0);
    if (std::uint64_t(vfs.f_bavail) * vfs.f_frsize > 2'000'000'000'000ULL)
        GTEST_SKIP() << "this disk could hold it";
    // The page marks each of the million forms of every passage: 15 MB a row.
    const std::pair<const char*, const char*> formats[] = {{"", "ferait 2,0 To ("}, {"html", "ferait 15,0 To ("}};
    for (const auto& [format, size] : formats) {
        std::vector<std::string> args = {"--latin", "{huge.txt}", "--output", "{res.txt}"};
        if (*format)
            args.insert(args.end(), {"--format", format});
        args.push_back("a");
        const auto start = std::chrono::steady_clock::now();
        const CliOutcome r = cli.run(args);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60)) << format;
        EXPECT_EQ(r.code, 1) << format;
        EXPECT_NE(r.err.find(size), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("il ne reste que"), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(cli.expand("{res.txt}")));
        EXPECT_EQ(cli.dir.entries(), 1u) << format;
    }
}

TEST(CliSafety, StandardErrorIsAlwaysValidUtf8)
{
    const CliHarness cli({{"latin.txt", kText}});
    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::string errHas;
    };
    const Case cases[] = {
        {"unknownOption", {"--bogus\xFF\xE9", "amor"}, "« --bogus\\xFF\\xE9 »"},
        {"latinPath", {"--latin", "{absent\xE9.txt}", "amor"}, "absent\\xE9.txt"},
        {"outputPath", {"--latin", "{latin.txt}", "--output", "{none\xE9/o.txt}", "amor"}, "none\\xE9/o.txt"},
    };
    for (const Case& c : cases) {
        const CliOutcome r = cli.runProcess(c.args);
        EXPECT_NE(r.err.find(c.errHas), std::string::npos) << c.name << ": " << r.err;
        EXPECT_EQ(sys::escapeInvalidUtf8(r.err), r.err) << c.name;
    }
}

TEST(CliSafety, ProgressLineOnlyOnATerminal)
{
    std::ostringstream shown, hidden;
    {
        SaveProgress onTerminal(shown, "res\xE9.txt", true, std::chrono::milliseconds(0));
        SaveProgress redirected(hidden, "res.txt", false, std::chrono::milliseconds(0));
        for (const std::uint64_t done : {1'000'000u, 2'000'000u}) {
            EXPECT_TRUE(onTerminal.update(done, 2'000'000));
            EXPECT_TRUE(redirected.update(done, 2'000'000));
        }
    }
    EXPECT_EQ(hidden.str(), "");
    const std::string line = shown.str();
    EXPECT_EQ(line.rfind("\rquorvex-cli : écriture de « res\\xE9.txt » : 50 % (1,0 Mo sur 2,0 Mo)", 0), 0u) << line;
    EXPECT_NE(line.find("\rquorvex-cli : écriture de « res\\xE9.txt » : 100 % (2,0 Mo sur 2,0 Mo)\n"),
              std::string::npos) << line;

    // A save over within the delay shows nothing.
    std::ostringstream quick;
    {
        SaveProgress fast(quick, "res.txt", true, std::chrono::seconds(60));
        fast.update(2, 2);
    }
    EXPECT_EQ(quick.str(), "");
}

} // namespace
} // namespace quorvex
