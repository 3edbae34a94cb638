// Real files, links, FIFOs and devices in a fresh folder: what is read, what is replaced and
// how, and the French reasons of the system's failures.

#include "system/SystemFiles.h"
#include "text/TextFile.h"

#include "support/FailingPosixCalls.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <fstream>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvex {
namespace {

using namespace testsupport;
namespace fs = std::filesystem;

mode_t modeOf(const std::string& path)
{
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

FileError writeText(const std::string& path, const std::string& text)
{
    return writeFileReplacing(path, [&](std::ostream& o) { o << text; return true; });
}

TEST(SystemFiles, ReplacementKeepsModeOwnerAndLinks)
{
    TempDir dir;
    struct Case {
        const char* name;
        mode_t mode;
    };
    for (const Case& c : {Case{"private", 0600}, Case{"groupRead", 0640}, Case{"everyone", 0664}}) {
        const std::string path = dir.write(std::string(c.name) + ".txt", "old");
        ::chmod(path.c_str(), c.mode);
        EXPECT_FALSE(writeText(path, "new")) << c.name;
        EXPECT_EQ(slurp(path), "new") << c.name;
        EXPECT_EQ(modeOf(path), c.mode) << c.name;
    }

    // Another owner's file (saved by root) keeps its owner and group.
    if (::geteuid() == 0) {
        const std::string theirs = dir.write("theirs.txt", "old");
        ASSERT_EQ(::chown(theirs.c_str(), 4321, 8765), 0);
        EXPECT_FALSE(writeText(theirs, "new"));
        struct stat st {};
        ::stat(theirs.c_str(), &st);
        EXPECT_EQ(st.st_uid, 4321u);
        EXPECT_EQ(st.st_gid, 8765u);
        fs::remove(theirs);
    }

    // A new file takes the umask's default.
    const mode_t mask = ::umask(022);
    EXPECT_FALSE(writeText(dir.file("new.txt"), "x"));
    EXPECT_EQ(modeOf(dir.file("new.txt")), 0644u);
    ::umask(mask);

    // A link (relative, through a second link) stays a link; the file it names is replaced.
    const std::string real = dir.write("real.txt", "old");
    fs::create_symlink("real.txt", dir.file("link1.txt"));
    fs::create_symlink(dir.file("link1.txt"), dir.file("link2.txt"));
    EXPECT_FALSE(writeText(dir.file("link2.txt"), "through"));
    EXPECT_TRUE(fs::is_symlink(dir.file("link2.txt")));
    EXPECT_TRUE(fs::is_symlink(dir.file("link1.txt")));
    EXPECT_EQ(slurp(real), "through");
    EXPECT_EQ(dir.entries(), 7u) << "no temporary file may be left";
}

TEST(SystemFiles, ReadOnlyTargetIsRefusedEvenToRoot)
{
    TempDir dir;
    for (const mode_t mode : {0444, 0400, 0000}) {
        const std::string path = dir.write("ro.txt", "old");
        ::chmod(path.c_str(), mode);
        const FileError e = writeText(path, "new");
        EXPECT_EQ(e.kind, FileErrorKind::ReadOnly) << mode;
        EXPECT_EQ(describeFileError(e),
                  "Le fichier « " + path + " » est en lecture seule : il n'a pas été remplacé.");
        ::chmod(path.c_str(), 0600);
        EXPECT_EQ(slurp(path), "old");
        EXPECT_EQ(dir.entries(), 1u);
    }
}

// Names an attacker could plant before the save: the old scheme's predictable ones.
TEST(SystemFiles, PlantedLinksAtTemporaryNamesAreNeverFollowed)
{
    TempDir dir;
    const std::string victim = dir.write("victim.txt", "precious");
    for (int k = 0; k < 10; ++k)
        fs::create_symlink(victim, dir.file("res.txt.~quorvex" + std::to_string(k)));
    fs::create_symlink(victim, dir.file(".res.txt.~quorvex"));
    for (int round = 0; round < 3; ++round)
        ASSERT_FALSE(writeText(dir.file("res.txt"), "result"));
    EXPECT_EQ(slurp(victim), "precious");
    EXPECT_FALSE(fs::is_symlink(dir.file("res.txt")));
    EXPECT_EQ(slurp(dir.file("res.txt")), "result");
    EXPECT_EQ(dir.entries(), 13u);
}

TEST(SystemFiles, DevicesAndFifosAreWrittenIntoNeverReplaced)
{
    TempDir dir;
    EXPECT_FALSE(writeText("/dev/null", "nothing"));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));

    if (fs::is_character_file("/dev/full")) {
        const FileError full = writeText("/dev/full", std::string(100000, 'x'));
        EXPECT_EQ(full.kind, FileErrorKind::WriteFailed);
        EXPECT_NE(describeFileError(full).find("le disque est plein"), std::string::npos)
            << describeFileError(full);
        EXPECT_TRUE(fs::is_character_file("/dev/full"));
    }

