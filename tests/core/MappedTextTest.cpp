// A text mapped for one pass: the bytes as they lie, a text to convert read instead, a map
// the system refuses read instead, and a file shortened while it is mapped, which must never
// end the program.

#include "concordance/ResultList.h"
#include "concordance/WordWalk.h"
#include "system/SystemFiles.h"
#include "text/TextFile.h"

#include "support/FailingPosixCalls.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvex {
namespace {

using namespace testsupport;

struct OnePassCase {
    const char* name;
    std::string bytes;     // the file
    std::string expected;  // the Windows-1252 text
    bool mapped;
};

TEST(OnePassText, MapsWindows1252AndReadsWhatNeedsConverting)
{
    TempDir dir;
    const OnePassCase cases[] = {
        {"ascii", "[1] Arma virumque cano\r\n", "[1] Arma virumque cano\r\n", true},
        {"windows1252", "[1] qu\xE6 \x9C" "conomia", "[1] qu\xE6 \x9C" "conomia", true},
        {"utf8", "[1] qu\xC3\xA6 \xC5\x93" "conomia", "[1] qu\xE6 \x9C" "conomia", false},
        {"utf8ByteOrderMark", "\xEF\xBB\xBF" "amor", "amor", false},
        {"utf16LittleEndian", std::string("\xFF\xFE" "a\0m\0o\0r\0", 10), "amor", false},
        {"empty", "", "", false},
        // Larger than a page, so that the mapping spans several.
        {"severalPages", std::string(20000, 'a') + " b", std::string(20000, 'a') + " b", true},
    };
    for (const OnePassCase& c : cases) {
        const std::string path = dir.write(std::string(c.name) + ".txt", c.bytes);
        OnePassText text;
        text.open(path);
        ASSERT_FALSE(text.error()) << c.name << ": " << describeFileError(text.error());
        EXPECT_EQ(text.bytes(), c.expected) << c.name;
        EXPECT_EQ(text.mapped(), c.mapped) << c.name;
        EXPECT_TRUE(text.intact()) << c.name;
        // Letting the pages go keeps the bytes: reading them again reads the file.
        text.release(text.bytes().size());
        EXPECT_EQ(text.bytes(), c.expected) << c.name;
    }
}

TEST(OnePassText, GivesReadTextsMessagesForBadInput)
{
    TempDir dir;
    struct Case {
        const char* name;
        std::string path;
        FileErrorKind kind;
    };
    const std::string fifo = dir.file("tube");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string big = dir.write("big.txt", "amor amor");
    const Case cases[] = {
        {"missing", dir.file("absent.txt"), FileErrorKind::NotFound},
        {"folder", dir.file(""), FileErrorKind::IsDirectory},
        {"fifo", fifo, FileErrorKind::NotRegular},
        {"unrepresentable", dir.write("grec.txt", "\xCE\xB1\xCE\xB2"), FileErrorKind::NotRepresentable},
    };
    for (const Case& c : cases) {
        OnePassText text;
        text.open(c.path);
        EXPECT_EQ(text.error().kind, c.kind) << c.name;
        EXPECT_TRUE(text.bytes().empty()) << c.name;
    }
    OnePassText tooLarge;
    tooLarge.open(big, 4);
    EXPECT_EQ(tooLarge.error().kind, FileErrorKind::TooLarge);
}

// A system that refuses to map (or to let pages go) costs nothing but the copy.
TEST(OnePassText, ReadsTheFileWhenTheSystemRefusesTheMap)
{
    TempDir dir;
    const std::string path = dir.write("latin.txt", "[1] et arma et vir");
    FailingPosixCalls calls;
    for (const int err : {ENOMEM, ENODEV, EACCES}) {
        calls.failAt(PosixCall::MapForReading, 1, err);
        OnePassText text;
        text.open(path);
        ASSERT_FALSE(text.error()) << err;
        EXPECT_TRUE(calls.fired()) << err;
        EXPECT_FALSE(text.mapped()) << err;
        EXPECT_EQ(text.bytes(), "[1] et arma et vir") << err;
        EXPECT_EQ(countForms(text.bytes(), "et"), 2u) << err;
    }
    calls.failAt(PosixCall::AdviseDontNeed, 1, EINVAL);
    OnePassText text;
    text.open(dir.write("long.txt", std::string(10000, 'a') + " et"));
    ASSERT_TRUE(text.mapped());
    text.release(text.bytes().size());
    EXPECT_EQ(countForms(text.bytes(), "et"), 1u);
}

// Another program shortens the text while it is mapped: reading the lost pages gives zeros
// instead of a bus error, the text says it is no longer intact, and a second reading gives
// the file as it now is.
TEST(OnePassText, FileShortenedWhileMappedEndsNothingAndIsReadAgain)
{
    TempDir dir;
    const long page = ::sysconf(_SC_PAGESIZE);
    std::string bytes;
    while (bytes.size() < static_cast<std::size_t>(4 * page))
        bytes += "[1] et arma ";
    struct Case {
        const char* name;
        std::size_t keep;  // bytes left in the file
    };
    const Case cases[] = {
        {"emptied", 0},
        {"cutInTheFirstPage", 100},
        {"cutAtAPageEdge", static_cast<std::size_t>(page)},
        {"cutInTheLastPage", bytes.size() - 10},
    };
    for (const Case& c : cases) {
        const std::string path = dir.write(std::string(c.name) + ".txt", bytes);
        OnePassText text;
        text.open(path);
        ASSERT_TRUE(text.mapped()) << c.name;
        ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(c.keep)), 0) << c.name;

