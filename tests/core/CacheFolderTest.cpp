// The cache folder: an entry comes back only whole and only for the files it was computed
// from; a damaged, stale or unwritable cache is never an error, just a miss.

#include "system/CacheFolder.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

using namespace quorvex;
namespace fs = std::filesystem;

namespace {

std::string slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void spill(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

} // namespace

TEST(CacheFolder, AnEntryComesBackForItsKindAndKeyOnly)
{
    testsupport::TempDir dir;
    const CacheFolder cache(fs::path(dir.file("cache")));
    const std::string payload("lemmas\0with\0zeros", 17);
    ASSERT_TRUE(cache.write("french-lemmas", "key-1", payload));
    EXPECT_EQ(cache.read("french-lemmas", "key-1"), payload);
    EXPECT_FALSE(cache.read("french-lemmas", "key-2"));
    EXPECT_FALSE(cache.read("alignment", "key-1"));
    // A second write replaces the first.
    ASSERT_TRUE(cache.write("french-lemmas", "key-1", "other"));
    EXPECT_EQ(cache.read("french-lemmas", "key-1"), "other");
    EXPECT_TRUE(cache.write("empty", "k", ""));
    EXPECT_EQ(cache.read("empty", "k"), "");
}

TEST(CacheFolder, AnEntryReadInWordsHoldsItsPayloadWhateverTheKeysLength)
{
    testsupport::TempDir dir;
    const CacheFolder cache(fs::path(dir.file("cache")));
    const std::string payload("\x01\x00\x00\x00\x02\x00\x00\x00tail", 12);
    for (const std::string key : {"k", "ke", "key", "keys", "key-5"}) {
        SCOPED_TRACE(key);
        ASSERT_TRUE(cache.write("words", key, payload));
        const std::optional<CachedWords> read = cache.readWords("words", key);
        ASSERT_TRUE(read);
        ASSERT_EQ(read->byteCount, payload.size());
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(read->words.data() + read->first), read->byteCount), payload);
        EXPECT_EQ(read->words[read->first + 1], 2u);
        EXPECT_FALSE(cache.readWords("words", key + "x"));
    }
}

