#include "CliHarness.h"

#include "translation/Stemmer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace quorvex {
namespace {

using namespace testsupport;

// Windows-1252. deus: [1] [2] [3] in both texts, [7] Latin only; [8] French only. The written
// dictionary gives "dit" two lemmas and knows "cœur".
const std::vector<std::pair<std::string, std::string>> kTexts = {
    {"latin.txt", "[1] deus amat\r\n[2] deus videt\r\n[3] deus dicit\r\n[4] homo amat\r\n"
                  "[5] homo videt\r\n[6] homo dicit et\r\n[7] deus venit\r\n"},
    {"francais.txt", "[1] Dieu aime\r\n[2] Dieu voit le c\x9Cur\r\n[3] le Seigneur dit\r\n"
                     "[4] l'homme aime\r\n[5] l'homme voit Dieu\r\n[6] l'homme dit et\r\n"
                     "[8] Dieu vient\r\n"},
    {"mini.aff", "SET UTF-8\nSFX A Y 1\nSFX A re t re\n"},
    {"mini.dic", "4\ndire/A\ndit\ncœur\ndieu\n"},
    {"sans-aff.dic", "1\nmot\n"},
    // lux: lumière renders [1] and [2], "la nuit" [3]; [6] has no French; [7] a French passage
    // without a word.
    {"eq-la.txt", "[1] lux [2] lux [3] lux [4] nox [5] nox [6] lux [7] lux"},
    {"eq-fr.txt", "[1] lumi\xE8re [2] Lumi\xE8re [3] la nuit [4] nuit [5] nuit [7] ..."},
};

const std::string kHeader = "french\taligned\tshare\tpassages\tfrequency\tlog_likelihood\tdice\n";
const std::string kUntranslated = "(non traduit)\t0\t0.0\t\t\t\t\n";

struct TranslationsCase {
    const char* name;
    std::vector<std::string> args;
    int code;
    std::string out;     // exact standard output
    std::string errHas;  // part of standard error; "" for nothing at all
    bool needsHunspell = false;
};

class Translations : public ::testing::TestWithParam<TranslationsCase> {};

TEST_P(Translations, RankTheFrenchLemmasOrSayWhatIsWrong)
{
    const TranslationsCase& c = GetParam();
    if (c.needsHunspell && !hunspellBuiltIn())
        GTEST_SKIP() << "built without Hunspell";
    const CliHarness cli(kTexts);
    // A row that names the texts itself is run as it stands.
    std::vector<std::string> args = {"--latin", "{latin.txt}", "--french", "{francais.txt}"};
    if (c.args.front() == "--latin")
        args.clear();
    args.insert(args.end(), c.args.begin(), c.args.end());
    const CliOutcome r = cli.run(args);
    EXPECT_EQ(r.code, c.code) << r.err;
    EXPECT_EQ(r.out, cli.expand(c.out));
    if (c.errHas.empty())
        EXPECT_EQ(r.err, "");
    else
        EXPECT_NE(r.err.find(cli.expand(c.errHas)), std::string::npos) << r.err;
    EXPECT_EQ(cli.dir.entries(), kTexts.size()) << "nothing may be left in the folder";
}

INSTANTIATE_TEST_SUITE_P(
    CliRunner, Translations,
    ::testing::Values(
        TranslationsCase{"rankedWithTheMissingReferenceNamed",
                         {"--dictionary", "{mini.dic}", "--translations", "deus"}, 0,
                         kHeader + "dieu\t2\t66.7\t2\t3\t0.680\t0.667\n"
                                   "voit\t1\t33.3\t1\t2\t0.000\t0.400\n" + kUntranslated,
                         "sans passage français, comptée(s) nulle part : [7]", true},
        TranslationsCase{"csvTopOne", {"--dictionary={mini.dic}", "--translations", "--format", "csv", "--top", "1", "deus"},
                         0, "french,aligned,share,passages,frequency,log_likelihood,dice\r\ndieu,2,66.7,2,3,0.680,0.667\r\n"
                            "(non traduit),0,0.0,,,,\r\n",
                         "[7]", true},
        // "dit" is the one of its two lemmas that is a word of the text.
        TranslationsCase{"aWordOfTwoLemmasStandsForTheOneInTheText",
                         {"--dictionary", "{mini.dic}", "--translations", "dicit"}, 0,
                         kHeader + "dit\t2\t100.0\t2\t2\t7.638\t1.000\n"
                                   "seigneur\t1\t50.0\t1\t1\t2.634\t0.667\n" + kUntranslated,
                         "", true},
        TranslationsCase{"functionWordsCountForALatinFunctionWord",
                         {"--dictionary", "{mini.dic}", "--translations", "et"}, 0,
                         kHeader + "et\t1\t100.0\t1\t1\t5.407\t1.000\n" + kUntranslated,
                         "", true},
        TranslationsCase{"noFrenchText", {"--latin", "{latin.txt}", "--translations", "deus"}, 2, "", "--french"},
        TranslationsCase{"topWithoutTranslations", {"--top", "3", "--list", "deus"}, 2, "",
                         "--top ne s'emploie qu'avec --translations."},
        TranslationsCase{"topZero", {"--translations", "--top", "0", "deus"}, 2, "", "--top attend"},
        TranslationsCase{"htmlRefused", {"--translations", "--format", "html", "deus"}, 2, "",
                         "pas en html"},
        TranslationsCase{"tmxOnlyAlone", {"--translations", "--format", "tmx", "deus"}, 2, "",
                         "--format tmx s'emploie seul"},
        TranslationsCase{"missingDictionary", {"--dictionary", "{absent.dic}", "--translations", "deus"},
                         1, "", "{absent.dic}", true},
        TranslationsCase{"dictionaryWithoutItsAffixFile",
                         {"--dictionary", "{sans-aff.dic}", "--translations", "deus"}, 1, "",
                         "{sans-aff.aff}", true},
        TranslationsCase{"frenchLemmaKeepsThePassagesHoldingIt",
                         {"--dictionary", "{mini.dic}", "--french-lemma", "DIT", "--list", "deus"}, 0,
                         "deus\t[3]\n", "", true},
        TranslationsCase{"frenchLemmaOfNoWordOfTheText",
                         {"--dictionary", "{mini.dic}", "--french-lemma", "dire", "--list", "deus"}, 0, "", "", true},
        TranslationsCase{"frenchLemmaAlignedKeepsTheHitsItRenders",
                         {"--dictionary", "{mini.dic}", "--french-lemma", "dieu", "--aligned", "--list", "deus"}, 0,
                         "deus\t[1]\ndeus\t[2]\n", "", true},
        TranslationsCase{"frenchFormInThePassage", {"--french-form", "voit", "--list", "homo"}, 0, "homo\t[5]\n", ""},
        TranslationsCase{"frenchFormAlignedLeavesAWordOfTheVerb",
                         {"--french-form", "voit", "--aligned", "--list", "homo"}, 0, "", ""},
        TranslationsCase{"noHitHasNoRowOfTheUntranslated",
                         {"--french-form", "voit", "--aligned", "--translations", "homo"}, 0, kHeader, ""},
        TranslationsCase{"alignedAlone", {"--aligned", "--list", "homo"}, 2, "",
                         "--aligned ne s'emploie qu'avec --french-form ou --french-lemma."},
        TranslationsCase{"frenchLemmaOfAFunctionWord",
                         {"--dictionary", "{mini.dic}", "--french-lemma", "le", "--count", "deus"}, 0,
                         "2\n", "", true},
        TranslationsCase{"frenchLemmaWithoutFrench",
                         {"--latin", "{latin.txt}", "--french-lemma", "dieu", "--list", "deus"}, 2, "",
                         "--french-lemma demande le texte français"},
        TranslationsCase{"frenchLemmaOnTheFrenchSide",
                         {"--french-lemma", "dieu", "--side", "french", "--list", "dieu"}, 2, "",
                         "--french-lemma ne s'emploie pas avec --side french."},
        TranslationsCase{"dictionaryAlone", {"--dictionary", "{mini.dic}", "--list", "deus"}, 2, "",
                         "--dictionary ne s'emploie qu'avec"},
        TranslationsCase{"equivalentsColumnWithDashAndEmpty",
                         {"--latin", "{eq-la.txt}", "--french", "{eq-fr.txt}", "--dictionary", "{mini.dic}",
                          "--equivalents", "--list", "lux"}, 0,
                         "lux\t[1]\tlumière\nlux\t[2]\tLumière\nlux\t[3]\tnuit, la\nlux\t[6]\t\nlux\t[7]\t—\n", "", true},
        TranslationsCase{"equivalentsInTheCsvExport",
                         {"--latin", "{eq-la.txt}", "--french", "{eq-fr.txt}", "--dictionary", "{mini.dic}",
                          "--equivalents", "--format", "csv", "lux"}, 0,
                         "forme,référence,équivalents,passage latin,passage français\r\n"
                         "lux,[1],lumière,[1] lux ,[1] lumière \r\n"
                         "lux,[2],Lumière,[2] lux ,[2] Lumière \r\n"
                         "lux,[3],\"nuit, la\",[3] lux ,[3] la nuit \r\n"
                         "lux,[6],,[6] lux ,\r\n"
                         "lux,[7],—,[7] lux,[7] ...\r\n", "", true},
        TranslationsCase{"equivalentsInTheTsvExportOfTheFrenchLemmaHits",
                         {"--latin", "{eq-la.txt}", "--french", "{eq-fr.txt}", "--dictionary", "{mini.dic}",
                          "--equivalents", "--french-lemma", "nuit", "--format", "tsv", "lux"}, 0,
                         "forme\tréférence\téquivalents\tpassage latin\tpassage français\n"
                         "lux\t[3]\tnuit, la\t[3] lux \t[3] la nuit \n", "", true},
        TranslationsCase{"equivalentsWithTheCount", {"--equivalents", "--count", "deus"}, 2, "",
                         "--equivalents s'emploie avec --list ou --format tsv|csv|html, pas avec --count."},
        TranslationsCase{"equivalentsWithoutFrench", {"--latin", "{latin.txt}", "--equivalents", "--list", "deus"},
                         2, "", "--equivalents demande le texte français"},
        TranslationsCase{"folderAsDictionary", {"--dictionary", "{}", "--translations", "deus"}, 1, "",
                         "dossier", true}),
    [](const ::testing::TestParamInfo<TranslationsCase>& info) { return std::string(info.param.name); });

TEST(CliRunner, TranslationsGoToTheOutputFileAndTmxListsEachReferenceOnce)
{
    CliHarness cli(kTexts);
    CliOutcome r = cli.run({"--latin", "{latin.txt}", "--french", "{francais.txt}", "--dictionary",
                            "{mini.dic}", "--translations", "--output", "{out.tsv}", "deus"});
    if (hunspellBuiltIn()) {
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(slurp(cli.dir.file("out.tsv")).rfind(kHeader + "dieu\t", 0), 0u);
    }

    // The export with its column, sized before it is written to a file.
    r = cli.run({"--latin", "{eq-la.txt}", "--french", "{eq-fr.txt}", "--equivalents", "--format", "html",
                 "--output", "{eq.html}", "lux"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(slurp(cli.dir.file("eq.html")).find("<th>référence</th><th>équivalents</th>"), std::string::npos);
    EXPECT_NE(slurp(cli.dir.file("eq.html")).find("<td>[7]</td><td>—</td>"), std::string::npos);

    r = cli.run({"--latin", "{latin.txt}", "--french", "{francais.txt}", "--format", "tmx", "deus"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const auto count = [&](const std::string& what) {
        std::size_t n = 0;
        for (std::size_t at = 0; (at = r.out.find(what, at)) != std::string::npos; ++at)
            ++n;
        return n;
    };
    EXPECT_EQ(count("<tu "), 4u);
    EXPECT_EQ(count("xml:lang=\"fr\""), 3u);  // [7] is Latin only
    EXPECT_NE(r.out.find("<tuv xml:lang=\"fr\"><seg>Dieu voit le cœur</seg></tuv>"), std::string::npos);
}

} // namespace
} // namespace quorvex

namespace quorvex {
namespace {

// The French stems go to $XDG_CACHE_HOME/quorvex, one entry per text and dictionary; whatever
// the cache holds or refuses, the ranking is the same.
TEST(CliRunner, TranslationsKeepTheFrenchStemsAndTheAlignmentInTheCacheFolderWithoutChangingAWord)
{
    if (!hunspellBuiltIn())
        GTEST_SKIP() << "built without Hunspell";
    const testsupport::CliHarness cli(kTexts);
    const char* saved = std::getenv("XDG_CACHE_HOME");
    const std::string savedCopy = saved ? saved : "";
    const std::vector<std::string> args = {"--latin", "{latin.txt}", "--french", "{francais.txt}",
                                           "--dictionary", "{mini.dic}", "--translations", "deus"};
    auto runWithCache = [&](const std::string& folder, std::vector<std::string> extra = {}) {
        setenv("XDG_CACHE_HOME", cli.dir.file(folder).c_str(), 1);
        std::vector<std::string> all = args;
        all.insert(all.end() - 1, extra.begin(), extra.end());
        return cli.run(all);
    };
    // The entries of one kind ("" for all): the French stems, the alignment's image.
    auto entries = [&](const std::string& folder, const std::string& kind = "") {
        const std::filesystem::path dir = std::filesystem::u8path(cli.dir.file(folder)) / "quorvex";
        std::error_code ec;
        std::size_t n = 0;
        if (std::filesystem::is_directory(dir, ec))
            for (const auto& entry : std::filesystem::directory_iterator(dir))
                n += entry.path().filename().string().rfind(kind, 0) == 0 ? 1 : 0;
        return n;
    };

    const CliOutcome uncached = runWithCache("none", {"--no-cache"});
    ASSERT_EQ(uncached.code, 0) << uncached.err;
    EXPECT_EQ(entries("none"), 0u) << "--no-cache writes nothing";

    const CliOutcome cold = runWithCache("cache");
    const CliOutcome warm = runWithCache("cache");
    EXPECT_EQ(entries("cache", "french-stems-"), 1u);
    EXPECT_EQ(entries("cache", "text-alignment-"), 1u);
    EXPECT_EQ(entries("cache"), 2u);
    for (const CliOutcome* r : {&cold, &warm}) {
        EXPECT_EQ(r->code, 0);
        EXPECT_EQ(r->out, uncached.out);
        EXPECT_EQ(r->err, uncached.err);
    }

    // A damaged entry is computed again and written whole: the image at once, the stems when
    // a run must read them (the image spares it that).
    for (const char* kind : {"text-alignment-", "french-stems-"}) {
        SCOPED_TRACE(kind);
        std::filesystem::path damaged, image;
        for (const auto& entry :
             std::filesystem::directory_iterator(std::filesystem::u8path(cli.dir.file("cache")) / "quorvex")) {
            if (entry.path().filename().string().rfind(kind, 0) == 0)
                damaged = entry.path();
            if (entry.path().filename().string().rfind("text-alignment-", 0) == 0)
                image = entry.path();
        }
        ASSERT_FALSE(damaged.empty());
        std::ofstream(damaged, std::ios::binary | std::ios::trunc) << "QUORVEX-CACHE-1\nxx";
        if (damaged != image)
            std::filesystem::remove(image);
        const CliOutcome again = runWithCache("cache");
        EXPECT_EQ(again.out, uncached.out);
        EXPECT_EQ(again.err, uncached.err);
        EXPECT_GT(std::filesystem::file_size(damaged), 20u);
    }
    EXPECT_EQ(entries("cache"), 2u);

    // Another French text: other entries beside the first ones.
    cli.dir.write("francais.txt", std::string(kTexts[1].second) + "[9] Dieu dit\r\n");
    const CliOutcome changed = runWithCache("cache");
    EXPECT_EQ(changed.code, 0);
    EXPECT_EQ(entries("cache", "french-stems-"), 2u);
    EXPECT_EQ(entries("cache", "text-alignment-"), 2u);

    // A cache folder that cannot be made is no cache, and no message.
    cli.dir.write("a-file", "x");
    const CliOutcome refused = runWithCache("a-file");
    EXPECT_EQ(refused.code, 0);
    EXPECT_EQ(refused.out, changed.out);
    EXPECT_EQ(refused.err, changed.err);

    saved ? setenv("XDG_CACHE_HOME", savedCopy.c_str(), 1) : unsetenv("XDG_CACHE_HOME");
}

} // namespace
} // namespace quorvex
