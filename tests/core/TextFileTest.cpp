#include "text/Cp1252.h"
#include "text/Letters.h"
#include "text/TextFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace quorvex {
namespace {

using testsupport::slurp;
using testsupport::TempDir;

std::string everyByteDownwards()
{
    std::string bytes;
    for (int c = 255; c >= 0; --c)
        bytes += static_cast<char>(c);
    return bytes;
}

// The Latin-1 pairs, and the code page's own capitals Š Œ Ž Ÿ, which stand only in French
// words (letters of the extended set, never of the window's); nothing else changes.
TEST(Letters, LoweringUsesTheLatin1PairsAndTheCodePagesCapitals)
{
    EXPECT_EQ(lowered("AMOR \xC9T\xC9 \xDE\xD7\xDF \x8C\x8A\x9F\x8E \x9C\x9A\xFF\x9E \x80\x83\xAA\xB5\xBA"),
              "amor \xE9t\xE9 \xFE\xD7\xDF \x9C\x9A\xFF\x9E \x9C\x9A\xFF\x9E \x80\x83\xAA\xB5\xBA");
    for (int c = 0; c < 256; ++c) {
        const auto b = static_cast<unsigned char>(c);
        // Only a letter of the extended set changes, and into one of the same set.
        if (lowerByte(b) != b) {
            EXPECT_TRUE(isLetterOf(LetterSet::Extended, b)) << c;
            EXPECT_TRUE(isLetterOf(LetterSet::Extended, lowerByte(b))) << c;
        }
    }
    EXPECT_TRUE(equalsIgnoringCase("\xC0la", "\xE0LA"));
    EXPECT_FALSE(equalsIgnoringCase("ala", "al"));
}

TEST(Cp1252, RoundTripsEveryByteAndNamesMissingCharacters)
{
    const std::string all = everyByteDownwards();
    const Utf8Conversion back = utf8ToCp1252(cp1252ToUtf8(all));
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.bytes, all);
    EXPECT_EQ(cp1252ToUtf8("\x80\x9C"), "\xE2\x82\xAC\xC5\x93");  // € œ
    const Utf8Conversion missing = utf8ToCp1252("a\nb\n\xC4\x81");  // ā on line 3
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.badLine, 3u);
    EXPECT_EQ(missing.badChar, U'\x101');
    EXPECT_FALSE(utf8ToCp1252("\xE9t\xE9").ok);  // not UTF-8 at all
}

TEST(TextFile, TakesBytesOrConvertsUtf8)
{
    // Downwards, the bytes would begin with a UTF-16 byte-order mark.
    std::string everyByteUpwards = everyByteDownwards();
    std::reverse(everyByteUpwards.begin(), everyByteUpwards.end());
    struct Case {
        const char* name;
        std::string bytes, expected;
        bool converted;
    };
    const Case cases[] = {
        {"windows1252Kept", "[1] \xE9t\xE9\r\n", "[1] \xE9t\xE9\r\n", false},
        {"utf8Converted", "[1] \xC3\xA9t\xC3\xA9 \xC5\x93\r\n", "[1] \xE9t\xE9 \x9C\r\n", true},
        {"bomStripped", "\xEF\xBB\xBF[1] a\r\n", "[1] a\r\n", true},
        {"binaryByteForByte", everyByteUpwards, everyByteUpwards, false},
        {"empty", "", "", false},
    };
    TempDir dir;
    for (const Case& c : cases) {
        const TextReadResult r = readText(dir.write("t.txt", c.bytes));
        ASSERT_FALSE(r.error) << c.name << ": " << describeFileError(r.error);
        EXPECT_EQ(r.text, c.expected) << c.name;
        EXPECT_EQ(r.convertedFromUtf8, c.converted) << c.name;
    }
}

