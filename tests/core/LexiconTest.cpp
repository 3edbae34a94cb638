// The lexicon reader and its analysis over a small lexicon written here in the data files'
// own format, holding each of the format's traps once.

#include "concordance/Collocates.h"
#include "concordance/TextLemmata.h"
#include "lexicon/LatinSpelling.h"
#include "lexicon/Lexicon.h"
#include "system/CacheFolder.h"

#include "support/LexiconComparison.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

using namespace quorvex::lexicon;
using quorvex::CacheFolder;
using quorvex::testsupport::TempDir;

namespace {

const char* const kModels = R"(! models of the test lexicon
$lupus=ŭs;ĕ;ŭm;ī;ō;ō;ī;ī;ōs;ōrŭm;īs;īs

modele:inv
R:0:0,0
des:416:0:-

modele:lupus
R:1:2,0
des:1-12:1:$lupus
pos:n

modele:deus
pere:lupus
R:2:3,0
des:2:1:ŭs
des+:7,8:2:ĭī,ī

modele:liberi
pere:lupus
R:1:1,0
abs:1-6

modele:lego
R:0:1,0
R:1:1,āv
R:2:1,āt
des:121-126:0:ō̆;ĭs;ĭt;ĭmŭs;ĭtĭs;ūnt
des:139-144:1:ī;īstī;ĭt;ĭmŭs;īstĭs;ērūnt,ērĕ
des:181:0:ĕ
des:187:0:ĕrĕ
des:303-305:2:ŭs;ŭm
pos:v

modele:amo
pere:lego
des:121-126:0:ō̆;ās;ăt;āmŭs;ātĭs;ānt

modele:dico
pere:lego
des+:181:0:-

modele:facio
pere:lego
R:0:2,0
des:181:0:
foo:bar

modele:edo
pere:lego
R:3:3,0
des+:123:3:ēst

modele:sum
R:0:2,0
R:1:-
R:2:3,0
des:121:0:ŭm
des:122,123:2:ĕs;ēst
des:139-141:1:ī;īstī;ĭt
des:187:2:ēssĕ
)";

// Line numbers matter: the malformed lines are lines 7 and 8.
const char* const kLemmata = "! lemmata of the test lexicon\n"
                             "ā|inv|||prép.|5874\n"
                             "ĭtă|inv|||adv.|900\n"
                             "ĭtăque|inv|||adv.|500\n"
                             "dĕus|deus|||i, m.|2679\n"
                             "lībĕri|liberi|||orum, m.|300\n"
                             "bad(ly|lupus|||i, m.|1\n"
                             "lupa|lupus|||ae, f.\n"
                             "lupus|lupus|||i, m.|100\n"
                             "ămo|amo|||as, are|809\n"
                             "dīco2|dico|dīx|dīct|is, ere, dixi, dictum|7210\n"
                             "dĭco|amo|||as, are|42\n"
                             "fĕro|lego|tŭl|lāt|fers, ferre, tuli, latum|3111\n"
                             "făcĭo|facio|fēc|fāct|is, ere, feci, factum|5766\n"
                             "ĕdo|edo|ēd|ēs|edis, esse, edi, esum|99\n"
                             "ēdo2|lego|ēdĭd|ēdĭt|is, ere, edidi, editum|310\n"
                             "sŭm|sum|fŭ||es, esse, fui|40916\n"
                             "accēdo=āccēdo|lego|āccēss|āccēss|is, ere|200\n"
                             "hўmnus|lupus|||i, m.|10\n"
                             "Sȳrus|lupus|||i, m.|5\n"
                             "mụrus|lupus|||i, m.|20\n"
                             "Dänus|lupus|||i, m.|3\n"
                             "Boëthus|lupus|||i, m.|3\n"
                             "Arïus|lupus|||i, m.|3\n"
                             "lo\xCC\x84" "cus|lupus|||i, m.|30\n"
                             "mo\xCC\x86" "dus|lupus|||i, m.|40\n"
                             "\xD1\x96ustus|lupus|||i, m.|50\n"
                             "\xD1\x95ocius|lupus|||i, m.|60\n"
                             "pŏpŭlus|lupus|||i, m.|70\n"
                             "pōpŭlus2|lupus|||i, f.|70\n";