    const std::string fifo = dir.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto start = std::chrono::steady_clock::now();
    const FileError noReader = writeText(fifo, "x");
    EXPECT_EQ(noReader.kind, FileErrorKind::NoReader);
    EXPECT_NE(describeFileError(noReader).find("n'a pas de lecteur"), std::string::npos);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));

    // With a reader, the bytes go into the FIFO, and it stays one.
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_FALSE(writeText(fifo, "through the pipe"));
    char buf[64] = {};
    EXPECT_EQ(::read(reader, buf, sizeof buf), 16);
    EXPECT_EQ(std::string(buf), "through the pipe");
    ::close(reader);
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(dir.entries(), 1u);
}

TEST(SystemFiles, OnlyRegularFilesAreRead)
{
    TempDir dir;
    const std::string text = dir.write("text.txt", "[1] amor");
    fs::create_symlink(text, dir.file("link.txt"));
    const std::string fifo = dir.file("fifo.txt");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);

    EXPECT_EQ(readText(dir.file("link.txt")).text, "[1] amor");
    struct Case {
        const char* name;
        std::string path;
    };
    for (const Case& c : {Case{"fifoWithNoWriter", fifo}, Case{"zeroDevice", "/dev/zero"},
                          Case{"nullDevice", "/dev/null"}}) {
        const auto start = std::chrono::steady_clock::now();
        const TextReadResult r = readText(c.path);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << c.name;
        EXPECT_EQ(r.error.kind, FileErrorKind::NotRegular) << c.name;
        EXPECT_NE(describeFileError(r.error).find("n'est pas un fichier ordinaire"), std::string::npos);
        EXPECT_EQ(r.text, "");
    }
}

TEST(SystemFiles, SizeKnownInAdvanceAndCancelLeaveTheOldFile)
{
    TempDir dir;
    const std::string path = dir.write("out.txt", "old");

    WriteControl tooBig;
    tooBig.expectedSize = std::int64_t(1) << 62;
    bool produced = false;
    const FileError noSpace = writeFileReplacing(path, [&](std::ostream&) { produced = true; return true; }, tooBig);
    EXPECT_EQ(noSpace.kind, FileErrorKind::NoSpace);
    EXPECT_FALSE(produced) << "nothing may be written";
    const std::string message = describeFileError(noSpace);
    EXPECT_NE(message.find("ferait 4,6 Eo (4611686018427387904 octets)"), std::string::npos) << message;
    EXPECT_NE(message.find(std::to_string(noSpace.available) + " octets"), std::string::npos) << message;

    // Cancelled from the progress callback after the first megabytes.
    WriteControl cancel;
    std::uint64_t seen = 0;
    cancel.progress = [&](std::uint64_t written) { seen = written; return written < (std::uint64_t(8) << 20); };
    const FileError cancelled = writeFileReplacing(path, [](std::ostream& o) {
        const std::string chunk(1 << 20, 'x');
        for (int i = 0; i < 64 && o; ++i)
            o << chunk;
        return true;
    }, cancel);
    EXPECT_EQ(cancelled.kind, FileErrorKind::Cancelled);
    EXPECT_NE(describeFileError(cancelled).find("annulée"), std::string::npos);
    EXPECT_GE(seen, std::uint64_t(8) << 20);
    EXPECT_LT(seen, std::uint64_t(64) << 20) << "the writing must stop at the cancel";
    EXPECT_EQ(slurp(path), "old");
    EXPECT_EQ(dir.entries(), 1u);
    // Where no file stood, the message promises no old file.
    const std::string fresh = dir.file("nouveau.txt");
    const FileError cancelledNew = writeFileReplacing(fresh, [](std::ostream& o) {
        const std::string chunk(1 << 20, 'x');
        for (int i = 0; i < 64 && o; ++i)
            o << chunk;
        return true;
    }, cancel);
    EXPECT_EQ(cancelledNew.kind, FileErrorKind::CancelledNoFile);
    EXPECT_EQ(describeFileError(cancelledNew),
              "L'écriture du fichier « " + fresh + " » a été annulée : aucun fichier n'a été créé.");
    EXPECT_EQ(dir.entries(), 1u);

    // What a signal handler removes: the live temporary file, while it is written, if it has a
    // name.
    std::size_t live = 0;
    const FileError interrupted = writeFileReplacing(path, [&](std::ostream& o) {
        o << "half";
        live = sys::liveTemporaryFileCount();
        sys::removeLiveTemporaryFiles();
        return false;
    });
    EXPECT_TRUE(interrupted);
    // Linux writes into a file with no name yet: nothing to remove then.
    EXPECT_LE(live, 1u);
    EXPECT_EQ(sys::liveTemporaryFileCount(), 0u);
    EXPECT_EQ(slurp(path), "old");
    EXPECT_EQ(dir.entries(), 1u);
}