        std::size_t zeros = 0;
        for (const char ch : text.bytes())
            zeros += ch == '\0';
        EXPECT_GT(zeros, 0u) << c.name;
        EXPECT_FALSE(text.intact()) << c.name;
        countForms(text.bytes(), "et");  // whole passes over the repaired pages
        std::size_t words = 0;
        forEachWordWithReference(text.bytes(), LetterSet::Window,
                                 [&](std::size_t, std::size_t, const MarkerReader&) { ++words; });
        EXPECT_LE(words, text.bytes().size() / 2 + 1) << c.name;

        OnePassText again;
        again.open(path);
        ASSERT_FALSE(again.error()) << c.name;
        EXPECT_TRUE(again.intact()) << c.name;
        EXPECT_EQ(again.bytes(), bytes.substr(0, c.keep)) << c.name;
    }
}

// Counting piece by piece gives the count of the whole: no word is cut between two pieces,
// wherever the pieces' edges fall.
TEST(OnePassText, PiecesNeverCutAWord)
{
    TempDir dir;
    struct Case {
        const char* name;
        std::size_t before;  // bytes before the first word, so that words straddle the edges
    };
    for (const Case& c : {Case{"aligned", 0}, Case{"shiftedByOne", 1}, Case{"shiftedByFive", 5}}) {
        std::string bytes(c.before, ' ');
        std::size_t words = 0;
        while (bytes.size() < (std::size_t(9) << 20)) {
            bytes += "[1] amor\xE6tas ";
            ++words;
        }
        const std::string path = dir.write(std::string(c.name) + ".txt", bytes);
        OnePassText text;
        text.open(path);
        ASSERT_FALSE(text.error()) << c.name;
        std::size_t pieces = 0, found = 0, length = 0;
        text.forEachPiece(LetterSet::Window, [&](std::string_view piece) {
            ++pieces;
            length += piece.size();
            found += countForms(piece, "amor\xE6tas");
        });
        EXPECT_EQ(found, words) << c.name;
        EXPECT_EQ(length, bytes.size()) << c.name;
        EXPECT_GE(pieces, 3u) << c.name;
        EXPECT_TRUE(text.intact()) << c.name;
    }
}

// A file that only grows keeps what was mapped: the bytes read are still the file's.
TEST(OnePassText, FileGrownWhileMappedStaysIntact)
{
    TempDir dir;
    const std::string path = dir.write("latin.txt", "[1] et arma");
    OnePassText text;
    text.open(path);
    ASSERT_TRUE(text.mapped());
    {
        std::ofstream more(path, std::ios::binary | std::ios::app);
        more << " et vir";
    }
    EXPECT_TRUE(text.intact());
    EXPECT_EQ(text.bytes(), "[1] et arma");
}

} // namespace
} // namespace quorvex