const char* const kIrregulars = "!  format :forme:lemme:morphos\n"
                                "dīvŭm:deus:10\n"
                                "ēssĕ*:edo:187\n"
                                "ēs*:edo:181\n"
                                "lātŭd*:fero:304\n";
const char* const kAssimilations = "!  assimilations\nādc:ācc\n";
const char* const kContractions = "!  contractions\narunt:averunt\n";
const char* const kGlosses = "! glosses\nFrançais\nedo:manger\nedo2:publier\ndeus:dieu\n";

class SmallLexicon : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir.write("modeles.la", kModels);
        m_dir.write("lemmes.la", kLemmata);
        m_dir.write("irregs.la", kIrregulars);
        m_dir.write("assimilations.la", kAssimilations);
        m_dir.write("contractions.la", kContractions);
        m_dir.write("lemmes.fr", kGlosses);
        m_lexicon = Lexicon::load(m_dir.file(""), false, m_failure, m_malformed);
        ASSERT_FALSE(m_failure) << describeProblem(m_failure);
    }

    std::string analysed(const std::string& form) const
    {
        std::vector<LemmaId> ids;
        m_lexicon.analyse(form, ids);
        return m_lexicon.spellings(ids);
    }

    TempDir m_dir;
    Lexicon m_lexicon;
    LexiconProblem m_failure;
    std::vector<LexiconProblem> m_malformed;
};

