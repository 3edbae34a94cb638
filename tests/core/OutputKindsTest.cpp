// Outputs by what their names reach: streams written in place, links opened by the system,
// files with several names written in place, inputs never written over, long names, limits.

#include "system/SystemFiles.h"
#include "text/TextFile.h"

#include "support/FailingPosixCalls.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvex {
namespace {

using namespace testsupport;
namespace fs = std::filesystem;

FileError writeText(const std::string& path, const std::string& text, const WriteControl& control = {})
{
    return writeFileReplacing(path, [&](std::ostream& o) { o << text; return true; }, control);
}

ino_t inodeOf(const std::string& path)
{
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_ino;
}

TEST(OutputKinds, AnOutputThatIsAnInputIsRefusedBeforeAnythingIsWritten)
{
    TempDir dir;
    const std::string latin = dir.write("latin.txt", "[1] amor");
    const std::string french = dir.write("french.txt", "[1] amour");
    fs::create_symlink(latin, dir.file("link-to-latin.txt"));
    fs::create_hard_link(french, dir.file("hard-french.txt"));
    const std::size_t before = dir.entries();
    struct Case {
        const char* name;
        std::string output, message;
    };
    const Case cases[] = {
        {"latinByItsName", latin, "Le fichier de sortie est le texte latin : « " + latin + " »."},
        {"latinThroughALink", dir.file("link-to-latin.txt"),
         "Le fichier de sortie est le texte latin : « " + dir.file("link-to-latin.txt") + " »."},
        {"latinByAnotherSpelling", dir.file("./latin.txt"),
         "Le fichier de sortie est le texte latin : « " + dir.file("./latin.txt") + " »."},
        {"frenchThroughAHardLink", dir.file("hard-french.txt"),
         "Le fichier de sortie est le texte français : « " + dir.file("hard-french.txt") + " »."},
    };
    WriteControl control;
    control.latinPath = latin;
    control.frenchPath = french;
    for (const Case& c : cases) {
        bool produced = false;
        const FileError e = writeFileReplacing(c.output, [&](std::ostream&) { produced = true; return true; }, control);
        EXPECT_EQ(describeFileError(e), c.message) << c.name;
        EXPECT_FALSE(produced) << c.name;
        EXPECT_EQ(slurp(latin), "[1] amor") << c.name;
        EXPECT_EQ(slurp(french), "[1] amour") << c.name;
        EXPECT_EQ(dir.entries(), before) << c.name;
    }
    // Another file, and no French text, are no conflict.
    control.frenchPath.clear();
    EXPECT_FALSE(writeText(dir.file("hard-french.txt"), "x", control));
    EXPECT_FALSE(refuseInputAsOutput(dir.file("new.txt"), latin, ""));
}

TEST(OutputKinds, LinksAreFollowedByTheSystemAndKeptWhenTheyLeadNowhere)
{
    TempDir dir;
    fs::create_directory(dir.file("elsewhere"));
    const std::string real = dir.write("elsewhere/real.txt", "old");
    fs::create_symlink(real, dir.file("link.txt"));
    EXPECT_FALSE(writeText(dir.file("link.txt"), "new"));
    EXPECT_TRUE(fs::is_symlink(dir.file("link.txt")));
    EXPECT_EQ(slurp(real), "new");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.file("elsewhere")), {}), 1);

    fs::create_symlink(dir.file("nothing.txt"), dir.file("dangling.txt"));
    fs::create_symlink(dir.file("loop-b.txt"), dir.file("loop-a.txt"));
    fs::create_symlink(dir.file("loop-a.txt"), dir.file("loop-b.txt"));
    fs::create_symlink(dir.file("self.txt"), dir.file("self.txt"));
    struct Case {
        const char* name;
        std::string path, message;
    };
    const Case cases[] = {
        {"dangling", dir.file("dangling.txt"), "Le fichier « " + dir.file("dangling.txt")
             + " » est un lien symbolique vers un fichier qui n'existe pas : il a été laissé tel quel."},
        {"loop", dir.file("loop-a.txt"), "Le fichier « " + dir.file("loop-a.txt")
             + " » est un lien symbolique qui mène à une boucle de liens : il a été laissé tel quel."},
        {"self", dir.file("self.txt"), "Le fichier « " + dir.file("self.txt")
             + " » est un lien symbolique qui mène à une boucle de liens : il a été laissé tel quel."},
    };
    const std::size_t before = dir.entries();
    for (const Case& c : cases) {
        EXPECT_EQ(describeFileError(writeText(c.path, "new")), c.message) << c.name;
        EXPECT_TRUE(fs::is_symlink(c.path)) << c.name;
        EXPECT_EQ(dir.entries(), before) << c.name;
    }
    EXPECT_FALSE(fs::exists(dir.file("nothing.txt")));
}

