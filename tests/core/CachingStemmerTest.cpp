// French stems kept between runs: a second run on the same text and dictionary stems nothing
// and never opens the dictionary; any change of either stems again.

#include "translation/CachingStemmer.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

using namespace quorvex;
namespace fs = std::filesystem;

namespace {

// Stems by a fixed table; counts what it was asked.
class TableStemmer : public Stemmer {
public:
    explicit TableStemmer(int& calls) : m_calls(calls) {}
    std::vector<std::string> stems(std::string_view word) override
    {
        ++m_calls;
        static const std::map<std::string, std::vector<std::string>> table = {
            {"dit", {"dit", "dire"}}, {"cœurs", {"cœur"}}, {"était", {"être"}}};
        const auto found = table.find(std::string(word));
        return found == table.end() ? std::vector<std::string>() : found->second;
    }

private:
    int& m_calls;
};

struct StemRun {
    int opened = 0;
    int calls = 0;
    std::vector<std::vector<std::string>> stems;
};

StemRun stemAll(const CacheFolder& cache, const std::string& key, const std::vector<std::string>& words)
{
    StemRun run;
    CachingStemmer stemmer(cache, key, [&run]() {
        ++run.opened;
        return std::make_unique<TableStemmer>(run.calls);
    });
    for (const auto& w : words)
        run.stems.push_back(stemmer.stems(w));
    stemmer.save();
    return run;
}

} // namespace

TEST(CachingStemmer, ASecondRunOnTheSameFilesNeverOpensTheDictionary)
{
    testsupport::TempDir dir;
    const CacheFolder cache(fs::path(dir.file("cache")));
    const std::string text = dir.write("francais.txt", "[1] Il dit : les cœurs était ...");
    const std::string dic = dir.write("fr.dic", "3\ndit\ndire\n");
    const std::string aff = dir.write("fr.aff", "SET UTF-8\n");
    const std::vector<std::string> words = {"dit", "cœurs", "inconnu", "était", "dit"};
    const std::string key = frenchStemsKey(text, "[1] Il dit : les cœurs était ...", dic, aff);
    ASSERT_FALSE(key.empty());
    // The text's hash, when the caller knows it, names the same entry.
    EXPECT_EQ(frenchStemsKey(text, "[1] Il dit : les cœurs était ...", dic, aff,
                             contentHash("[1] Il dit : les cœurs était ...")),
              key);

    const StemRun first = stemAll(cache, key, words);
    EXPECT_EQ(first.opened, 1);
    EXPECT_EQ(first.calls, 4);  // each distinct word once
    const StemRun second = stemAll(cache, key, words);
    EXPECT_EQ(second.opened, 0);
    EXPECT_EQ(second.calls, 0);
    EXPECT_EQ(second.stems, first.stems);
    EXPECT_EQ(second.stems[0], (std::vector<std::string>{"dit", "dire"}));
    EXPECT_TRUE(second.stems[2].empty());  // unknown: stands for itself, and is cached as such

    // A word the cache does not hold opens the dictionary for that word only.
    const StemRun third = stemAll(cache, key, {"dit", "était", "nouveau"});
    EXPECT_EQ(third.opened, 1);
    EXPECT_EQ(third.calls, 1);

    // Without a cache folder (--no-cache) every run stems again and writes nothing.
    const StemRun uncached = stemAll(CacheFolder(), key, words);
    EXPECT_EQ(uncached.opened, 1);
    EXPECT_EQ(uncached.calls, 4);
}