// UTF-16 with its byte-order mark, either order: converted as UTF-8 is; what the code page
// lacks, or broken UTF-16, is a message with the line.
TEST(TextFile, ConvertsUtf16WithItsByteOrderMark)
{
    const auto le = [](const std::u16string& s) {
        std::string b = "\xFF\xFE";
        for (char16_t c : s)
            b += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
        return b;
    };
    const auto be = [](const std::u16string& s) {
        std::string b = "\xFE\xFF";
        for (char16_t c : s)
            b += {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
        return b;
    };
    struct Case {
        const char* name;
        std::string bytes, expected, message;
    };
    const Case cases[] = {
        {"littleEndian", le(u"[1] \u00E9t\u00E9 \u0153\r\n"), "[1] \xE9t\xE9 \x9C\r\n", ""},
        {"bigEndian", be(u"[1] amor \u20AC\r\n"), "[1] amor \x80\r\n", ""},
        {"markOnly", le(u""), "", ""},
        {"missingCharacter", be(u"a\nb\n\u0101"), "",
         "ligne 3, le caractère « \xC4\x81 » (U+0101) que"},
        {"beyondTheBasicPlane", le(u"a \U0001F600"), "", "ligne 1, le caractère « \xF0\x9F\x98\x80 » (U+1F600)"},
        {"loneSurrogate", le(u"a\n") + std::string("\x00\xDC", 2), "", "ligne 2, une suite d'octets UTF-16 invalide"},
        {"oddLength", le(u"ab") + "c", "", "ligne 1, une suite d'octets UTF-16 invalide"},
    };
    TempDir dir;
    for (const Case& c : cases) {
        const TextReadResult r = readText(dir.write("t.txt", c.bytes));
        EXPECT_EQ(r.text, c.expected) << c.name;
        if (c.message.empty()) {
            EXPECT_FALSE(r.error) << c.name << ": " << describeFileError(r.error);
            EXPECT_TRUE(r.convertedFromUtf16) << c.name;
        } else {
            EXPECT_NE(describeFileError(r.error).find(c.message), std::string::npos)
                << c.name << ": " << describeFileError(r.error);
        }
    }
}

TEST(TextFile, ReadFailuresNameTheFileInFrench)
{
    TempDir dir;
    const std::string big = dir.write("big.txt", std::string(5000, 'a'));
    const std::string locked = dir.write("locked.txt", "a");
    std::filesystem::permissions(locked, std::filesystem::perms::none);
    struct Case {
        const char* name;
        std::string path;
        std::size_t maxBytes;
        FileErrorKind kind;
        const char* words;
    };
    std::vector<Case> cases = {
        {"missing", dir.file("absent.txt"), kDefaultMaxTextBytes, FileErrorKind::NotFound, "introuvable"},
        {"folder", dir.file(""), kDefaultMaxTextBytes, FileErrorKind::IsDirectory, "dossier"},
        {"tooLarge", big, 4096, FileErrorKind::TooLarge, "volumineux"},
        {"missingCharacter", dir.write("u.txt", "a\r\nb\r\nc \xC4\x81\r\n"), kDefaultMaxTextBytes,
         FileErrorKind::NotRepresentable, "ligne 3"},
    };
#ifndef _WIN32
    // Root reads every file; Windows has no such mode bits (a read-only file is readable).
    if (geteuid() != 0)
        cases.push_back({"unreadable", locked, kDefaultMaxTextBytes, FileErrorKind::AccessDenied, "Accès refusé"});
#endif
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

TEST(TextFile, WriteReplacingKeepsTheOldFileOnEveryFailure)
{
    TempDir dir;
    const std::string path = dir.write("out.txt", "old");
    const std::pair<const char*, std::function<bool(std::ostream&)>> failures[] = {
        {"producerRefuses", [](std::ostream& o) { o << "half"; return false; }},
        {"streamFails(fullDisk)", [](std::ostream& o) { o << "half"; o.setstate(std::ios::badbit); return true; }},
        {"outOfMemory", [](std::ostream& o) -> bool { o << "half"; throw std::bad_alloc(); }},
    };
    for (const auto& [name, produce] : failures) {
        const FileError e = writeFileReplacing(path, produce);
        EXPECT_EQ(e.kind, FileErrorKind::WriteFailed) << name;
        EXPECT_NE(describeFileError(e).find("ne peut pas être écrit"), std::string::npos) << name;
        EXPECT_EQ(slurp(path), "old") << name;
        EXPECT_EQ(dir.entries(), 1u) << name << ": a temporary file was left";
    }
    EXPECT_FALSE(writeFileReplacing(path, [](std::ostream& o) { o << "new\r\n"; return true; }));
    EXPECT_EQ(slurp(path), "new\r\n");
    EXPECT_EQ(dir.entries(), 1u);
    const FileError noFolder = writeFileReplacing(dir.file("none/out.txt"), [](std::ostream&) { return true; });
    EXPECT_NE(describeFileError(noFolder).find("le dossier n'existe pas"), std::string::npos);
    EXPECT_EQ(writeFileReplacing(dir.file(""), [](std::ostream&) { return true; }).kind, FileErrorKind::IsDirectory);
}

} // namespace
} // namespace quorvex
