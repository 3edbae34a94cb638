// The Windows system room on real files (under Wine in CI): what is replaced and how, a file
// another program holds, a read-only file, and every call failed in turn through the double.

#include "system/SystemFiles.h"
#include "system/windows/WindowsCalls.h"
#include "text/TextFile.h"

#include "support/FailingWindowsCalls.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

namespace quorvex {
namespace {

using namespace testsupport;
namespace fs = std::filesystem;

FileError writeText(const std::string& path, const std::string& text)
{
    return writeFileReplacing(path, [&](std::ostream& o) { o << text; return true; });
}

TEST(WindowsSystemFiles, ReplacementPutsTheNewFileInPlaceUnderAnyName)
{
    TempDir dir;
    struct Case {
        const char* name;
        std::string file;
        bool exists;
    };
    const Case cases[] = {
        {"newPlain", "new.txt", false},
        {"replacedPlain", "old.txt", true},
        {"newAccented", "r\xC3\xA9sultat_\xC3\xA9.txt", false},
        {"replacedAccented", "texte_\xC3\xA9.txt", true},
        {"replacedOutsideCodePage", "\xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82.txt", true},
        {"replacedAstral", "\xF0\x9F\x93\x9C.txt", true},
    };
    std::size_t files = 0;
    for (const Case& c : cases) {
        if (c.exists)
            dir.write(c.file, "old");
        const FileError e = writeText(dir.file(c.file), "new\r\n");
        EXPECT_FALSE(e) << c.name << ": " << describeFileError(e);
        EXPECT_EQ(slurp(dir.file(c.file)), "new\r\n") << c.name;
        EXPECT_EQ(dir.entries(), ++files) << c.name << ": a temporary file was left";
        EXPECT_EQ(readText(dir.file(c.file)).text, "new\r\n") << c.name;
    }

    // A relative name, resolved against the current folder, is replaced where it lies.
    const fs::path before = fs::current_path();
    fs::current_path(fs::u8path(dir.file("")));
    EXPECT_FALSE(writeText("old.txt", "relative"));
    fs::current_path(before);
    EXPECT_EQ(slurp(dir.file("old.txt")), "relative");
    EXPECT_EQ(dir.entries(), files);
}

TEST(WindowsSystemFiles, ReadOnlyOrHeldFilesKeepTheirContent)
{
    TempDir dir;
    const std::string readOnly = dir.write("lecture_seule.txt", "old");
    fs::permissions(fs::u8path(readOnly), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const FileError refused = writeText(readOnly, "new");
    EXPECT_EQ(refused.kind, FileErrorKind::ReadOnly);
    EXPECT_EQ(describeFileError(refused),
              "Le fichier « " + readOnly + " » est en lecture seule : il n'a pas été remplacé.");
    EXPECT_EQ(slurp(readOnly), "old");
    fs::permissions(fs::u8path(readOnly), fs::perms::owner_write, fs::perm_options::add);

    // Another program holds the file open without sharing it: it cannot be replaced.
    const std::string held = dir.write("ouvert.txt", "old");
    const HANDLE other = CreateFileW(fs::u8path(held).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    const FileError busy = writeText(held, "new");
    CloseHandle(other);
    ASSERT_TRUE(busy);
    const std::string message = describeFileError(busy);
    EXPECT_NE(message.find(held), std::string::npos) << message;
    EXPECT_EQ(slurp(held), "old");
    std::string names;
    for (const auto& entry : fs::directory_iterator(fs::u8path(dir.file(""))))
        names += entry.path().filename().u8string() + " ";
    EXPECT_EQ(dir.entries(), 2u) << "a temporary file was left: " << names;
    EXPECT_FALSE(writeText(held, "new")) << "once closed, the file is replaced";
    EXPECT_EQ(slurp(held), "new");
}

// Each call a replacement makes, failed in turn at its first, second and last occurrence:
// either the new file is in place, or the old one is intact with the system's reason in the
// message; never a file left behind. A full disk and a folder that takes no file are two rows.
TEST(WindowsSystemFiles, ReplacementSurvivesAnyFailingCall)
{
    TempDir dir;
    const std::string path = dir.write("out.txt", "old");
    FailingWindowsCalls calls;
    ASSERT_FALSE(writeText(path, "dry run"));
    std::array<std::size_t, kWindowsCallKinds> seen{};
    for (std::size_t k = 0; k < seen.size(); ++k)
        seen[k] = calls.count(static_cast<WindowsCall>(k));
    EXPECT_EQ(seen[static_cast<std::size_t>(WindowsCall::ReplaceFile)], 1u);
    std::size_t points = 0;
    for (std::size_t k = 0; k < seen.size(); ++k) {
        const auto call = static_cast<WindowsCall>(k);
        for (const std::size_t at : {std::size_t(1), std::size_t(2), seen[k]}) {
            if (at == 0 || at > seen[k])
                continue;
            std::ofstream(fs::u8path(path), std::ios::binary | std::ios::trunc) << "old";
            const DWORD code = call == WindowsCall::WriteFile ? ERROR_DISK_FULL
                : call == WindowsCall::CreateFile             ? ERROR_ACCESS_DENIED
                : call == WindowsCall::ReplaceFile            ? ERROR_UNABLE_TO_REMOVE_REPLACED
                                                              : ERROR_GEN_FAILURE;
            calls.failAt(call, at, code);
            const FileError e = writeText(path, "new");
            const std::string row = std::string(windowsCallName(call)) + " #" + std::to_string(at);
            ++points;
            EXPECT_EQ(dir.entries(), 1u) << row;
            EXPECT_EQ(sys::liveTemporaryFileCount(), 0u) << row;
            if (e) {
                EXPECT_EQ(slurp(path), "old") << row;
                const std::string message = describeFileError(e);
                EXPECT_NE(message.find(path), std::string::npos) << row << message;
                if (call == WindowsCall::WriteFile) {
                    EXPECT_NE(message.find("le disque est plein"), std::string::npos) << row << message;
                }
                if (call == WindowsCall::ReplaceFile) {
                    EXPECT_NE(message.find("le fichier est occupé"), std::string::npos) << row << message;
                }
            } else {
                EXPECT_EQ(slurp(path), "new") << row;
            }
        }
    }
    EXPECT_GE(points, 8u);

    // A folder that takes no new file (read-only to this user): nothing is left in it.
    calls.failAt(WindowsCall::CreateFile, 1, ERROR_ACCESS_DENIED);
    const FileError denied = writeText(dir.file("nouveau.txt"), "new");
    EXPECT_NE(describeFileError(denied).find("accès refusé"), std::string::npos) << describeFileError(denied);
    EXPECT_EQ(dir.entries(), 1u);
}

// A text read once is mapped as it lies; a map the system refuses costs only the copy.
TEST(WindowsSystemFiles, OnePassTextIsMappedOrReadWhenTheMapIsRefused)
{
    TempDir dir;
    const std::string bytes = "[1] qu\xE6 et arma\r\n" + std::string(10000, 'a');
    const std::string path = dir.write("latin.txt", bytes);
    {
        OnePassText text;
        text.open(path);
        ASSERT_FALSE(text.error()) << describeFileError(text.error());
        EXPECT_TRUE(text.mapped());
        EXPECT_TRUE(text.intact());
        EXPECT_EQ(text.bytes(), bytes);
    }
    FailingWindowsCalls calls;
    for (const WindowsCall call : {WindowsCall::CreateFileMapping, WindowsCall::MapViewOfFile}) {
        calls.failAt(call, 1, ERROR_NOT_ENOUGH_MEMORY);
        OnePassText text;
        text.open(path);
        const std::string row = windowsCallName(call);
        ASSERT_FALSE(text.error()) << row;
        EXPECT_TRUE(calls.fired()) << row;
        EXPECT_FALSE(text.mapped()) << row;
        EXPECT_EQ(text.bytes(), bytes) << row;
    }
}

TEST(WindowsSystemFiles, WindowsCodesHaveFrenchReasons)
{
    struct Case {
        const char* name;
        DWORD code;
        const char* reason;
    };
    const Case cases[] = {
        {"diskFull", ERROR_DISK_FULL, "le disque est plein"},
        {"handleDiskFull", ERROR_HANDLE_DISK_FULL, "le disque est plein"},
        {"accessDenied", ERROR_ACCESS_DENIED, "accès refusé"},
        {"sharingViolation", ERROR_SHARING_VIOLATION, "le fichier est occupé"},
        {"replacedInUse", ERROR_UNABLE_TO_REMOVE_REPLACED, "le fichier est occupé"},
        {"pathNotFound", ERROR_PATH_NOT_FOUND, "le dossier n'existe pas"},
        {"writeProtect", ERROR_WRITE_PROTECT, "le système de fichiers est en lecture seule"},
        {"nameTooLong", ERROR_FILENAME_EXCED_RANGE, "le nom est trop long"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sys::errnoReason(sys::errnoFromWindows(c.code)), c.reason) << c.name;
}

} // namespace
} // namespace quorvex