TEST_F(SmallLexicon, EachFormFindsItsLemmataByEveryRoute)
{
    struct Row {
        const char* name;
        const char* form;
        const char* lemmata;  // as the lemmata column writes them
    };
    const Row rows[] = {
        {"regular model", "lupum", "lupus"},
        {"inherited endings kept", "deorum", "deus"},
        {"des replaces the parent's ending", "dee", ""},
        {"des+ adds to the parent's ending", "dii", "deus"},
        {"des+ keeps the parent's ending too", "dei", "deus"},
        {"abs removes inherited morphologies", "liberus", ""},
        {"what abs leaves stays", "liberorum", "liberi"},
        {"root field overrides R line (perfect)", "tulit", "fero"},
        {"root field overrides R line (supine)", "latus", "fero"},
        {"overridden R line gives nothing", "feravit", ""},
        {"root given only by the lemma", "fuit", "sum"},
        {"root field of a homograph", "dixit", "dico2"},
        {"comma alternatives, first", "dixerunt", "dico2"},
        {"comma alternatives, second", "dixere", "dico2"},
        {"empty ending field is the empty ending", "fac", "facio"},
        {"des for the imperative replaces it", "face", ""},
        {"des+ with '-' adds the empty ending", "dic", "dico2"},
        {"des+ keeps the inherited imperative", "dice", "dico2, dico"},
        {"short list repeats its last ending", "latum", "fero"},
        {"exclusive irregular of one morphology", "latud", "fero"},
        {"form of two lemmata, most frequent first", "est", "sum, edo"},
        {"irregular form", "diuum", "deus"},
        {"exclusive irregular form", "esse", "sum, edo"},
        {"exclusive irregular removes the regular form", "ede", "edo2"},
        {"exclusive irregular form of two lemmata", "es", "sum, edo"},
        {"first homograph's model", "dicit", "dico2"},
        {"second homograph of another model", "dicat", "dico"},
        {"assimilated prefix restored", "adcedit", "accedo"},
        {"assimilated spelling itself", "accedit", "accedo"},
        {"contracted ending restored", "amarunt", "amo"},
        {"full ending", "amauerunt", "amo"},
        {"enclitic -que", "deumque", "deus"},
        {"enclitic -ne", "fuitne", "sum"},
        {"enclitic -ue (-ve folded)", "deoue", "deus"},
        {"known whole word keeps its enclitic", "itaque", "itaque"},
        {"rest of one letter is no word", "aque", ""},
        {"nothing to find", "xyzzy", ""},
        {"breve precomposed, and macron", "amo", "amo"},
        {"y with Cyrillic breve", "hymnum", "hymnus"},
        {"y with macron", "syri", "Syrus"},
        {"u with dot below", "murum", "murus"},
        {"a with diaeresis", "danos", "Danus"},
        {"e with diaeresis", "boethi", "Boethus"},
        {"i with diaeresis", "ario", "Arius"},
        {"combining macron", "locum", "locus"},
        {"combining breve", "modi", "modus"},
        {"Cyrillic i", "iusto", "iustus"},
        {"Cyrillic s", "socium", "socius"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(analysed(row.form), row.lemmata) << row.name;
}

TEST_F(SmallLexicon, MalformedLinesAreReportedWithFileAndLineAndTheRestIsRead)
{
    ASSERT_EQ(m_malformed.size(), 3u);
    std::vector<std::string> where;
    for (const LexiconProblem& p : m_malformed) {
        EXPECT_EQ(p.kind, ProblemKind::MalformedLine);
        where.push_back(std::filesystem::path(p.file).filename().string() + ":"
                        + std::to_string(p.line));
    }
    EXPECT_EQ(where, (std::vector<std::string>{"modeles.la:47", "lemmes.la:7", "lemmes.la:8"}));
    EXPECT_NE(describeProblem(m_malformed[1]).find("lemmes.la:7: ligne mal formée"),
              std::string::npos);
    EXPECT_NE(describeProblem(m_malformed[1]).find("« ( »"), std::string::npos);
    // The lines after them were read.
    EXPECT_EQ(analysed("amo"), "amo");
    EXPECT_EQ(analysed("fac"), "facio");
}

TEST_F(SmallLexicon, NamesDesignateHomographsAsTheLexiconNumbersThem)
{
    struct Row {
        const char* name;
        const char* typed;
        const char* lemmata;
    };
    const Row rows[] = {
        {"bare name takes every homograph", "edo", "edo, edo2"},
        {"digit 1 is the unnumbered one", "edo1", "edo"},
        {"digit 2 the second", "edo2", "edo2"},
        {"numbered one written first in the file", "dico1", "dico"},
        {"no third homograph", "edo3", ""},
        {"capital and quantity marks", "Dĕus", "deus"},
        {"v for u", "Deus", "deus"},
        {"j and v folded", "lïberi", "liberi"},
        {"not a lemma", "lupa", ""},
        {"star is no lemma", "lup*", ""},
        {"empty", "", ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(m_lexicon.spellings(m_lexicon.lemmataNamed(row.typed)), row.lemmata) << row.name;

    const std::vector<LemmaId> edo = m_lexicon.lemmataNamed("edo");
    ASSERT_EQ(edo.size(), 2u);
    EXPECT_EQ(m_lexicon.lemma(edo[0]).gloss, "manger");
    EXPECT_EQ(m_lexicon.lemma(edo[1]).gloss, "publier");
    EXPECT_EQ(m_lexicon.lemma(edo[1]).homograph, 2);
    EXPECT_EQ(m_lexicon.lemma(edo[0]).frequency, 99u);
}

TEST_F(SmallLexicon, NeighboursAreTheNearestSpellingsThenTheMostFrequent)
{
    EXPECT_EQ(m_lexicon.spellings(m_lexicon.neighbours("fero", 5)), "fero");
    // At distance 1 from "edi": edo and edo2 (the more frequent first).
    EXPECT_EQ(m_lexicon.spellings(m_lexicon.neighbours("edi", 5)), "edo2, edo");
    EXPECT_EQ(m_lexicon.neighbours("edi", 1).size(), 1u);
    EXPECT_TRUE(m_lexicon.knowsForm("itaque"));
    EXPECT_FALSE(m_lexicon.knowsForm("deumque"));
}

TEST_F(SmallLexicon, TheTextsFormsAreAnalysedOncePerFoldedFormAndFoundByLemma)
{
    const quorvex::WordTable words = quorvex::WordTable::segment(
        "[1] Deus dixit. [2] DEVS deumque, itaque est; \xE6ternum est Deus", quorvex::LetterSet::Extended);
    const quorvex::TextLemmata t = quorvex::TextLemmata::build(words, m_lexicon);
    // deus (three spellings), dixit, deumque, itaque, est, aeternum.
    EXPECT_EQ(t.typeCount(), 6u);
    EXPECT_EQ(t.typeOf(0), t.typeOf(2));
    EXPECT_EQ(t.typeOf(0), t.typeOf(8));
    EXPECT_EQ(t.typeForm(t.typeOf(6)), "aeternum");
    EXPECT_EQ(t.typeFrequency(t.typeOf(5)), 2u);
    EXPECT_TRUE(t.candidates(t.typeOf(6)).empty());
    EXPECT_EQ(t.explainedWords(), 8u);
    EXPECT_EQ(t.findType("aeternum"), t.typeOf(6));
    EXPECT_EQ(t.findType("ternum"), quorvex::TextLemmata::npos);

    EXPECT_EQ(t.wordsOf(t.typesOf(m_lexicon.lemmataNamed("Deus"), false)),
              (quorvex::ResultList{{0, 1}, {2, 1}, {3, 1}, {8, 1}}));
    EXPECT_EQ(t.wordsOf(t.typesOf(m_lexicon.lemmataNamed("edo"), false)), (quorvex::ResultList{{5, 1}, {7, 1}}));
    EXPECT_TRUE(t.typesOf(m_lexicon.lemmataNamed("edo"), true).empty()) << "est goes to sum";
    EXPECT_EQ(t.wordsOf(t.typesOf(m_lexicon.lemmataNamed("sum"), true)), (quorvex::ResultList{{5, 1}, {7, 1}}));
    EXPECT_TRUE(t.typesOf(m_lexicon.lemmataNamed("ita"), false).empty()) << "itaque is a word";

    const quorvex::WordTable empty = quorvex::WordTable::segment("", quorvex::LetterSet::Extended);
    const quorvex::TextLemmata none = quorvex::TextLemmata::build(empty, m_lexicon);
    EXPECT_EQ(none.typeCount(), 0u);
    EXPECT_TRUE(none.wordsOf(none.typesOf(m_lexicon.lemmataNamed("sum"), false)).empty());
}

TEST_F(SmallLexicon, CollocatesByLemmaCountEachWordUnderItsMostFrequentLemma)
{
    struct Row {
        const char* name;
        const char* text;
        const char* node;
        std::size_t window;
        std::map<std::string, std::pair<std::size_t, std::size_t>> expected;  // key: O, f(c)
    };
    const Row rows[] = {
        {"forms of one lemma gather under it", "lupus amat deum lupi amant deos", "amo", 1,
         {{"lupus", {2, 2}}, {"deus", {2, 2}}}},
        {"ambiguous form under its most frequent candidate", "est amat dice", "amo", 1,
         {{"sum", {1, 1}}, {"dico2", {1, 1}}}},
        {"equal frequencies go to the first in the lexicon", "populi amat populo", "amo", 1,
         {{"populus", {2, 2}}}},
        {"unknown word under its folded form", "Isra\xEBl amat ISRAEL", "amo", 1,
         {{"israel", {2, 2}}}},
        {"enclitic taken off", "deumque amat", "amo", 1, {{"deus", {1, 1}}}},
        {"known word keeps its enclitic", "itaque amat", "amo", 1, {{"itaque", {1, 1}}}},
        {"the node's other forms count under its lemma", "amo amat deus", "amo", 2,
         {{"amo", {2, 2}}, {"deus", {2, 1}}}},
        {"window reaches past the nearest word", "deus est amat lupus", "amo", 2,
         {{"deus", {1, 1}}, {"sum", {1, 1}}, {"lupus", {1, 1}}}},
    };
    for (const Row& row : rows) {
        const quorvex::WordTable words = quorvex::WordTable::segment(row.text, quorvex::LetterSet::Extended);
        const quorvex::TextLemmata lemmata = quorvex::TextLemmata::build(words, m_lexicon);
        const quorvex::ResultList spans =
            lemmata.wordsOf(lemmata.typesOf(m_lexicon.lemmataNamed(row.node), false));
        const quorvex::CollocateKeys keys = quorvex::lemmaKeys(words, lemmata, m_lexicon);
        EXPECT_TRUE(keys.utf8) << row.name;
        std::map<std::string, std::pair<std::size_t, std::size_t>> got;
        for (const quorvex::Collocate& c : quorvex::findCollocates(words, spans, row.window, keys))
            got[c.form] = {c.cooccurrences, c.frequency};
        EXPECT_EQ(got, row.expected) << row.name;
    }
}

namespace {

// Forms that take every route of the analysis in the small lexicon, and some that take none.
const std::vector<std::string> kImageForms = {
    "deus", "dei", "deo", "deum", "dii", "di", "diuum", "liberi", "liberos", "lupus", "lupa", "lupe",
    "lupi", "lupos", "amo", "amas", "amat", "amant", "dico", "dicis", "dicit", "dixi", "dixisti",
    "dixerunt", "dixere", "dictus", "dictum", "dicere", "fero", "tuli", "latus", "latud", "facio",
    "feci", "factus", "edo", "edis", "edit", "est", "es", "esse", "edidi", "editus", "sum", "fui",
    "fuisti", "accedo", "adcedo", "accessi", "amarunt", "ita", "itaque", "a", "hymnus", "syrus",
    "locus", "modus", "iustus", "socius", "populus", "deusque", "lupumque", "amatne", "michi", "xyz"};

// The cache's one entry file.
std::filesystem::path onlyEntry(const std::string& folder)
{
    std::vector<std::filesystem::path> entries;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        entries.push_back(e.path());
    return entries.size() == 1 ? entries.front() : std::filesystem::path();
}

std::string fileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void setFileBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

} // namespace

TEST_F(SmallLexicon, ItsImageInTheCacheReadsAsTheFilesDo)
{
    TempDir cacheDir;
    const CacheFolder cache(std::filesystem::u8path(cacheDir.file("cache")));
    for (const bool extension : {false, true}) {
        SCOPED_TRACE(extension ? "with the extension" : "without it");
        if (extension) {
            m_dir.write("lem_ext.la", "!ext\nlupus|lupus|||i|1\nMarcus|lupus|||i|1\nbad|none|||x|1\n");
            m_dir.write("lem_ext.fr", "lupus:autre\nMarcus:Marc\n");
        }
        LexiconProblem failure;
        std::vector<LexiconProblem> parsedLines, writtenLines, readLines;
        const Lexicon parsed = Lexicon::load(m_dir.file(""), extension, failure, parsedLines);
        ASSERT_FALSE(failure);
        Lexicon::ImageUse use = Lexicon::ImageUse::None;
        const Lexicon written = Lexicon::load(m_dir.file(""), extension, failure, writtenLines, cache, &use);
        EXPECT_EQ(use, Lexicon::ImageUse::Written);
        const Lexicon read = Lexicon::load(m_dir.file(""), extension, failure, readLines, cache, &use);
        EXPECT_EQ(use, Lexicon::ImageUse::Read) << "the files and the program are the same";
        for (const Lexicon* lexicon : {&written, &read}) {
            EXPECT_TRUE(quorvex::testsupport::sameLemmata(parsed, *lexicon));
            EXPECT_TRUE(quorvex::testsupport::sameAnswers(parsed, *lexicon, kImageForms));
        }
        // The unreadable lines are said from the image as from the files, with their file and line.
        for (const std::vector<LexiconProblem>* lines : {&writtenLines, &readLines}) {
            ASSERT_EQ(lines->size(), parsedLines.size());
            for (std::size_t i = 0; i < lines->size(); ++i)
                EXPECT_EQ(describeProblem((*lines)[i]), describeProblem(parsedLines[i]));
        }
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(cacheDir.file("cache")), {}), 2)
        << "one image with the extension, one without";
}

TEST_F(SmallLexicon, AStaleOrDamagedImageIsIgnoredAndWrittenAgain)
{
    TempDir cacheDir;
    const CacheFolder cache(std::filesystem::u8path(cacheDir.file("cache")));
    LexiconProblem failure;
    std::vector<LexiconProblem> lines;
    Lexicon::ImageUse use = Lexicon::ImageUse::None;
    Lexicon::load(m_dir.file(""), false, failure, lines, cache, &use);
    ASSERT_EQ(use, Lexicon::ImageUse::Written);
    const std::filesystem::path entry = onlyEntry(cacheDir.file("cache"));
    ASSERT_FALSE(entry.empty());
    const std::string good = fileBytes(entry);

    struct Row {
        const char* name;
        std::string bytes;
    };
    std::string flipped = good;
    flipped[flipped.size() / 2] ^= 0x20;
    const Row rows[] = {
        {"a byte changed", flipped},
        {"cut short", good.substr(0, good.size() - 100)},
        {"cut to its head", good.substr(0, 40)},
        {"empty", ""},
        {"noise", std::string(good.size(), '\xA5')},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        setFileBytes(entry, row.bytes);
        const Lexicon again = Lexicon::load(m_dir.file(""), false, failure, lines, cache, &use);
        EXPECT_EQ(use, Lexicon::ImageUse::Written);
        EXPECT_TRUE(quorvex::testsupport::sameLemmata(m_lexicon, again));
        EXPECT_TRUE(quorvex::testsupport::sameAnswers(m_lexicon, again, kImageForms));
        EXPECT_EQ(fileBytes(entry), good) << "the image is whole again";
    }

    // A data file changed without a change of size or time: its content is in the key.
    const std::string glosses = m_dir.file("lemmes.fr");
    const auto time = std::filesystem::last_write_time(std::filesystem::u8path(glosses));
    std::string changed = kGlosses;
    changed.replace(changed.find("manger"), 6, "avaler");
    m_dir.write("lemmes.fr", changed);
    std::filesystem::last_write_time(std::filesystem::u8path(glosses), time);
    const Lexicon fresh = Lexicon::load(m_dir.file(""), false, failure, lines, cache, &use);
    EXPECT_EQ(use, Lexicon::ImageUse::Written);
    const std::vector<LemmaId> edo = fresh.lemmataNamed("edo");
    ASSERT_FALSE(edo.empty());
    EXPECT_EQ(fresh.lemma(edo[0]).gloss, "avaler");
}

TEST_F(SmallLexicon, AnImageDamagedWithinItsSealNeverLeadsALookupAstray)
{
    // Damage the cache's own check cannot see (the entry sealed again around it): the image's
    // indices are checked, so the lexicon is read from the files or the image answers
    // within its arrays. Run under the address sanitizer, this finds any read outside them.
    TempDir cacheDir;
    const CacheFolder cache(std::filesystem::u8path(cacheDir.file("cache")));
    LexiconProblem failure;
    std::vector<LexiconProblem> lines;
    Lexicon::load(m_dir.file(""), false, failure, lines, cache);
    const std::filesystem::path entry = onlyEntry(cacheDir.file("cache"));
    ASSERT_FALSE(entry.empty());
    const std::string good = fileBytes(entry);
    // The entry: 16 bytes of magic, the key's length, the key padded to 8, the payload's
    // length, the payload, its hash.
    std::uint64_t keyLength = 0;
    std::memcpy(&keyLength, good.data() + 16, 8);
    const std::size_t payloadAt = 16 + 8 + static_cast<std::size_t>((keyLength + 7) / 8 * 8) + 8;
    ASSERT_LT(payloadAt + 8, good.size());
    const std::size_t payloadSize = good.size() - payloadAt - 8;
    std::size_t readBack = 0, refused = 0;
    // About 150 places spread over every block, each hit two ways.
    const std::size_t step = payloadSize / 150 | 1;
    for (std::size_t at = payloadAt; at < payloadAt + payloadSize; at += step) {
        for (const unsigned char mask : {0x01, 0xFF}) {
            std::string bytes = good;
            bytes[at] = static_cast<char>(static_cast<unsigned char>(bytes[at]) ^ mask);
            const std::uint64_t hash = quorvex::contentHash(std::string_view(bytes).substr(payloadAt, payloadSize));
            std::memcpy(&bytes[payloadAt + payloadSize], &hash, 8);
            setFileBytes(entry, bytes);
            Lexicon::ImageUse use = Lexicon::ImageUse::None;
            const Lexicon damaged = Lexicon::load(m_dir.file(""), false, failure, lines, cache, &use);
            if (use == Lexicon::ImageUse::Read) {
                ++readBack;
                std::vector<LemmaId> ids;
                for (const std::string& form : kImageForms) {
                    damaged.analyse(form, ids);
                    damaged.analyses(form);
                    damaged.lemmataNamed(form);
                }
                for (LemmaId id = 0; id < damaged.lemmaCount(); ++id)
                    damaged.spellings({id});
            } else {
                ++refused;
                EXPECT_TRUE(quorvex::testsupport::sameAnswers(m_lexicon, damaged, kImageForms)) << at;
            }
        }
    }
    EXPECT_GT(refused, 0u);
    EXPECT_GT(readBack, 0u) << "a changed letter of a gloss is no damage the image can see";
}

TEST_F(SmallLexicon, ACacheThatCannotBeWrittenIsNoCache)
{
    TempDir cacheDir;
    const std::string plainFile = cacheDir.write("plain", "x");
    struct Row {
        const char* name;
        CacheFolder cache;
    };
    const Row rows[] = {
        {"none (--no-cache)", CacheFolder()},
        {"a regular file", CacheFolder(std::filesystem::u8path(plainFile))},
        {"under a regular file", CacheFolder(std::filesystem::u8path(plainFile) / "cache")},
        {"a folder of the system that takes no file", CacheFolder(std::filesystem::path("/proc/quorvex-cache"))},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        for (int run = 0; run < 2; ++run) {
            LexiconProblem failure;
            std::vector<LexiconProblem> lines;
            Lexicon::ImageUse use = Lexicon::ImageUse::Read;
            const Lexicon lexicon = Lexicon::load(m_dir.file(""), false, failure, lines, row.cache, &use);
            EXPECT_FALSE(failure) << describeProblem(failure);
            EXPECT_EQ(use, Lexicon::ImageUse::None);
            EXPECT_TRUE(quorvex::testsupport::sameAnswers(m_lexicon, lexicon, kImageForms));
            EXPECT_EQ(lines.size(), m_malformed.size());
        }
    }
    EXPECT_EQ(fileBytes(std::filesystem::u8path(plainFile)), "x");

    // A read-only folder: read, never written (a superuser writes anyway: nothing to see).
    const std::filesystem::path readOnly = std::filesystem::u8path(cacheDir.file("read-only"));
    std::filesystem::create_directory(readOnly);
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    if (std::ofstream(readOnly / "probe")) {
        std::filesystem::remove(readOnly / "probe");
    } else {
        LexiconProblem failure;
        std::vector<LexiconProblem> lines;
        Lexicon::ImageUse use = Lexicon::ImageUse::Read;
        const Lexicon lexicon = Lexicon::load(m_dir.file(""), false, failure, lines, CacheFolder(readOnly), &use);
        EXPECT_EQ(use, Lexicon::ImageUse::None);
        EXPECT_TRUE(quorvex::testsupport::sameAnswers(m_lexicon, lexicon, kImageForms));
    }
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_all);
}

TEST(LexiconFiles, AMissingOrUnreadableFileStopsTheReadingWithItsName)
{
    TempDir dir;
    LexiconProblem failure;
    std::vector<LexiconProblem> malformed;
    Lexicon lexicon = Lexicon::load(dir.file("absent"), false, failure, malformed);
    EXPECT_EQ(failure.kind, ProblemKind::MissingFile);
    EXPECT_NE(failure.file.find("modeles.la"), std::string::npos);
    EXPECT_EQ(lexicon.lemmaCount(), 0u);

    for (const char* name : {"modeles.la", "lemmes.la", "irregs.la", "assimilations.la",
                             "contractions.la", "lemmes.fr"})
        dir.write(name, "");
    lexicon = Lexicon::load(dir.file(""), true, failure, malformed);
    EXPECT_EQ(failure.kind, ProblemKind::MissingFile) << "the extension was asked for";
    EXPECT_NE(failure.file.find("lem_ext.la"), std::string::npos);
    lexicon = Lexicon::load(dir.file(""), false, failure, malformed);
    EXPECT_FALSE(failure) << describeProblem(failure);

    std::filesystem::remove(dir.file("lemmes.la"));
    std::filesystem::create_directory(dir.file("lemmes.la"));
    lexicon = Lexicon::load(dir.file(""), false, failure, malformed);
    EXPECT_EQ(failure.kind, ProblemKind::UnreadableFile);
    EXPECT_EQ(describeProblem(failure).rfind("Le fichier du lexique « " + dir.file("lemmes.la")
                                                 + " » ne peut pas être lu : ",
                                             0),
              0u)
        << describeProblem(failure);
}

TEST(LexiconFiles, TheExtensionAddsLemmataAndKeepsTheMainOnes)
{
    LexiconTexts texts;
    texts.models = "modele:lupus\nR:1:2,0\ndes:1-4:1:ŭs;ĕ;ŭm;ī\n";
    texts.lemmata = "lupus|lupus|||i|10\n";
    texts.glosses = "lupus:loup\n";
    texts.extensionLemmata = "!ext\nlupus|lupus|||i|1\nMarcus|lupus|||i|1\n";
    texts.extensionGlosses = "lupus:autre\nMarcus:Marc\n";
    std::vector<LexiconProblem> malformed;
    const Lexicon lexicon = Lexicon::parse(texts, malformed);
    EXPECT_TRUE(malformed.empty());
    ASSERT_EQ(lexicon.lemmaCount(), 2u);
    EXPECT_EQ(lexicon.lemma(0).gloss, "loup");
    EXPECT_EQ(lexicon.lemma(1).gloss, "Marc");
    std::vector<LemmaId> ids;
    lexicon.analyse("marcum", ids);
    EXPECT_EQ(lexicon.spellings(ids), "Marcus");
}

TEST(LatinSpelling, FoldsEveryQuantityMarkAndRefusesOtherCharacters)
{
    struct Row {
        const char* name;
        const char* utf8;
        const char* folded;  // nullptr: refused
    };
    const Row rows[] = {
        {"macron and breve", "ămō", "amo"},
        {"capitals", "ĀĂĒĔĪĬŌŎŪŬ", "aaeeiioouu"},
        {"combining marks", "a\xCC\x84o\xCC\x86", "ao"},
        {"macron then breve", "ī̆ŭs", "ius"},
        {"y forms", "ўȳЎȲ", "yyyy"},
        {"u dot below", "ụỤ", "uu"},
        {"diaeresis", "äëïÄËÏ", "aeiaei"},
        {"ligatures", "æœÆŒ", "aeoeaeoe"},
        {"j and v", "JjVv", "iiuu"},
        {"Cyrillic look-alikes", "іѕІЅ", "isis"},
        {"accents", "éèçñ", "eecn"},
        {"digit", "edo2", nullptr},
        {"blank", "a b", nullptr},
        {"Greek", "λόγος", nullptr},
        {"broken UTF-8", "a\xC3", nullptr},
    };
    for (const Row& row : rows) {
        const FoldedSpelling f = foldSpelling(row.utf8);
        if (row.folded == nullptr) {
            EXPECT_FALSE(f.ok) << row.name;
        } else {
            EXPECT_TRUE(f.ok) << row.name;
            EXPECT_EQ(f.letters, row.folded) << row.name;
        }
    }
    EXPECT_EQ(withoutQuantities("Ăbās2"), "Abas2");
    EXPECT_EQ(withoutQuantities("jūs"), "jus");
    EXPECT_EQ(withoutQuantities("i\xCC\x84\xCC\x86" "a"), "ia");
}

} // namespace
