#include "concordance/Cp1252.h"
#include "concordance/Letters.h"
#include "concordance/TextFile.h"

#include "../TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace quorvex {
namespace {

namespace fs = std::filesystem;

using testsupport::slurp;
using testsupport::TempDir;

TEST(Letters, LoweringUsesTheLatin1PairsOnly)
{
    EXPECT_EQ(lowered("AMOR \xC9T\xC9 \xDE\xD7\xDF \x8C\x8A\x9F"), "amor \xE9t\xE9 \xFE\xD7\xDF \x8C\x8A\x9F");
    EXPECT_TRUE(equalsIgnoringCase("\xC0la", "\xE0LA"));
    EXPECT_FALSE(equalsIgnoringCase("ala", "al"));
}

TEST(Cp1252, RoundTripsEveryByteAndNamesMissingCharacters)
{
    std::string all;
    for (int c = 0; c < 256; ++c)
        all += static_cast<char>(c);
    const std::string utf8 = cp1252ToUtf8(all);
    EXPECT_TRUE(isValidUtf8(utf8));
    const Utf8Conversion back = utf8ToCp1252(utf8);
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.bytes, all);
    EXPECT_EQ(cp1252ToUtf8("\x80\x9C"), "\xE2\x82\xAC\xC5\x93");  // € œ

    const Utf8Conversion missing = utf8ToCp1252("a\nb\n\xC4\x81");  // ā on line 3
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.badLine, 3u);
    EXPECT_EQ(missing.badChar, U'\x101');
    const Utf8Conversion malformed = utf8ToCp1252("\xE9t\xE9");
    EXPECT_FALSE(malformed.ok);
    EXPECT_EQ(malformed.badChar, 0u);
    EXPECT_EQ(unicodeToUtf8(U'\x101'), "\xC4\x81");
}

struct ReadCase {
    const char* name;
    std::string bytes;
    std::string expected;
    bool converted;
};

class ReadText : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadText, TakesBytesOrConvertsUtf8)
{
    TempDir dir;
    const TextReadResult r = readText(dir.write("t.txt", GetParam().bytes));
    ASSERT_FALSE(r.error) << describeFileError(r.error);
    EXPECT_EQ(r.text, GetParam().expected);
    EXPECT_EQ(r.convertedFromUtf8, GetParam().converted);
}

std::string everyByte()
{
    std::string s;
    for (int c = 255; c >= 0; --c)
        s += static_cast<char>(c);
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    TextFile, ReadText,
    ::testing::Values(
        ReadCase{"windows1252Kept", "[1] \xE9t\xE9\r\n", "[1] \xE9t\xE9\r\n", false},
        ReadCase{"utf8Converted", "[1] \xC3\xA9t\xC3\xA9 \xC5\x93\r\n", "[1] \xE9t\xE9 \x9C\r\n", true},
        ReadCase{"bomStripped", "\xEF\xBB\xBF[1] a\r\n", "[1] a\r\n", true},
        ReadCase{"asciiUntouched", "[1] a\r\n", "[1] a\r\n", false},
        ReadCase{"binaryByteForByte", everyByte(), everyByte(), false},
        ReadCase{"empty", "", "", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextFile, ReadFailuresNameTheFileInFrench)
{
    TempDir dir;
    struct Case {
        const char* name;
        std::string path;
        std::size_t maxBytes;
        FileErrorKind kind;
        const char* words;
    };
    const std::string big = dir.write("big.txt", std::string(5000, 'a'));
    const std::string utf8 = dir.write("u.txt", "a\r\nb\r\nc \xC4\x81\r\n");
    const Case cases[] = {
        {"missing", dir.file("absent.txt"), kDefaultMaxTextBytes, FileErrorKind::NotFound,
         "introuvable"},
        {"folder", dir.file(""), kDefaultMaxTextBytes, FileErrorKind::IsDirectory, "dossier"},
        {"tooLarge", big, 4096, FileErrorKind::TooLarge, "volumineux"},
        {"missingCharacter", utf8, kDefaultMaxTextBytes, FileErrorKind::NotRepresentable,
         "ligne 3"},
    };
    for (const Case& c : cases) {
        const TextReadResult r = readText(c.path, c.maxBytes);
        EXPECT_EQ(r.error.kind, c.kind) << c.name;
        EXPECT_TRUE(r.text.empty()) << c.name;
        const std::string message = describeFileError(r.error);
        EXPECT_NE(message.find(c.words), std::string::npos) << c.name << ": " << message;
        EXPECT_NE(message.find(c.path), std::string::npos) << c.name << ": " << message;
    }
    EXPECT_EQ(readText(big, 5000).text.size(), 5000u);  // the limit itself is allowed
}

TEST(TextFile, UnreadableFileIsRefused)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    TempDir dir;
    const std::string path = dir.write("locked.txt", "a");
    fs::permissions(path, fs::perms::none);
    const TextReadResult r = readText(path);
    EXPECT_EQ(r.error.kind, FileErrorKind::AccessDenied);
    EXPECT_NE(describeFileError(r.error).find("Accès refusé"), std::string::npos);
}

TEST(TextFile, WriteReplacingKeepsTheOldFileOnEveryFailure)
{
    TempDir dir;
    const std::string path = dir.write("out.txt", "old");
    struct Case {
        const char* name;
        std::function<bool(std::ostream&)> produce;
    };
    const Case failures[] = {
        {"producerRefuses", [](std::ostream& o) { o << "half"; return false; }},
        {"streamFails(fullDisk)", [](std::ostream& o) { o << "half"; o.setstate(std::ios::badbit); return true; }},
        {"outOfMemory", [](std::ostream& o) -> bool { o << "half"; throw std::bad_alloc(); }},
    };
    for (const Case& c : failures) {
        const FileError e = writeFileReplacing(path, c.produce);
        EXPECT_EQ(e.kind, FileErrorKind::WriteFailed) << c.name;
        EXPECT_NE(describeFileError(e).find("ne peut pas être écrit"), std::string::npos);
        EXPECT_EQ(slurp(path), "old") << c.name;
        EXPECT_EQ(dir.entries(), 1u) << c.name << ": a temporary file was left";
    }

    EXPECT_FALSE(writeFileReplacing(path, [](std::ostream& o) { o << "new\r\n"; return true; }));
    EXPECT_EQ(slurp(path), "new\r\n");
    EXPECT_EQ(dir.entries(), 1u);

    const FileError noFolder =
        writeFileReplacing(dir.file("none/out.txt"), [](std::ostream&) { return true; });
    EXPECT_EQ(noFolder.kind, FileErrorKind::WriteFailed);
    EXPECT_NE(describeFileError(noFolder).find("le dossier n'existe pas"), std::string::npos);
    EXPECT_EQ(writeFileReplacing(dir.file(""), [](std::ostream&) { return true; }).kind,
              FileErrorKind::IsDirectory);
    EXPECT_TRUE(fileExists(path));
    EXPECT_FALSE(fileExists(dir.file("absent")));
}

} // namespace
} // namespace quorvex