TEST(CachingStemmer, AChangedTextOrDictionaryStemsAgain)
{
    struct Row {
        const char* name;
        const char* changed;  // the file changed, by one byte, size and time kept
    };
    const Row rows[] = {{"the text", "francais.txt"}, {"the dictionary", "fr.dic"}, {"its affixes", "fr.aff"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        testsupport::TempDir dir;
        const CacheFolder cache(fs::path(dir.file("cache")));
        const std::string text = dir.write("francais.txt", "[1] dit");
        const std::string dic = dir.write("fr.dic", "1\ndit\n");
        const std::string aff = dir.write("fr.aff", "SET UTF-8\n");
        auto keyNow = [&]() {
            std::ifstream in(text, std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(in)), {});
            return frenchStemsKey(text, bytes, dic, aff);
        };
        stemAll(cache, keyNow(), {"dit"});
        ASSERT_EQ(stemAll(cache, keyNow(), {"dit"}).opened, 0);

        const fs::path changed = fs::path(dir.file(row.changed));
        const auto time = fs::last_write_time(changed);
        std::fstream file(changed, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(1);
        file.put('X');
        file.close();
        fs::last_write_time(changed, time);
        EXPECT_EQ(stemAll(cache, keyNow(), {"dit"}).opened, 1);
    }
}

TEST(CachingStemmer, NoKeyOrADamagedEntryMeansStemming)
{
    testsupport::TempDir dir;
    const CacheFolder cache(fs::path(dir.file("cache")));
    // A file that cannot be reached gives no key.
    EXPECT_TRUE(frenchStemsKey(dir.file("missing.txt"), "", dir.file("fr.dic"), dir.file("fr.aff")).empty());
    EXPECT_EQ(stemAll(cache, "", {"dit"}).opened, 1);
    EXPECT_EQ(stemAll(cache, "", {"dit"}).opened, 1);

    // An entry whose payload is not a word list (its frame intact) is ignored and rewritten.
    ASSERT_TRUE(cache.write("french-stems", "k", std::string("dit\0dire", 8)));
    const StemRun damaged = stemAll(cache, "k", {"dit"});
    EXPECT_EQ(damaged.opened, 1);
    EXPECT_EQ(damaged.stems[0], (std::vector<std::string>{"dit", "dire"}));
    EXPECT_EQ(stemAll(cache, "k", {"dit"}).opened, 0);
}

TEST(CachingStemmer, ManyWordsAtOnceGetWhatEachGetsAlone)
{
    testsupport::TempDir dir;
    const CacheFolder cache(fs::path(dir.file("cache")));
    const std::vector<std::string> some = {"dit", "inconnu", "cœurs"};
    stemAll(cache, "k", some);  // these three kept, the rest not

    const std::vector<std::string> words = {"était", "dit", "nouveau", "cœurs", "dit", "inconnu", "autre"};
    int calls = 0, opened = 0;
    {
        CachingStemmer stemmer(cache, "k", [&]() {
            ++opened;
            return std::make_unique<TableStemmer>(calls);
        });
        const std::vector<std::vector<std::string>> together = stemmer.stemsOfEach(words);
        ASSERT_EQ(together.size(), words.size());
        EXPECT_EQ(opened, 1);
        EXPECT_EQ(calls, 3);  // only the words the cache lacks
        int aloneCalls = 0;
        TableStemmer alone(aloneCalls);
        for (std::size_t i = 0; i < words.size(); ++i)
            EXPECT_EQ(together[i], alone.stems(words[i])) << words[i];
    }
    // What was stemmed together is kept as well.
    const StemRun again = stemAll(cache, "k", words);
    EXPECT_EQ(again.opened, 0);
}

TEST(HunspellStemmer, ManyWordsAtOnceGetWhatEachGetsAlone)
{
    // Enough of the dictionary's own words (and forms of them) for the list to be shared
    // between two threads.
    const std::string dicPath(kDefaultFrenchDictionary);
    std::ifstream dic(dicPath);
    OpenedStemmer opened = openHunspellStemmer(dicPath);
    if (!dic || !opened.stemmer)
        GTEST_SKIP() << "no Hunspell French dictionary";
    std::vector<std::string> words;
    std::string line;
    std::getline(dic, line);  // the count
    while (words.size() < 12000 && std::getline(dic, line)) {
        const std::string word = line.substr(0, line.find_first_of("/\t "));
        if (word.empty())
            continue;
        words.push_back(word);
        words.push_back(word + "s");
        words.push_back(word + "ait");
    }
    const std::vector<std::vector<std::string>> together = opened.stemmer->stemsOfEach(words);
    ASSERT_EQ(together.size(), words.size());
    std::size_t stemmed = 0;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::vector<std::string> alone = opened.stemmer->stems(words[i]);
        ASSERT_EQ(together[i], alone) << words[i];
        stemmed += alone.empty() ? 0 : 1;
    }
    EXPECT_GT(stemmed, words.size() / 3);
}