TEST(OutputKinds, EveryNameOfAFileWithSeveralSeesTheNewContent)
{
    TempDir dir;
    const std::string first = dir.write("first.txt", "old content");
    fs::create_hard_link(first, dir.file("second.txt"));
    ::chmod(first.c_str(), 0640);
    const ino_t inode = inodeOf(first);

    EXPECT_FALSE(writeText(dir.file("second.txt"), "new"));
    EXPECT_EQ(slurp(first), "new");
    EXPECT_EQ(slurp(dir.file("second.txt")), "new");
    EXPECT_EQ(inodeOf(first), inode);
    EXPECT_EQ(fs::status(first).permissions() & fs::perms::mask, fs::perms(0640));
    EXPECT_EQ(dir.entries(), 2u) << "the copy of the old content is removed";

    // A failure halfway puts the old content back under both names.
    FailingPosixCalls calls;
    calls.failAt(PosixCall::Write, 1, ENOSPC);
    const FileError full = writeFileReplacing(first, [](std::ostream& o) {
        o << std::string(200000, 'x');
        return true;
    });
    EXPECT_TRUE(calls.fired());
    EXPECT_NE(describeFileError(full).find("le disque est plein"), std::string::npos) << describeFileError(full);
    EXPECT_EQ(slurp(dir.file("second.txt")), "new");
    EXPECT_EQ(dir.entries(), 2u);
}

TEST(OutputKinds, StandardOutputAndItsAliasesAreWrittenInPlace)
{
    TempDir dir;
    const std::string redirected = dir.write("redirected.txt", "");
    const int saved = ::dup(STDOUT_FILENO);
    for (const char* alias : {"/dev/stdout", "/proc/self/fd/1", "/dev/fd/1"}) {
        if (!fs::exists(alias))
            continue;
        // As `> redirected.txt` would: the shell's file is standard output.
        const int fd = ::open(redirected.c_str(), O_WRONLY | O_TRUNC);
        ASSERT_GE(fd, 0);
        std::fflush(stdout);
        ::dup2(fd, STDOUT_FILENO);
        ::close(fd);
        const ino_t inode = inodeOf(redirected);
        const FileError e = writeText(alias, "through the stream");
        ::dup2(saved, STDOUT_FILENO);
        EXPECT_FALSE(e) << alias << ": " << describeFileError(e);
        EXPECT_EQ(inodeOf(redirected), inode) << alias << ": the shell's file must not be replaced";
        EXPECT_EQ(slurp(redirected), "through the stream") << alias;
        EXPECT_EQ(dir.entries(), 1u) << alias;
    }
    ::close(saved);
}

TEST(OutputKinds, AnyLegalNameWorksAndTheSizeLimitIsAMessage)
{
    TempDir dir;
    for (const std::size_t length : {std::size_t(1), std::size_t(235), std::size_t(255)}) {
        const std::string path = dir.file(std::string(length, 'n'));
        EXPECT_FALSE(writeText(path, "old")) << length;
        EXPECT_FALSE(writeText(path, "new")) << length;
        EXPECT_EQ(slurp(path), "new") << length;
    }
    EXPECT_FALSE(writeText(dir.file("\xE9t\xE9 \x01 -"), "bytes"));
    EXPECT_EQ(slurp(dir.file("\xE9t\xE9 \x01 -")), "bytes");
    EXPECT_EQ(dir.entries(), 4u);

    const std::string path = dir.write("limited.txt", "old");
    FailingPosixCalls calls;
    calls.setFileSizeLimit(1000);
    WriteControl control;
    control.expectedSize = 5000;
    bool produced = false;
    const FileError e = writeFileReplacing(path, [&](std::ostream&) { produced = true; return true; }, control);
    EXPECT_FALSE(produced);
    EXPECT_EQ(describeFileError(e), "Le fichier « " + path
                  + " » ferait 5,0 ko (5000 octets) mais la taille de fichier permise est de 1,0 ko "
                    "(1000 octets) : il n'a pas été écrit.");
    EXPECT_EQ(slurp(path), "old");

    // Past a limit the size did not foresee, the system's refusal is the message.
    calls.setFileSizeLimit(-1);
    calls.failAt(PosixCall::Write, 1, EFBIG);
    const FileError beyond = writeText(path, "new");
    EXPECT_NE(describeFileError(beyond).find("le fichier dépasse la taille permise"), std::string::npos);
    EXPECT_EQ(slurp(path), "old");
    EXPECT_EQ(dir.entries(), 5u);
}

} // namespace
} // namespace quorvex