// Each call a replacement makes, failed in turn at its first, second and last occurrence,
// with and without nameless temporary files: either the new file is in place, or the old one
// is intact with the system's reason in the message; never a file left behind.
TEST(SystemFiles, ReplacementSurvivesAnyFailingCall)
{
    using testsupport::FailingPosixCalls;
    using testsupport::PosixCall;
    for (const bool unnamed : {true, false}) {
        TempDir dir;
        const std::string path = dir.write("out.txt", "old");
        FailingPosixCalls calls;
        if (!unnamed)
            calls.failAlways(PosixCall::OpenUnnamed, EOPNOTSUPP);
        ASSERT_FALSE(writeText(path, "dry run"));
        std::array<std::size_t, testsupport::kPosixCallKinds> seen{};
        for (std::size_t k = 0; k < seen.size(); ++k)
            seen[k] = calls.count(static_cast<PosixCall>(k));
        EXPECT_EQ(seen[static_cast<std::size_t>(PosixCall::Rename)], 1u);
        std::size_t points = 0;
        for (std::size_t k = 0; k < seen.size(); ++k) {
            const auto call = static_cast<PosixCall>(k);
            if (call == PosixCall::OpenUnnamed && !unnamed)
                continue;
            for (const std::size_t at : {std::size_t(1), std::size_t(2), seen[k]}) {
                if (at == 0 || at > seen[k])
                    continue;
                ::chmod(path.c_str(), 0644);
                std::ofstream(path, std::ios::binary | std::ios::trunc) << "old";
                const int err = call == PosixCall::Write ? ENOSPC
                    : call == PosixCall::Rename          ? EXDEV
                                                         : EIO;
                calls.failAt(call, at, err);
                const FileError e = writeText(path, "new");
                const std::string row = std::string(unnamed ? "unnamed " : "named ")
                    + testsupport::posixCallName(call) + " #" + std::to_string(at);
                ++points;
                EXPECT_EQ(dir.entries(), 1u) << row;
                EXPECT_EQ(sys::liveTemporaryFileCount(), 0u) << row;
                if (e) {
                    EXPECT_EQ(slurp(path), "old") << row;
                    const std::string message = describeFileError(e);
                    EXPECT_NE(message.find(path), std::string::npos) << row << message;
                } else {
                    EXPECT_EQ(slurp(path), "new") << row;
                }
            }
        }
        EXPECT_GE(points, 10u);
    }
}

TEST(SystemFiles, FrenchReasonsAndSizes)
{
    struct Case {
        int err;
        const char* reason;
    };
    for (const Case& c : {Case{ENOSPC, "le disque est plein"}, Case{EFBIG, "le fichier dépasse la taille permise"},
                          Case{EROFS, "le système de fichiers est en lecture seule"},
                          Case{EACCES, "accès refusé"}, Case{EIO, "erreur d'entrée-sortie"},
                          Case{EDQUOT, "le quota de disque est dépassé"},
                          Case{ENXIO, "le périphérique est absent"}, Case{4242, "erreur système n° 4242"}})
        EXPECT_EQ(sys::errnoReason(c.err), c.reason) << c.err;
    // No reason is left to the system's English words.
    for (int err = 1; err < 134; ++err)
        EXPECT_EQ(sys::errnoReason(err).find(std::strerror(err)), std::string::npos) << err;

    struct SizeCase {
        std::uint64_t bytes;
        const char* text;
    };
    for (const SizeCase& c : {SizeCase{0, "0 octet"}, SizeCase{999, "999 octets"}, SizeCase{1000, "1,0 ko"},
                              SizeCase{3'249'999'999, "3,2 Go"}, SizeCase{3'250'000'000, "3,3 Go"},
                              SizeCase{999'960'000, "1,0 Go"}, SizeCase{75'000'000'000, "75,0 Go"}})
        EXPECT_EQ(formatByteSize(c.bytes), c.text) << c.bytes;
}

TEST(SystemFiles, InvalidUtf8IsEscaped)
{
    struct Case {
        const char* name;
        std::string in, out;
    };
    for (const Case& c : {Case{"ascii", "--bogus", "--bogus"}, Case{"utf8", "été €", "été €"},
                          Case{"latin1", "\xE9t\xE9", "\\xE9t\\xE9"},
                          Case{"truncated", "a\xE2\x82", "a\\xE2\\x82"},
                          Case{"overlong", "\xC0\xAF", "\\xC0\\xAF"},
                          Case{"surrogate", "\xED\xA0\x80", "\\xED\\xA0\\x80"},
                          Case{"beyondUnicode", "\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},
                          Case{"fourBytes", "\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"}})
        EXPECT_EQ(sys::escapeInvalidUtf8(c.in), c.out) << c.name;
    const std::string message = describeFileError(readText("/nonexistent/\xE9t\xE9.txt").error);
    EXPECT_NE(message.find("\\xE9t\\xE9.txt"), std::string::npos) << message;
    EXPECT_EQ(sys::escapeInvalidUtf8(message), message) << "the message itself is valid UTF-8";
}

} // namespace
} // namespace quorvex