TEST(CacheFolder, ADamagedEntryReadsAsMissingAndIsWrittenAgain)
{
    struct Row {
        const char* name;
        std::function<std::string(const std::string&)> damage;
    };
    const Row rows[] = {
        {"empty file", [](const std::string&) { return std::string(); }},
        {"cut short", [](const std::string& b) { return b.substr(0, b.size() - 3); }},
        {"cut in the key", [](const std::string& b) { return b.substr(0, 20); }},
        {"one byte longer", [](const std::string& b) { return b + 'x'; }},
        {"payload byte changed", [](const std::string& b) { std::string d = b; d[d.size() - 12] ^= 1; return d; }},
        {"another format", [](const std::string& b) { std::string d = b; d[0] = 'X'; return d; }},
        {"key length huge", [](const std::string& b) { std::string d = b; d[16 + 7] = '\x7f'; return d; }},
        {"binary noise", [](const std::string& b) { return std::string(b.size(), '\xff'); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        testsupport::TempDir dir;
        const CacheFolder cache(fs::path(dir.file("c")));
        ASSERT_TRUE(cache.write("k", "key", "the payload of the entry"));
        const fs::path entry = cache.entryPath("k", "key");
        spill(entry, row.damage(slurp(entry)));
        EXPECT_FALSE(cache.read("k", "key"));
        EXPECT_FALSE(cache.readWords("k", "key"));
        ASSERT_TRUE(cache.write("k", "key", "again"));
        EXPECT_EQ(cache.read("k", "key"), "again");
    }
}

TEST(CacheFolder, AChangedFileGetsAnotherKeyEvenWithTheSameSizeAndTime)
{
    testsupport::TempDir dir;
    const fs::path text = dir.write("latin.txt", "[1] arma uirumque cano");
    const auto before = identifyFile(text);
    ASSERT_TRUE(before);
    const auto time = fs::last_write_time(text);
    spill(text, "[1] arma uirumque cane");
    fs::last_write_time(text, time);
    const auto after = identifyFile(text);
    ASSERT_TRUE(after);
    EXPECT_EQ(after->size, before->size);
    EXPECT_EQ(after->modified, before->modified);
    EXPECT_NE(identityKey({*after}), identityKey({*before}));

    const CacheFolder cache(fs::path(dir.file("c")));
    ASSERT_TRUE(cache.write("lemmas", identityKey({*before}), "stale"));
    EXPECT_FALSE(cache.read("lemmas", identityKey({*after})));

    // The bytes the caller holds give the same identity as the file read again.
    EXPECT_EQ(identityKey({*identifyFile(text, "[1] arma uirumque cane")}), identityKey({*after}));
    EXPECT_FALSE(identifyFile(dir.file("missing.txt")));
    // A time alone changes the key too.
    fs::last_write_time(text, time + std::chrono::seconds(5));
    EXPECT_NE(identityKey({*identifyFile(text)}), identityKey({*after}));
}

TEST(CacheFolder, AFolderThatCannotHoldEntriesMeansNoCache)
{
    testsupport::TempDir dir;
    const fs::path file = dir.write("plain-file", "x");
    struct Row {
        const char* name;
        CacheFolder cache;
    };
    const Row rows[] = {
        {"no folder (--no-cache)", CacheFolder()},
        {"under a regular file", CacheFolder(file / "cache")},
        {"a regular file itself", CacheFolder(file)},
        {"a folder of the system that takes no file", CacheFolder(fs::path("/proc/quorvex-cache"))},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_FALSE(row.cache.write("k", "key", "payload"));
        EXPECT_FALSE(row.cache.read("k", "key"));
    }
    EXPECT_EQ(slurp(file), "x");
}

TEST(CacheFolder, TwoProgramsWritingAtOnceLeaveOneWholeEntry)
{
    testsupport::TempDir dir;
    const fs::path folder(dir.file("c"));
    const std::string first(300000, 'a'), second(200000, 'b');
    pid_t children[2];
    for (int i = 0; i < 2; ++i) {
        children[i] = fork();
        ASSERT_GE(children[i], 0);
        if (children[i] == 0) {
            // A write may lose the race (the file it opened was replaced meanwhile) and then
            // writes nothing, which a cache allows; most go through.
            const CacheFolder cache(folder);
            int written = 0;
            for (int n = 0; n < 40; ++n)
                written += cache.write("k", "key", i == 0 ? first : second) ? 1 : 0;
            _exit(written > 0 ? 0 : 1);
        }
    }
    const CacheFolder reader(folder);
    int seen = 0;
    for (int n = 0; n < 200; ++n) {
        if (const auto entry = reader.read("k", "key")) {
            ++seen;
            ASSERT_TRUE(*entry == first || *entry == second);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const auto entry = reader.read("k", "key");
    ASSERT_TRUE(entry);
    EXPECT_TRUE(*entry == first || *entry == second);
    // Nothing but the one entry is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1);
}

TEST(CacheFolder, TheFolderStaysUnderItsCapOldestFirst)
{
    testsupport::TempDir dir;
    const CacheFolder cache(fs::path(dir.file("c")), 2500);
    const auto now = fs::file_time_type::clock::now();
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(cache.write("k", "key" + std::to_string(i), std::string(1000, 'x')));
        fs::last_write_time(cache.entryPath("k", "key" + std::to_string(i)), now - std::chrono::hours(10 - i));
    }
    // The fourth goes over: the two oldest leave, the newest stays.
    ASSERT_TRUE(cache.write("k", "key3", std::string(1000, 'y')));
    EXPECT_FALSE(cache.read("k", "key0"));
    EXPECT_FALSE(cache.read("k", "key1"));
    EXPECT_TRUE(cache.read("k", "key2"));
    EXPECT_TRUE(cache.read("k", "key3"));
    // Files that are not entries are never removed.
    const fs::path other = fs::path(dir.file("c")) / "notes.txt";
    spill(other, std::string(5000, 'n'));
    ASSERT_TRUE(cache.write("k", "key4", std::string(1000, 'z')));
    EXPECT_TRUE(fs::exists(other));
    // An entry larger than the cap alone is kept for the run that made it.
    ASSERT_TRUE(cache.write("k", "big", std::string(4000, 'b')));
    EXPECT_TRUE(cache.read("k", "big"));
}

TEST(CacheFolder, TheDefaultFolderFollowsTheEnvironment)
{
    struct Row {
        const char* name;
        const char* xdg;
        const char* home;
        const char* expected;
    };
    const Row rows[] = {
        {"XDG_CACHE_HOME", "/x/cache", "/home/u", "/x/cache/quorvex"},
        {"HOME when XDG_CACHE_HOME is unset", nullptr, "/home/u", "/home/u/.cache/quorvex"},
        {"HOME when XDG_CACHE_HOME is relative", "relative", "/home/u", "/home/u/.cache/quorvex"},
        {"nothing without either", nullptr, nullptr, ""},
    };
    const char* savedXdg = std::getenv("XDG_CACHE_HOME");
    const char* savedHome = std::getenv("HOME");
    const std::string xdgCopy = savedXdg ? savedXdg : "", homeCopy = savedHome ? savedHome : "";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        row.xdg ? setenv("XDG_CACHE_HOME", row.xdg, 1) : unsetenv("XDG_CACHE_HOME");
        row.home ? setenv("HOME", row.home, 1) : unsetenv("HOME");
        EXPECT_EQ(defaultCacheFolder(), fs::path(row.expected));
    }
    savedXdg ? setenv("XDG_CACHE_HOME", xdgCopy.c_str(), 1) : unsetenv("XDG_CACHE_HOME");
    savedHome ? setenv("HOME", homeCopy.c_str(), 1) : unsetenv("HOME");
}

TEST(CacheFolder, TheContentHashSeesEveryByte)
{
    std::string text(1000, 'a');
    const auto base = contentHash(text);
    for (std::size_t at : {std::size_t(0), std::size_t(7), std::size_t(31), std::size_t(500), std::size_t(999)}) {
        std::string changed = text;
        changed[at] = 'b';
        EXPECT_NE(contentHash(changed), base) << at;
    }
    EXPECT_NE(contentHash(text + '\0'), base);
    EXPECT_NE(contentHash(""), contentHash(std::string(1, '\0')));
    EXPECT_EQ(contentHash(text), base);
}
