// Recall and precision of the lemma search against our own reading of Matthew 5-7 and John 1
// (tests/data/nt-lemmata.tsv), on the lexicon the build fetched: for every lemma of that
// reading the lexicon knows, the words a search by its name (homograph digits left out, as a
// reader types it) finds in those chapters, with --lemma (every candidate) and with
// --lemma-strict (the likeliest reading in its sentence), summed over the lemmata.

#include "concordance/SpellingFold.h"
#include "concordance/TextLemmata.h"
#include "concordance/TextTagging.h"
#include "lexicon/Lexicon.h"
#include "lexicon/TagModel.h"
#include "text/Cp1252.h"
#include "text/TextFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace quorvex;

namespace {

struct GoldWord {
    std::string reference, form, lemma;  // UTF-8
};

std::vector<GoldWord> readGold(const std::string& path)
{
    std::vector<GoldWord> gold;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        const std::size_t a = line.find('\t'), b = line.find('\t', a + 1);
        if (a == std::string::npos || b == std::string::npos)
            continue;
        gold.push_back({line.substr(0, a), line.substr(a + 1, b - a - 1), line.substr(b + 1)});
    }
    return gold;
}

struct Score {
    std::size_t found = 0, right = 0, expected = 0;
    double recall() const { return expected ? 100.0 * right / expected : 0; }
    double precision() const { return found ? 100.0 * right / found : 0; }
};

TEST(LemmaAccuracy, OurReadingOfMatthewAndJohn)
{
    const std::string lexiconDir = QUORVEX_LEXICON_DIR;
    const std::string latin = std::string(QUORVEX_CORPUS_DIR) + "/latin-nt.txt";
    if (lexiconDir.empty() || !std::filesystem::exists(latin) || !std::filesystem::exists(lexiconDir + "/tags.la"))
        GTEST_SKIP() << "no lexicon with tags.la or no ../shared/corpus";
    lexicon::LexiconProblem failure;
    std::vector<lexicon::LexiconProblem> malformed;
    const lexicon::Lexicon lexicon = lexicon::Lexicon::load(lexiconDir, false, failure, malformed);
    ASSERT_FALSE(failure);
    const lexicon::TagModel tags = lexicon::TagModel::load(lexiconDir, failure, malformed);
    ASSERT_FALSE(failure);
    TextReadResult text = readText(latin);
    ASSERT_FALSE(text.error);
    const WordTable words = WordTable::segment(std::move(text.text), LetterSet::Extended);
    const TextLemmata lemmata = TextLemmata::build(words, lexicon);
    const TextTagging tagging = TextTagging::build(words, lemmata, lexicon, tags);

    const std::vector<GoldWord> gold = readGold(std::string(QUORVEX_SAMPLES_DIR) + "/../tests/data/nt-lemmata.tsv");
    ASSERT_GT(gold.size(), 2000u);
    // Each row is the next word of the text with its reference and form.
    std::vector<std::size_t> wordOf;
    std::set<std::string> references;
    std::size_t w = 0;
    for (const GoldWord& g : gold) {
        references.insert(g.reference);
        while (w < words.size()
               && !(words.referenceText(words.referenceId(w)) == utf8ToCp1252(g.reference).bytes
                    && words.form(w) == utf8ToCp1252(g.form).bytes))
            ++w;
        ASSERT_LT(w, words.size()) << g.reference << " " << g.form;
        wordOf.push_back(w++);
    }
    std::size_t wordsInChapters = 0;
    for (std::size_t i = 0; i < words.size(); ++i)
        wordsInChapters += references.count(cp1252ToUtf8(words.referenceText(words.referenceId(i)))) ? 1 : 0;
    ASSERT_EQ(wordsInChapters, gold.size()) << "a word of those chapters has no row";
    std::vector<bool> inChapters(words.size(), false);
    for (const std::size_t i : wordOf)
        inChapters[i] = true;

    // Lemma names as a reader types them: folded, without the homograph digit.
    const auto nameOf = [](const std::string& lemma) {
        std::string bare = lemma;
        while (!bare.empty() && bare.back() >= '0' && bare.back() <= '9')
            bare.pop_back();
        return folded(utf8ToCp1252(bare).bytes, Folding::Spelling);
    };
    std::map<std::string, std::vector<std::size_t>> expected;
    for (std::size_t r = 0; r < gold.size(); ++r)
        expected[nameOf(gold[r].lemma)].push_back(wordOf[r]);

    Score all, strict;
    std::size_t unknownLemmaWords = 0;
    std::vector<std::string> strictMisses;
    for (const auto& [name, attested] : expected) {
        const std::vector<lexicon::LemmaId> ids = lexicon.lemmataNamed(name);
        if (ids.empty()) {
            unknownLemmaWords += attested.size();
            continue;
        }
        const std::set<std::size_t> truth(attested.begin(), attested.end());
        std::vector<std::uint8_t> candidate(lemmata.typeCount(), 0);
        for (const TextLemmata::TypeId type : lemmata.typesOf(ids, false))
            candidate[type] = 1;
        for (std::size_t i = 0; i < words.size(); ++i) {
            if (!inChapters[i])
                continue;
            const bool isTrue = truth.count(i) != 0;
            if (candidate[lemmata.typeOf(i)]) {
                ++all.found;
                all.right += isTrue;
            }
            if (tagging.known(i)
                && std::find(ids.begin(), ids.end(), tagging.reading(i).lemma) != ids.end()) {
                ++strict.found;
                strict.right += isTrue;
            } else if (isTrue && strictMisses.size() < 40) {
                strictMisses.push_back(std::string(words.form(i)) + "/" + name);
            }
        }
        all.expected += truth.size();
        strict.expected += truth.size();
    }
    std::cout << "words " << gold.size() << ", of lemmata the lexicon lacks " << unknownLemmaWords << "\n"
              << "--lemma        recall " << all.recall() << " %, precision " << all.precision() << " %\n"
              << "--lemma-strict recall " << strict.recall() << " %, precision " << strict.precision() << " %\n"
              << "some strict misses:";
    for (const std::string& miss : strictMisses)
        std::cout << " " << miss;
    std::cout << "\n";
    // A search tags only the sentences where its lemma is in doubt, and finds the same words.
    for (const char* name : {"sum", "dico", "qui", "cum", "modus", "facio", "is", "deus"}) {
        const std::vector<lexicon::LemmaId> ids = lexicon.lemmataNamed(name);
        EXPECT_EQ(TextTagging::wordsOfLemmata(words, lemmata, lexicon, tags, ids), tagging.wordsOf(ids)) << name;
    }

    // What a Latinist asks of the search: every homograph under --lemma, by design, yet not
    // much else; the likeliest reading under --lemma-strict, losing few good words.
    EXPECT_GE(all.recall(), 98.5);
    EXPECT_GE(all.precision(), 88.0);
    EXPECT_GE(strict.recall(), 97.0);
    EXPECT_GE(strict.precision(), 97.0);
}

} // namespace
