// The word alignment on made-up verse pairs whose answer is known, its training (the
// likelihood of each round never below the last), and its names spelt alike.

#include "concordance/SearchResult.h"
#include "output/EquivalentsTable.h"
#include "translation/Equivalents.h"
#include "translation/TextAlignment.h"
#include "translation/WordAlignment.h"
#include "passages/ReferencePassages.h"
#include "system/CacheFolder.h"
#include "text/Cp1252.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace quorvex {
namespace {

struct Pair {
    WordTable latin;
    std::string french;
};

std::string cp(std::string_view utf8)
{
    return utf8ToCp1252(utf8).bytes;
}

// A small parallel text made by rule: each subject, object and verb in turn, so that each
// Latin word's rendering can only be learnt from the pairs. Latin puts the verb last, French
// in the middle; "autem" is never translated; "dixit" is always "a dit"; Marcus stands once.
struct Noun {
    const char* nominative;
    const char* accusative;
    const char* french;
};
const Noun kNouns[] = {
    {"puer", "puerum", "garçon"},
    {"dominus", "dominum", "maître"},
    {"canis", "canem", "chien"},
    {"rex", "regem", "roi"},
};
// French puts a determiner before each noun, where Latin has none.
const char* const kDeterminers[] = {"le", "un", "ce", "mon", "son"};
const char* const kVerbs[][2] = {{"videt", "voit"}, {"amat", "aime"}, {"vocat", "appelle"}};

std::vector<std::pair<std::string, std::string>> madeUpSentences()
{
    std::vector<std::pair<std::string, std::string>> sentences;
    int n = 0;
    for (const Noun& subject : kNouns)
        for (const Noun& object : kNouns) {
            if (&subject == &object)
                continue;
            for (const auto& verb : kVerbs) {
                const bool particle = ++n % 4 == 0;
                sentences.emplace_back(std::string(subject.nominative) + (particle ? " autem " : " ")
                                           + object.accusative + " " + verb[0],
                                       std::string(kDeterminers[n % 5]) + " " + subject.french + " " + verb[1] + " "
                                           + kDeterminers[(n + 2) % 5] + " " + object.french);
            }
        }
    for (const Noun& subject : kNouns)
        sentences.emplace_back(std::string(subject.nominative) + " dixit",
                               std::string(kDeterminers[++n % 5]) + " " + subject.french + " a dit");
    sentences.emplace_back("Marcus puerum videt", "Marc voit le garçon");
    return sentences;
}

Pair madeUpPair()
{
    const std::vector<std::pair<std::string, std::string>> sentences = madeUpSentences();
    std::string latin, french;
    for (std::size_t k = 0; k < sentences.size(); ++k) {
        latin += "[" + std::to_string(k + 1) + "] " + cp(sentences[k].first) + "\r\n";
        french += "[" + std::to_string(k + 1) + "] " + cp(sentences[k].second) + "\r\n";
    }
    return Pair{WordTable::segment(std::move(latin)), std::move(french)};
}

// The rendering of the `nth` (1-based) word `form` of passage `reference`.
std::string renderingAt(const Pair& pair, const TextAlignment& alignment, const std::string& reference,
                        std::string_view form, int nth = 1)
{
    for (std::size_t w = 0; w < pair.latin.size(); ++w)
        if (pair.latin.referenceText(pair.latin.referenceId(w)) == reference && pair.latin.form(w) == form
            && --nth == 0)
            return renderingText(alignment.renderingOf(Attestation{static_cast<WordIndex>(w), 1}), pair.french);
    return "(no such word)";
}

TEST(WordAlignment, MadeUpPairsGetTheirKnownRenderings)
{
    const Pair pair = madeUpPair();
    FrenchLemmas lemmas(nullptr);
    const TextAlignment alignment = alignTexts(pair.latin, pair.french, lemmas, nullptr);
    EXPECT_EQ(alignment.pairedPassages(), 41u);

    struct Row {
        const char* name;
        const char* reference;
        const char* form;
        const char* rendering;
    };
    // Latin has no determiners: a noun's rendering may take its determiner after it.
    const Row rows[] = {
        {"verb last in Latin, in the middle in French", "[1]", "videt", "voit"},
        {"object before the verb", "[1]", "dominum", "maître, mon"},
        {"subject", "[1]", "puer", "garçon, un"},
        {"another case of the subject's noun", "[10]", "puerum", "garçon, ce"},
        {"a word the French drops leaves its neighbours right", "[4]", "canem", "chien, un"},
        {"one Latin word rendered by two French words", "[37]", "dixit", "dit, a"},
        {"a name met once, spelt alike", "[41]", "Marcus", "Marc"},
        {"the name's sentence keeps its other words", "[41]", "videt", "voit"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(renderingAt(pair, alignment, row.reference, row.form), row.rendering) << row.name;
    // The dropped word may take a determiner left over, never a word that renders another.
    const std::string dropped = renderingAt(pair, alignment, "[4]", "autem");
    for (const char* word : {"garçon", "maître", "chien", "roi", "voit", "aime", "appelle"})
        EXPECT_EQ(dropped.find(word), std::string::npos) << dropped;
}

ResultList hitsOf(const WordTable& table, std::string_view form)
{
    ResultList hits;
    for (std::size_t w = 0; w < table.size(); ++w)
        if (table.form(w) == form)
            hits.push_back(Attestation{WordIndex(w), 1});
    return hits;
}

// The made-up sentences, ended by full stops, with a marker each or all in one passage.
Pair sentencesPair(bool onePassage)
{
    std::string latin, french;
    int k = 0;
    for (const auto& [la, fr] : madeUpSentences()) {
        if (!onePassage || k++ == 0) {
            latin += "[" + std::to_string(k) + "] ";
            french += "[" + std::to_string(k) + "] ";
        }
        latin += cp(la) + ". ";
        french += cp(fr) + ". ";
    }
    return Pair{WordTable::segment(std::move(latin)), std::move(french)};
}

TEST(WordAlignment, APassageOfManySentencesIsCutWhereTheyMeet)
{
    const Pair verses = sentencesPair(false), onePassage = sentencesPair(true);
    ASSERT_EQ(verses.latin.size(), onePassage.latin.size());
    ASSERT_GT(onePassage.latin.size(), 100u);
    FrenchLemmas versesLemmas(nullptr), passageLemmas(nullptr);
    // Pieces of a sentence each: the pairs are then those of the marked sentences.
    AlignmentSettings settings;
    settings.cutting.cutAbove = 20;
    settings.cutting.pieceWords = 4;
    const TextAlignment byVerse = alignTexts(verses.latin, verses.french, versesLemmas, nullptr, settings);
    const TextAlignment cut = alignTexts(onePassage.latin, onePassage.french, passageLemmas, nullptr, settings);
    EXPECT_EQ(cut.pairedPassages(), 1u);
    EXPECT_EQ(cut.alignment().cells(), byVerse.alignment().cells());
    for (std::size_t w = 0; w < verses.latin.size(); ++w)
        EXPECT_EQ(renderingText(cut.renderingOf(Attestation{WordIndex(w), 1}), onePassage.french),
                  renderingText(byVerse.renderingOf(Attestation{WordIndex(w), 1}), verses.french))
            << "word " << w << ", " << verses.latin.form(w) << " of " << verses.latin.referenceText(verses.latin.referenceId(w));

    // Uncut, the passage would be one pair of all its words; cut by default, its pieces hold
    // a few dozen words a side and every word is aligned.
    const TextAlignment byDefault = alignTexts(onePassage.latin, onePassage.french, passageLemmas, nullptr);
    const std::size_t frenchWords = WordTable::segment(onePassage.french, kFrenchLetters).size();
    EXPECT_LT(byDefault.alignment().cells(), onePassage.latin.size() * frenchWords / 2);
    EXPECT_EQ(renderingAt(onePassage, byDefault, "[1]", "Marcus"), "Marc");
    AlignmentSettings whole;
    whole.cutting.cutAbove = 1000;
    EXPECT_EQ(alignTexts(onePassage.latin, onePassage.french, passageLemmas, nullptr, whole).alignment().cells(),
              onePassage.latin.size() * frenchWords);
}

TEST(WordAlignment, TranslationsRankTheLemmasByTheHitsAlignedToThem)
{
    const Pair pair = madeUpPair();
    FrenchLemmas lemmas(nullptr);
    lemmas.readText(pair.french);
    const TextAlignment alignment = alignTexts(pair.latin, pair.french, lemmas, nullptr);
    const ResultList hits = hitsOf(pair.latin, "puer");
    ASSERT_FALSE(hits.empty());
    const Equivalents eq = findEquivalents(pair.latin, hits, pair.french, lemmas, false, &alignment);
    ASSERT_TRUE(eq.byAlignment());
    ASSERT_FALSE(eq.rows().empty());
    EXPECT_EQ(lemmas.lemmaText(eq.rows()[0].lemma), "garçon");
    EXPECT_EQ(eq.rows()[0].aligned, hits.size());
    EXPECT_EQ(eq.pairedHits(), hits.size());
    EXPECT_EQ(eq.unrenderedHits(), 0u);
    for (std::size_t r = 1; r < eq.rows().size(); ++r)
        EXPECT_GE(eq.rows()[r - 1].aligned, eq.rows()[r].aligned) << r;

    const std::string table = equivalentsTable(ExportFormat::Tsv, eq, lemmas);
    const std::string n = std::to_string(hits.size());
    EXPECT_EQ(table.substr(0, table.find('\n')), "french\taligned\tshare\tpassages\tfrequency\tlog_likelihood\tdice");
    const std::string first = "garçon\t" + n + "\t100.0\t" + n + "\t";
    EXPECT_EQ(table.compare(table.find('\n') + 1, first.size(), first), 0) << table;
    EXPECT_EQ(table.substr(table.rfind('\n', table.size() - 2) + 1), "(non traduit)\t0\t0.0\t\t\t\t\n");

    // The passages' counts that the alignment kept are those a reading of every passage gives.
    for (const char* form : {"puer", "dixit", "videt"})
        for (const bool withFunctionWords : {false, true}) {
            SCOPED_TRACE(std::string(form) + (withFunctionWords ? " with function words" : ""));
            const ResultList found = hitsOf(pair.latin, form);
            const Equivalents aligned = findEquivalents(pair.latin, found, pair.french, lemmas, withFunctionWords, &alignment);
            const Equivalents read = findEquivalents(pair.latin, found, pair.french, lemmas, withFunctionWords);
            EXPECT_EQ(aligned.pairedReferences(), read.pairedReferences());
            std::size_t compared = 0;
            for (const EquivalentRow& x : aligned.rows())
                for (const EquivalentRow& y : read.rows())
                    if (x.lemma == y.lemma) {
                        ++compared;
                        EXPECT_EQ(std::vector<std::size_t>({x.a, x.b, x.c, x.d}), std::vector<std::size_t>({y.a, y.b, y.c, y.d}))
                            << lemmas.lemmaText(x.lemma);
                    }
            EXPECT_GT(compared, 0u);
        }
}

TEST(WordAlignment, TheAlignedFiltersKeepTheHitsRenderedByTheWord)
{
    const Pair pair = madeUpPair();
    FrenchLemmas lemmas(nullptr);
    lemmas.readText(pair.french);
    const TextAlignment alignment = alignTexts(pair.latin, pair.french, lemmas, nullptr);
    const ResultList hits = hitsOf(pair.latin, "videt");
    ASSERT_GT(hits.size(), 5u);
    EXPECT_EQ(keepWhereAlignedToLemma(hits, alignment, lemmas, "Voit"), hits);
    EXPECT_EQ(keepWhereAlignedToForm(hits, alignment, pair.french, WordPattern("voi*", Folding::Case)), hits);
    // The passages hold "garçon" often, but never as the verb's rendering.
    EXPECT_FALSE(keepWhereFrenchHoldsLemma(pair.latin, hits, pair.french, lemmas, "garçon").empty());
    EXPECT_TRUE(keepWhereAlignedToLemma(hits, alignment, lemmas, "garçon").empty());
    EXPECT_TRUE(keepWhereAlignedToForm(hits, alignment, pair.french, WordPattern("gar*", Folding::Case)).empty());
    EXPECT_TRUE(keepWhereAlignedToLemma(hits, alignment, lemmas, "日").empty());
}

TEST(WordAlignment, EachRoundOfEachModelRaisesTheLikelihood)
{
    const Pair pair = madeUpPair();
    FrenchLemmas lemmas(nullptr);
    AlignmentSettings settings;
    settings.model1Rounds = 6;
    settings.diagonalRounds = 6;
    const TextAlignment alignment = alignTexts(pair.latin, pair.french, lemmas, nullptr, settings);
    for (int direction = 0; direction < 2; ++direction) {
        const std::vector<double>& l = alignment.alignment().likelihoods(direction);
        ASSERT_EQ(l.size(), 12u);
        // The diagonal model's first round starts from the end of Model 1, under another model.
        for (std::size_t r = 1; r < l.size(); ++r) {
            if (r == 6)
                continue;
            EXPECT_GE(l[r], l[r - 1] - 1e-9 * std::abs(l[r - 1])) << "direction " << direction << " round " << r;
        }
        EXPECT_GT(l[5], l[0]) << "direction " << direction;
    }
}

TEST(WordAlignment, SentencePairsOfIdsAlignAndOverlongPairsAreLeftOut)
{
    SentencePairs pairs;
    // Latin id k is French id k, in the same order or the other.
    for (std::uint32_t a = 0; a < 4; ++a)
        for (std::uint32_t b = 0; b < 4; ++b)
            if (a != b)
                pairs.add({a, b}, (a + b) % 2 ? std::vector<std::uint32_t>{b, a} : std::vector<std::uint32_t>{a, b});
    const std::size_t trainedTokens = pairs.latin.size();
    pairs.add({2, 0, 1, 2}, {2, 0, 1, 2});
    // Two-word pairs give the diagonal more weight than the words: Model 1 alone here.
    AlignmentSettings settings;
    settings.diagonalRounds = 0;
    settings.longestSide = 3;
    settings.twoThreads = false;
    const WordAlignment a = alignSentencePairs(pairs, settings);
    ASSERT_EQ(a.latinTokens(), pairs.latin.size());
    for (std::size_t t = 0; t < trainedTokens; ++t) {
        ASSERT_GE(a.linkCount(t), 1u) << "token " << t;
        EXPECT_EQ(pairs.french[*a.linksBegin(t)], pairs.latin[t]) << "token " << t;
    }
    for (std::size_t t = trainedTokens; t < pairs.latin.size(); ++t)
        EXPECT_EQ(a.linkCount(t), 0u) << "token " << t << " of the pair longer than the longest side";
    EXPECT_EQ(a.cells(), 4 * trainedTokens / 2);
}

TEST(WordAlignment, ALatinWordMayTakeManyLinks)
{
    // One Latin word rendered by a whole sentence: every French word of the pair is linked to
    // it, many more links than the text has Latin words, on one thread and on two.
    SentencePairs pairs;
    for (std::uint32_t k = 0; k < 300; ++k) {
        std::vector<std::uint32_t> french;
        for (std::uint32_t j = 0; j < 24; ++j)
            french.push_back((k * 7 + j) % 50);
        pairs.add({k % 5}, french);
    }
    for (const bool twoThreads : {false, true}) {
        SCOPED_TRACE(twoThreads ? "two threads" : "one thread");
        AlignmentSettings settings;
        settings.twoThreads = twoThreads;
        const WordAlignment a = alignSentencePairs(pairs, settings);
        ASSERT_EQ(a.latinTokens(), pairs.size());
        std::size_t links = 0;
        for (std::size_t t = 0; t < a.latinTokens(); ++t) {
            links += a.linkCount(t);
            for (const std::uint32_t* f = a.linksBegin(t); f != a.linksEnd(t); ++f)
                ASSERT_TRUE(*f >= pairs.frenchStart[t] && *f < pairs.frenchStart[t + 1]) << "token " << t;
        }
        EXPECT_GT(links, 10 * a.latinTokens());
    }
}

std::vector<std::vector<std::uint32_t>> linksOf(const WordAlignment& a)
{
    std::vector<std::vector<std::uint32_t>> links(a.latinTokens());
    for (std::size_t t = 0; t < a.latinTokens(); ++t)
        links[t].assign(a.linksBegin(t), a.linksEnd(t));
    return links;
}

// A second run on the same texts reads the links back instead of training; anything the
// training reads (an id, a name's link, a setting) makes another entry; a damaged entry is
// trained again, never half read.
TEST(WordAlignment, KeptInTheCacheFolderAndReadBackOnlyForTheSameInput)
{
    testsupport::TempDir dir;
    const CacheFolder cache(dir.file("cache"));
    SentencePairs pairs;
    for (std::uint32_t a = 0; a < 6; ++a)
        for (std::uint32_t b = 0; b < 6; ++b)
            if (a != b)
                pairs.add({a, b, 6}, {b + 10, a + 10});
    AlignmentSettings settings;
    settings.twoThreads = false;
    bool fromCache = true;
    const WordAlignment trained = alignSentencePairs(pairs, settings, {}, cache, &fromCache);
    EXPECT_FALSE(fromCache);
    ASSERT_EQ(std::distance(std::filesystem::directory_iterator(cache.folder()), {}), 1);
    const WordAlignment again = alignSentencePairs(pairs, settings, {}, cache, &fromCache);
    EXPECT_TRUE(fromCache);
    EXPECT_EQ(linksOf(again), linksOf(trained));
    EXPECT_EQ(again.likelihoods(0), trained.likelihoods(0));
    EXPECT_EQ(again.cells(), trained.cells());
    EXPECT_EQ(linksOf(trained), linksOf(alignSentencePairs(pairs, settings, {}, CacheFolder(), &fromCache)));
    EXPECT_FALSE(fromCache) << "no folder: trained";

    struct Change {
        const char* name;
        std::function<void(SentencePairs&, AlignmentSettings&, std::vector<std::uint32_t>&)> apply;
    };
    const Change changes[] = {
        {"one French id", [](SentencePairs& p, AlignmentSettings&, std::vector<std::uint32_t>&) { p.french[3] = 11; }},
        {"one more pair", [](SentencePairs& p, AlignmentSettings&, std::vector<std::uint32_t>&) { p.add({1}, {11}); }},
        {"a round more", [](SentencePairs&, AlignmentSettings& s, std::vector<std::uint32_t>&) { ++s.model1Rounds; }},
        {"a name's link", [](SentencePairs& p, AlignmentSettings&, std::vector<std::uint32_t>& f) {
             f.assign(p.latin.size(), kNoFixedLink);
             f[0] = 1;
         }},
    };
    for (const Change& change : changes) {
        SentencePairs p = pairs;
        AlignmentSettings s = settings;
        std::vector<std::uint32_t> fixed;
        change.apply(p, s, fixed);
        const WordAlignment changed = alignSentencePairs(p, s, fixed, cache, &fromCache);
        EXPECT_FALSE(fromCache) << change.name;
        EXPECT_EQ(linksOf(changed), linksOf(alignSentencePairs(p, s, fixed))) << change.name;
    }

    // Every entry damaged in its middle: each is trained again and written whole.
    for (const auto& entry : std::filesystem::directory_iterator(cache.folder())) {
        std::fstream f(entry.path(), std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(static_cast<std::streamoff>(entry.file_size() / 2));
        f.put('\x7f');
    }
    EXPECT_EQ(linksOf(alignSentencePairs(pairs, settings, {}, cache, &fromCache)), linksOf(trained));
    EXPECT_FALSE(fromCache);
    alignSentencePairs(pairs, settings, {}, cache, &fromCache);
    EXPECT_TRUE(fromCache);

    // Bytes that are not an alignment of so many tokens, or that link past the French
    // tokens, are refused.
    const std::string bytes = trained.bytes();
    const std::size_t m = pairs.latin.size(), n = pairs.french.size();
    const std::optional<WordAlignment> back = WordAlignment::fromBytes(bytes, m, n);
    ASSERT_TRUE(back);
    EXPECT_EQ(linksOf(*back), linksOf(trained));
    EXPECT_EQ(back->likelihoods(1), trained.likelihoods(1));
    EXPECT_FALSE(WordAlignment::fromBytes(bytes, m + 1, n));
    EXPECT_FALSE(WordAlignment::fromBytes(bytes, m, 1));
    EXPECT_FALSE(WordAlignment::fromBytes(bytes.substr(0, bytes.size() - 1), m, n));
    EXPECT_FALSE(WordAlignment::fromBytes(bytes + "x", m, n));
    EXPECT_FALSE(WordAlignment::fromBytes(std::string(), m, n));
}

// The texts' renderings are the same whether the links were trained or read back.
TEST(WordAlignment, TextsAlignedFromTheCacheGiveTheSameRenderings)
{
    testsupport::TempDir dir;
    const CacheFolder cache(dir.file("cache"));
    const Pair pair = madeUpPair();
    FrenchLemmas lemmas(nullptr), again(nullptr);
    const TextAlignment first = alignTexts(pair.latin, pair.french, lemmas, nullptr, {}, &cache);
    const TextAlignment second = alignTexts(pair.latin, pair.french, again, nullptr, {}, &cache);
    EXPECT_EQ(linksOf(second.alignment()), linksOf(first.alignment()));
    EXPECT_EQ(renderingAt(pair, second, "[37]", "dixit"), "dit, a");
    EXPECT_EQ(renderingAt(pair, second, "[41]", "Marcus"), "Marc");
}

// Every Latin word's rendering, and the ranking of a few forms' equivalents, as text: what two
// alignments must agree on byte for byte.
std::string everythingRead(const Pair& pair, const TextAlignment& alignment, FrenchLemmas& lemmas)
{
    std::string out;
    for (std::size_t w = 0; w < pair.latin.size(); ++w)
        out += renderingText(alignment.renderingOf(Attestation{static_cast<WordIndex>(w), 1}), pair.french) + "|";
    for (const char* form : {"puer", "dixit", "autem", "Marcus"})
        for (const bool withFunctionWords : {false, true})
            out += equivalentsTable(ExportFormat::Tsv,
                                    findEquivalents(pair.latin, hitsOf(pair.latin, form), pair.french, lemmas,
                                                    withFunctionWords, &alignment),
                                    lemmas);
    return out;
}

// A pair aligned once is read back whole from its image in the cache folder: the French text
// is neither cut nor lemmatised, and the renderings and rankings are those of the training.
TEST(WordAlignment, TheImageOfAnAlignedPairReadsAsTheTrainedAlignment)
{
    testsupport::TempDir dir;
    const auto cache = std::make_shared<const CacheFolder>(dir.file("cache"));
    const Pair pair = madeUpPair();
    const auto texts = [&](const std::string& french) {
        auto t = std::make_unique<SearchTexts>();
        t->setLatin(pair.latin.text());
        t->setFrench(french);
        t->keepAlignmentsIn(cache);
        return t;
    };
    const auto imageFiles = [&] {
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(cache->folder()))
            if (entry.path().filename().string().rfind(std::string(kAlignmentImageKind), 0) == 0)
                files.push_back(entry.path());
        return files;
    };

    const auto trainedTexts = texts(pair.french);
    FrenchLemmas trainedLemmas(nullptr);
    const auto trained = trainedTexts->alignment(Folding::Case, trainedLemmas, nullptr);
    EXPECT_TRUE(trainedLemmas.textRead());
    ASSERT_EQ(imageFiles().size(), 1u);
    const std::string expected = everythingRead(pair, *trained, trainedLemmas);
    EXPECT_NE(expected.find("dit, a"), std::string::npos);

    struct Row {
        const char* name;
        std::function<void(FrenchLemmas&, SearchTexts&)> before;  // what the second run did first
        bool fromImage;  // else trained anew
    };
    const Row rows[] = {
        {"lemmas fresh", [](FrenchLemmas&, SearchTexts&) {}, true},
        {"lemmas that read the text", [](FrenchLemmas& l, SearchTexts& t) { l.readText(*t.table(true, Folding::Case)); },
         true},
        // Words stemmed before the text was read name lemmas in another order: trained anew.
        {"lemmas that met other words", [](FrenchLemmas& l, SearchTexts&) { l.word("zèbre"); l.word("chien"); }, false},
        {"image damaged in its middle",
         [&](FrenchLemmas&, SearchTexts&) {
             for (const std::filesystem::path& file : imageFiles()) {
                 std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary);
                 f.seekp(static_cast<std::streamoff>(std::filesystem::file_size(file) / 2));
                 f.put('\x7f');
             }
         },
         false},
        {"image cut short",
         [&](FrenchLemmas&, SearchTexts&) {
             for (const std::filesystem::path& file : imageFiles())
                 std::filesystem::resize_file(file, std::filesystem::file_size(file) - 12);
         },
         false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto again = texts(pair.french);
        FrenchLemmas lemmas(nullptr);
        row.before(lemmas, *again);
        const auto read = again->alignment(Folding::Case, lemmas, nullptr);
        // Only lemmas that read nothing before stay so: the image spared them the text.
        EXPECT_EQ(lemmas.textRead(), std::string(row.name) != "lemmas fresh");
        EXPECT_EQ(everythingRead(pair, *read, lemmas), expected);
        if (row.fromImage && !lemmas.textRead()) {
            EXPECT_FALSE(again->tableIfCut(true, Folding::Case)) << "the French text was cut";
            // Reading the text afterwards keeps the image's lemma ids.
            lemmas.readText(*again->table(true, Folding::Case));
            EXPECT_EQ(everythingRead(pair, *read, lemmas), expected);
        }
        EXPECT_EQ(imageFiles().size(), 1u);
    }

    // Another French text finds no image of its own: it is aligned, and its own image kept.
    std::string changed = pair.french;
    changed.replace(changed.find("Marc"), 4, "Marcu");
    const auto other = texts(changed);
    FrenchLemmas otherLemmas(nullptr);
    const auto otherAlignment = other->alignment(Folding::Case, otherLemmas, nullptr);
    EXPECT_TRUE(otherLemmas.textRead());
    EXPECT_EQ(renderingAt(Pair{WordTable::segment(pair.latin.text()), changed}, *otherAlignment, "[41]", "Marcus"),
              "Marcu");
    EXPECT_EQ(imageFiles().size(), 2u);

    // An image refuses texts of another size.
    const CacheFolder folder(cache->folder());
    const std::string key = alignmentImageKey(pair.latin, pair.french, trainedLemmas, nullptr);
    ASSERT_FALSE(key.empty());
    ASSERT_TRUE(folder.write(kAlignmentImageKind, key, trained->image(trainedLemmas)));
    EXPECT_EQ(imageFiles().size(), 2u) << "the texts' key names the entry their alignment wrote";
    FrenchLemmas unused(nullptr);
    EXPECT_TRUE(TextAlignment::fromImage(folder.readInPlace(kAlignmentImageKind, key), pair.latin.size(),
                                         pair.latin.referenceCount(), pair.french.size(), unused));
    for (const auto& [words, references, frenchBytes] :
         {std::tuple{pair.latin.size() + 1, pair.latin.referenceCount(), pair.french.size()},
          std::tuple{pair.latin.size(), pair.latin.referenceCount() - 1, pair.french.size()},
          std::tuple{pair.latin.size(), pair.latin.referenceCount(), std::size_t(10)}}) {
        FrenchLemmas none(nullptr);
        EXPECT_FALSE(TextAlignment::fromImage(folder.readInPlace(kAlignmentImageKind, key), words, references,
                                              frenchBytes, none));
        EXPECT_EQ(none.lemmaCount(), 0u);
    }
}

TEST(WordAlignment, NamesAreCapitalisedWordsSpeltAlike)
{
    struct Row {
        const char* name;
        const char* latin;
        const char* french;
        bool alike;
    };
    const Row rows[] = {
        {"identical", "Abraham", "Abraham", true},
        {"accent and inflection", "Jesu", "Jésus", true},
        {"inflected stem", "Salomonem", "Salomon", true},
        {"ligature folded", "Galilæam", "Galilée", true},
        {"case ending shortened", "Judam", "Juda", true},
        {"short identical words", "Et", "Et", true},
        {"translated name", "Petrus", "Pierre", false},
        {"shared beginning too short", "Quid", "Qui", false},
        {"shared beginning under half", "Dominus", "Dominateurs", false},
        {"one letter", "A", "A", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(spelledAlike(cp(row.latin), cp(row.french)), row.alike) << row.name;
}

TEST(WordAlignment, RepeatedNamesPairInOrder)
{
    const Pair pair{WordTable::segment(cp("[1] Erant autem ibi Maria Magdalene, et altera Maria, sedentes.\r\n")),
                    cp("[1] Or, Marie Madeleine et l’autre Marie étaient là, assises.\r\n")};
    FrenchLemmas lemmas(nullptr);
    const TextAlignment alignment = alignTexts(pair.latin, pair.french, lemmas, nullptr);
    const std::size_t first = pair.french.find("Marie"), second = pair.french.rfind("Marie");
    std::vector<std::size_t> found;
    for (std::size_t w = 0; w < pair.latin.size(); ++w)
        if (pair.latin.form(w) == "Maria")
            for (const TextAlignment::FrenchWord& fw : alignment.renderingOf(Attestation{WordIndex(w), 1}))
                found.push_back(fw.offset);
    EXPECT_EQ(found, (std::vector<std::size_t>{first, second}));
}

} // namespace
} // namespace quorvex

namespace quorvex {
namespace {

// The viewer marks a hit's rendering in whatever French passage its pane holds: after a
// passage step, another one, shorter or longer. Only the words standing where they stand in
// the hit's passage are marked, and a shorter pane is no fault.
TEST(WordAlignment, RenderingMarksReadAnyPaneTheViewerHolds)
{
    const WordTable latin = WordTable::segment("[1] Deus dixit. [2] Et.");
    const std::string french = "[1] Dieu a dit la parole. [2] Et.";
    const ReferencePassages passages(french, latin, {latin.referenceId(0)});
    TextAlignment::FrenchWord parole{};
    parole.offset = std::uint32_t(french.find("parole"));
    parole.length = 6;
    const std::vector<TextAlignment::FrenchWord> words{parole};
    const std::string own = "[1] Dieu a dit la parole. ";
    const std::vector<MarkRange> marks = renderingMarks(words, passages, latin.referenceId(0), french, own);
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(own.substr(marks[0].start, marks[0].length), "parole");
    EXPECT_TRUE(renderingMarks(words, passages, latin.referenceId(0), french, "[2] Et.").empty());
    EXPECT_TRUE(renderingMarks(words, passages, latin.referenceId(0), french, "").empty());
}

} // namespace
} // namespace quorvex

namespace quorvex {
namespace {

// Pairs enough for several of the training's looks at its progress: word k renders as k + 100,
// in an order that changes from pair to pair, and now and then a word with nothing in front.
SentencePairs manyPairs(std::size_t count)
{
    SentencePairs pairs;
    std::uint32_t state = 12345;
    const auto next = [&state](std::uint32_t below) {
        state = state * 1103515245u + 12345u;
        return (state >> 16) % below;
    };
    for (std::size_t k = 0; k < count; ++k) {
        std::vector<std::uint32_t> latin, french;
        const std::uint32_t words = 2 + next(8);
        for (std::uint32_t w = 0; w < words; ++w)
            latin.push_back(next(60));
        for (const std::uint32_t id : latin)
            french.push_back(id + 100);
        if (next(2))
            std::reverse(french.begin(), french.end());
        if (next(4) == 0)
            french.push_back(200 + next(5));
        pairs.add(latin, french);
    }
    return pairs;
}

// The training tells how far it is on the thread that asked, steps rising to a total that
// stays put, and stops on a "no" with AlignmentStopped; two threads link as one does.
TEST(WordAlignment, TellsItsProgressStopsWhenToldAndLinksAlikeOnOneThreadOrTwo)
{
    const SentencePairs pairs = manyPairs(5000);
    AlignmentSettings one;
    one.twoThreads = false;
    AlignmentSettings two;
    two.twoThreads = true;
    const WordAlignment alone = alignSentencePairs(pairs, one);
    EXPECT_EQ(linksOf(alignSentencePairs(pairs, two)), linksOf(alone));

    struct Row {
        const char* name;
        AlignmentSettings settings;
    };
    for (const Row& row : {Row{"one thread", one}, Row{"two threads", two}}) {
        SCOPED_TRACE(row.name);
        const std::thread::id caller = std::this_thread::get_id();
        std::vector<std::uint64_t> done;
        std::uint64_t total = 0;
        bool otherThread = false;
        const WordAlignment told = alignSentencePairs(pairs, row.settings, {}, [&](std::uint64_t d, std::uint64_t t) {
            otherThread = otherThread || std::this_thread::get_id() != caller;
            if (done.empty())
                total = t;
            EXPECT_EQ(t, total);
            done.push_back(d);
            return true;
        });
        EXPECT_FALSE(otherThread);
        EXPECT_EQ(linksOf(told), linksOf(alone));
        ASSERT_GT(done.size(), 20u);
        EXPECT_TRUE(std::is_sorted(done.begin(), done.end()));
        EXPECT_LE(done.back(), total);
        EXPECT_GT(done.back(), total * 9 / 10);

        // Stopped in the middle of the training, or at its last look.
        for (const std::size_t stopAt : {std::size_t(3), done.size()}) {
            std::size_t calls = 0;
            EXPECT_THROW(alignSentencePairs(pairs, row.settings, {},
                                            [&](std::uint64_t, std::uint64_t) { return ++calls < stopAt; }),
                         AlignmentStopped);
            EXPECT_EQ(calls, stopAt);
        }
    }
}

} // namespace
} // namespace quorvex
