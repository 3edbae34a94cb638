// Search by lemma through the whole command: a small lexicon written beside the texts, the
// outputs that take a lemma, its messages, its refusals, and --frequencies --lemma.

#include "CliHarness.h"
#include "support/SmallLexiconData.h"
#include "support/SmallTagData.h"

#include "translation/Stemmer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace quorvex {
namespace {

using namespace testsupport;

// Two adverbs beside the small lexicon's lemmata: "ita" and "itaque" in one text.
const std::string kLemmata = std::string(kSmallLexiconLemmata) + "ĭtăque|inv|||adv.|500\n"
                                                                 "ĭtă|inv|||adv.|900\n";

// Windows-1252 Latin text.
const std::vector<std::pair<std::string, std::string>> kFiles = {
    {"la.txt", "[1] Deus dixit et DEVS est. [2] Dixitque Deo: itaque es\r\n"
               "[3] Israel dicit, Israel est; deumque dicis."},
    {"fr.txt", "[1] Dieu dit. [2] Il dit a Dieu. [3] Israel dit."},
    {"modeles.la", kSmallLexiconModels},
    {"lemmes.la", kLemmata},
    {"irregs.la", "!\n"},
    {"assimilations.la", "!\n"},
    {"contractions.la", "!\n"},
    {"lemmes.fr", "Français\ndeus:dieu\ndico2:dire\nsum:être\n"},
};

struct LemmaCase {
    const char* name;
    std::vector<std::string> args;
    int code;
    std::string out;  // exact standard output, UTF-8
    std::string err;  // exact standard error
};

class LemmaSearchCli : public ::testing::TestWithParam<LemmaCase> {};

TEST_P(LemmaSearchCli, OutputsAndMessages)
{
    const CliHarness cli(kFiles);
    const LemmaCase& c = GetParam();
    std::vector<std::string> args = {"--latin", "{la.txt}", "--lexicon", "{}"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const CliOutcome r = cli.run(args);
    EXPECT_EQ(r.code, c.code) << r.err;
    EXPECT_EQ(r.out, cli.expand(c.out));
    EXPECT_EQ(r.err, cli.expand(c.err));
}

INSTANTIATE_TEST_SUITE_P(
    Cli, LemmaSearchCli,
    ::testing::Values(
        LemmaCase{"countOneNumber", {"--lemma", "--count", "dico"}, 0, "4\n", ""},
        LemmaCase{"morphWithoutTheTaggerFilesRefused", {"--lemma", "--morph", "parfait", "--list", "dico"}, 2, "",
                  "--morph demande les fichiers tags.la et morphos.fr du lexique.\n"},
        LemmaCase{"countFilteredByTheFrenchPassage",
                  {"--french", "{fr.txt}", "--french-form", "Dieu", "--lemma", "--count", "dico"}, 0,
                  "2\n", ""},
        LemmaCase{"listFormReferenceLemmata", {"--lemma", "--list", "sum"}, 0,
                  "est\t[1]\tsum, edo\nes\t[2]\tsum\nest\t[3]\tsum, edo\n", ""},
        LemmaCase{"caseAndSpellingFolded", {"--lemma", "--list", "Deus"}, 0,
                  "Deus\t[1]\tdeus\nDEVS\t[1]\tdeus\nDeo\t[2]\tdeus\ndeumque\t[3]\tdeus\n", ""},
        LemmaCase{"quantityMarksAllowed", {"--lemma", "--count", "dīco"}, 0, "4\n", ""},
        LemmaCase{"homographDigit", {"--lemma", "--list", "dico2"}, 0,
                  "dixit\t[1]\tdico2\nDixitque\t[2]\tdico2\ndicit\t[3]\tdico2, dico\n"
                  "dicis\t[3]\tdico2, dico\n", ""},
        LemmaCase{"firstHomographIsTheUnnumbered", {"--lemma", "--list", "dico1"}, 0,
                  "dicit\t[3]\tdico2, dico\ndicis\t[3]\tdico2, dico\n", ""},
        LemmaCase{"strictKeepsTheLikeliest", {"--lemma-strict", "--count", "edo"}, 0, "0\n", ""},
        LemmaCase{"strictTieGoesToTheAsked", {"--lemma-strict", "--count", "sum"}, 0, "3\n", ""},
        LemmaCase{"kwicSortedByForms", {"--lemma", "--sort", "forms", "--kwic", "8", "dico"}, 0,
                  "[3]  deumque dicis.\n[3]   Israel dicit, Israel\n[1]  1] Deus dixit et DEVS\n"
                  "[2]  st. [2] Dixitque Deo: it\n", ""},
        // Deus DEVS Deo deumque: deus; est es est (twice in windows): sum, its likeliest.
        LemmaCase{"collocatesCountedByLemma", {"--lemma", "--collocates", "2", "dico"}, 0,
                  "collocate\tcooccurrences\tfrequency\tmi\tlog_likelihood\n"
                  "sum\t4\t3\t0.322\t0.236\n"
                  "deus\t5\t4\t0.229\t0.166\n"
                  "israel\t2\t2\t-0.093\t0.010\n"
                  "et\t1\t1\t-0.093\t0.005\n"
                  "itaque\t1\t1\t-0.093\t0.005\n",
                  ""},
        LemmaCase{"wholeKnownWordKeepsItsEnclitic", {"--lemma", "--count", "ita"}, 0, "0\n", ""},
        LemmaCase{"formLeftOutOfTheLemma", {"--lemma", "--exclude-form", "dixit", "--list", "dico2"}, 0,
                  "Dixitque\t[2]\tdico2\ndicit\t[3]\tdico2, dico\ndicis\t[3]\tdico2, dico\n", ""},
        LemmaCase{"spellingsLeftOutTogether", {"--lemma", "--exclude-form", "deus", "--list", "deus"}, 0,
                  "Deo\t[2]\tdeus\ndeumque\t[3]\tdeus\n", ""},
        LemmaCase{"countWithoutAFormIsNotTheLemmaTotal",
                  {"--lemma", "--exclude-form", "Deo", "--exclude-form", "DEUMQUE", "--count", "deus"}, 0,
                  "2\n", ""},
        LemmaCase{"sortedByTheWordAfter", {"--lemma", "--sort", "right", "--list", "sum"}, 0,
                  "est\t[3]\tsum, edo\nest\t[1]\tsum, edo\nes\t[2]\tsum\n", ""},
        LemmaCase{"sortedByForms", {"--lemma", "--sort", "forms", "--list", "sum"}, 0,
                  "es\t[2]\tsum\nest\t[1]\tsum, edo\nest\t[3]\tsum, edo\n", ""},
        LemmaCase{"wordTheLexiconLacks", {"--lemma", "--list", "Israel"}, 0,
                  "Israel\t[3]\t\nIsrael\t[3]\t\n",
                  "« Israel » n'est pas dans le lexique : recherche de la forme.\n"},
        LemmaCase{"unknownLemmaThatIsAForm", {"--lemma", "--count", "fuit"}, 1, "",
                  "Lemme inconnu : « fuit ».\n« fuit » est une forme de : sum.\n"},
        LemmaCase{"unknownLemmaNeighbours", {"--lemma", "--count", "dicus"}, 1, "",
                  "Lemme inconnu : « dicus ».\nLemmes voisins : dico2, deus, dico.\n"},
        LemmaCase{"noStarInALemma", {"--lemma", "--count", "dic*"}, 2, "",
                  "quorvex-cli : un lemme ne contient pas de « * » (« dic* »).\n"
                  "Essayez « quorvex-cli --help ».\n"},
        LemmaCase{"refusedWithPhrase", {"--lemma", "--phrase", "--count", "dico"}, 2, "",
                  "quorvex-cli : --lemma ne s'emploie pas avec --phrase (un lemme est un seul mot).\n"
                  "Essayez « quorvex-cli --help ».\n"},
        LemmaCase{"refusedOnTheFrenchSide",
                  {"--french", "{fr.txt}", "--side", "french", "--lemma", "--count", "dico"}, 2, "",
                  "quorvex-cli : --lemma cherche dans le texte latin, pas avec --side french.\n"
                  "Essayez « quorvex-cli --help ».\n"},
        LemmaCase{"frequenciesByLemma", {"--lemma", "--frequencies"}, 0,
                  "lemme\tglose\tattestations\tformes\tambiguës\n"
                  "deus\tdieu\t4\t4\t0\n"
                  "dico2\tdire\t4\t4\t2\n"
                  "sum\têtre\t3\t2\t2\n"
                  "dico\t\t2\t2\t2\n"
                  "edo\t\t2\t1\t2\n"
                  "itaque\t\t1\t1\t0\n"
                  "israel\t\t2\t1\t0\n"
                  "et\t\t1\t1\t0\n",
                  "Mots expliqués par le lexique : 80,0 % (12 sur 15).\n"},
        LemmaCase{"frequenciesByLemmaInCsv", {"--lemma", "--format", "csv", "--frequencies"}, 0,
                  "lemme,glose,attestations,formes,ambiguës\r\n"
                  "deus,dieu,4,4,0\r\n"
                  "dico2,dire,4,4,2\r\n"
                  "sum,être,3,2,2\r\n"
                  "dico,,2,2,2\r\n"
                  "edo,,2,1,2\r\n"
                  "itaque,,1,1,0\r\n"
                  "israel,,2,1,0\r\n"
                  "et,,1,1,0\r\n",
                  "Mots expliqués par le lexique : 80,0 % (12 sur 15).\n"},
        LemmaCase{"frequenciesTakeNoForm", {"--lemma", "--frequencies", "dico"}, 2, "",
                  "quorvex-cli : --frequencies --lemma ne prend pas de forme : il compte tous "
                  "les lemmes du texte (« dico » est de trop).\n"
                  "Essayez « quorvex-cli --help ».\n"}));

// The same lexicon with the tagger's two files.
std::vector<std::pair<std::string, std::string>> withTagger()
{
    std::vector<std::pair<std::string, std::string>> files = kFiles;
    files.emplace_back("tags.la", kSmallTagCounts);
    files.emplace_back("morphos.fr", kSmallMorphoNames);
    return files;
}

class LemmaTaggerCli : public ::testing::TestWithParam<LemmaCase> {};

TEST_P(LemmaTaggerCli, AnalysesAndTheirFilter)
{
    const CliHarness cli(withTagger());
    const LemmaCase& c = GetParam();
    std::vector<std::string> args = {"--latin", "{la.txt}", "--lexicon", "{}"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const CliOutcome r = cli.run(args);
    EXPECT_EQ(r.code, c.code) << r.err;
    EXPECT_EQ(r.out, cli.expand(c.out));
    EXPECT_EQ(r.err, cli.expand(c.err));
}

INSTANTIATE_TEST_SUITE_P(
    Cli, LemmaTaggerCli,
    ::testing::Values(
        LemmaCase{"analysesColumn", {"--lemma", "--analyses", "--list", "dico"}, 0,
                  "dixit\t[1]\tdico2\tdico2, 3ème singulier indicatif parfait actif, 1.00\n"
                  "Dixitque\t[2]\tdico2\tdico2, 3ème singulier indicatif parfait actif, 1.00\n"
                  "dicit\t[3]\tdico2, dico\tdico2, 3ème singulier indicatif présent actif, 0.99\n"
                  "dicis\t[3]\tdico2, dico\tdico2, 2ème singulier indicatif présent actif, 0.99\n",
                  ""},
        LemmaCase{"morphKeepsTheAnalysesHoldingItsWords", {"--lemma", "--morph", "parfait", "--list", "dico"}, 0,
                  "dixit\t[1]\tdico2\nDixitque\t[2]\tdico2\n", ""},
        LemmaCase{"morphWordsInAnyOrderCount", {"--lemma", "--morph", "présent  indicatif", "--count", "sum"}, 0,
                  "3\n", ""},
        LemmaCase{"strictIsTheLikeliestHere", {"--lemma-strict", "--list", "sum"}, 0,
                  "est\t[1]\tsum, edo\nes\t[2]\tsum\nest\t[3]\tsum, edo\n", ""},
        LemmaCase{"morphUnknownWordRefusedWithTheAcceptedOnes", {"--lemma", "--morph", "subjonctif", "--list", "dico"},
                  2, "",
                  "Mot d'analyse inconnu : « subjonctif ». Mots acceptés : 1ère 2ème 3ème ablatif accusatif "
                  "actif datif génitif indicatif inv. nominatif parfait pluriel présent singulier vocatif.\n"},
        LemmaCase{"analysesNeedALemma", {"--analyses", "--list", "dixit"}, 2, "",
                  "quorvex-cli : --analyses ne s'emploie qu'avec --lemma.\n"
                  "Essayez « quorvex-cli --help ».\n"},
        LemmaCase{"analysesNeedAList", {"--lemma", "--analyses", "--count", "dico"}, 2, "",
                  "quorvex-cli : --analyses s'emploie avec --list ou --format tsv|csv|html, pas avec --count.\n"
                  "Essayez « quorvex-cli --help ».\n"},
        LemmaCase{"morphNeedsALemma", {"--morph", "parfait", "--list", "dixit"}, 2, "",
                  "quorvex-cli : --morph ne s'emploie qu'avec --lemma.\n"
                  "Essayez « quorvex-cli --help ».\n"},
        LemmaCase{"morphNotWithFrequencies", {"--lemma", "--morph", "parfait", "--frequencies"}, 2, "",
                  "quorvex-cli : --morph ne s'emploie pas avec --frequencies.\n"
                  "Essayez « quorvex-cli --help ».\n"},
        LemmaCase{"morphNeedsWords", {"--lemma", "--morph", " ", "--list", "dico"}, 2, "",
                  "quorvex-cli : --morph attend des mots d'analyse (« subjonctif »).\n"
                  "Essayez « quorvex-cli --help ».\n"}),
    [](const ::testing::TestParamInfo<LemmaCase>& info) { return std::string(info.param.name); });

TEST(LemmaSearchCliExports, HtmlAndTsvCarryTheLemmataAndTheCountLineNamesTheLemma)
{
    const CliHarness cli(kFiles);
    const CliOutcome html = cli.run({"--latin", "{la.txt}", "--french", "{fr.txt}", "--lexicon",
                                     "{}", "--lemma", "--title", "Essai", "--format", "html",
                                     "sum"});
    ASSERT_EQ(html.code, 0) << html.err;
    EXPECT_NE(html.out.find("Nombre d'attestation(s) pour : sum (lemme) = 3"), std::string::npos);
    EXPECT_NE(html.out.find("<title>Essai</title>"), std::string::npos);
    EXPECT_NE(html.out.find("<h1>Essai</h1>"), std::string::npos);
    EXPECT_NE(html.out.find("<th>forme</th><th>référence</th><th>lemmes</th><th>passage latin</th>"),
              std::string::npos);
    EXPECT_NE(html.out.find("<td>est</td><td>[1]</td><td>sum, edo</td>"), std::string::npos);

    const CliOutcome tsv = cli.run({"--latin", "{la.txt}", "--lexicon", "{}", "--lemma",
                                    "--format", "tsv", "Deus"});
    ASSERT_EQ(tsv.code, 0) << tsv.err;
    EXPECT_EQ(tsv.out.substr(0, tsv.out.find('\n', tsv.out.find('\n') + 1) + 1),
              "forme\tréférence\tlemmes\tpassage latin\tpassage français\n"
              "Deus\t[1]\tdeus\t[1] Deus dixit et DEVS est. \t\n");

    // The result file is the search window's: nothing in it names the lemma.
    const CliOutcome file = cli.run({"--latin", "{la.txt}", "--lexicon", "{}", "--lemma",
                                     "--title", "Essai", "--date", "d", "Deus"});
    ASSERT_EQ(file.code, 0) << file.err;
    EXPECT_EQ(file.out.find("lemme"), std::string::npos);
    EXPECT_NE(file.out.find("DEVS"), std::string::npos);
}

TEST(LemmaSearchCliStrictCount, TheTallysCountIsTheListsLength)
{
    // The count reads the text's forms in one pass, and tags only the sentences where the
    // lemma is in doubt; the list tags through the word table.
    const CliHarness cli(withTagger());
    for (const char* lemma : {"dico", "dico1", "dico2", "sum", "edo", "deus", "itaque", "Israel", "fuit"}) {
        SCOPED_TRACE(lemma);
        const CliOutcome count = cli.run({"--latin", "{la.txt}", "--lexicon", "{}", "--lemma-strict", "--count", lemma});
        const CliOutcome list = cli.run({"--latin", "{la.txt}", "--lexicon", "{}", "--lemma-strict", "--list", lemma});
        EXPECT_EQ(count.code, list.code);
        EXPECT_EQ(count.err, list.err);
        if (count.code == 0) {
            EXPECT_EQ(count.out, std::to_string(std::count(list.out.begin(), list.out.end(), '\n')) + "\n");
        }
    }
}

// The fields of a TSV record or list line.
std::vector<std::string> tabFields(const std::string& line)
{
    std::vector<std::string> fields;
    std::size_t at = 0;
    for (std::size_t tab; (tab = line.find('\t', at)) != std::string::npos; at = tab + 1)
        fields.push_back(line.substr(at, tab - at));
    fields.push_back(line.substr(at));
    return fields;
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t at = 0;
    for (std::size_t next; (next = text.find('\n', at)) != std::string::npos; at = next + 1)
        lines.push_back(text.substr(at, next - at));
    return lines;
}

TEST(LemmaSearchCliExports, TheListsLemmataAndAnalysesInEachRecord)
{
    const CliHarness cli(withTagger());
    for (const char* lemma : {"dico", "sum", "deus"}) {
        SCOPED_TRACE(lemma);
        const std::vector<std::string> common = {"--latin", "{la.txt}", "--french", "{fr.txt}", "--lexicon", "{}",
                                                 "--lemma", "--analyses"};
        auto with = [&](std::vector<std::string> more) {
            more.insert(more.begin(), common.begin(), common.end());
            more.push_back(lemma);
            const CliOutcome r = cli.run(more);
            EXPECT_EQ(r.code, 0) << r.err;
            return r.out;
        };
        const std::vector<std::string> listed = linesOf(with({"--list"}));
        const std::vector<std::string> tsv = linesOf(with({"--format", "tsv"}));
        ASSERT_EQ(tsv.size(), listed.size() + 1);
        EXPECT_EQ(tsv[0], "forme\tréférence\tlemmes\tanalyse\tpassage latin\tpassage français");
        for (std::size_t i = 0; i < listed.size(); ++i) {
            // form, reference, lemmata (the likeliest first) and analysis, as the list has them.
            const std::vector<std::string> line = tabFields(listed[i]), record = tabFields(tsv[i + 1]);
            ASSERT_EQ(line.size(), 4u) << listed[i];
            ASSERT_EQ(record.size(), 6u) << tsv[i + 1];
            EXPECT_EQ(std::vector<std::string>(record.begin(), record.begin() + 4), line);
            EXPECT_FALSE(line[3].empty());
        }
        // CSV quotes the fields that hold a comma, as it does any other.
        // (A passage's line break is kept inside its quoted field: records are not lines.)
        const std::string csv = with({"--format", "csv"});
        const std::vector<std::string> first = tabFields(listed[0]);
        auto field = [](const std::string& s) { return s.find(',') == std::string::npos ? s : '"' + s + '"'; };
        const std::string firstRecord = first[0] + "," + first[1] + "," + field(first[2]) + "," + field(first[3]) + ",";
        EXPECT_EQ(csv.rfind("forme,référence,lemmes,analyse,passage latin,passage français\r\n" + firstRecord, 0), 0u)
            << csv;
        // The HTML page's cells in the same order.
        const std::string html = with({"--format", "html"});
        EXPECT_NE(html.find("<th>lemmes</th><th>analyse</th><th>passage latin</th>"), std::string::npos);
        EXPECT_NE(html.find("<td>" + first[2] + "</td><td>" + first[3] + "</td>"), std::string::npos) << html;
    }
    // Without --analyses, no such column; the lemmata stay.
    const CliOutcome plain = cli.run({"--latin", "{la.txt}", "--lexicon", "{}", "--lemma", "--format", "tsv", "dico"});
    EXPECT_EQ(linesOf(plain.out).at(0), "forme\tréférence\tlemmes\tpassage latin\tpassage français");
}

TEST(LemmaSearchCliAnalyses, PlotAndTranslationsFollowEveryFormOfTheLemma)
{
    std::vector<std::pair<std::string, std::string>> files = kFiles;
    // dico stands in [1] and [2] under two forms; the French says it with two forms of dire, in
    // the same order, so that four verses are enough to align them.
    files.push_back({"tla.txt", "[1] homo dixit [2] pueri dicunt [3] homo venit [4] homo est"});
    files.push_back({"tfr.txt", "[1] l'homme dit [2] les enfants disent [3] l'homme vient "
                                "[4] c'est l'homme"});
    files.push_back({"mini.aff", "SET UTF-8\nSFX A Y 2\nSFX A re t re\nSFX A re sent re\n"});
    files.push_back({"mini.dic", "1\ndire/A\n"});
    const CliHarness cli(files);

    const CliOutcome plot = cli.run({"--latin", "{la.txt}", "--lexicon", "{}", "--lemma", "--plot",
                                     "{dico.svg}", "dico"});
    ASSERT_EQ(plot.code, 0) << plot.err;
    EXPECT_EQ(plot.out, "");
    const std::string svg = slurp(cli.expand("{dico.svg}"));
    EXPECT_NE(svg.find("dico\xC2\xA0\xC2\xBB : 4 attestations sur 15 mots"), std::string::npos) << svg;
    // One tick per attestation at its word's place among the 15: words 1, 5, 10 and 14.
    EXPECT_NE(svg.find("d=\"M182.8 87.0v16.0M424.9 87.0v16.0M727.6 87.0v16.0M969.7 87.0v16.0\""),
              std::string::npos)
        << svg;
    const CliOutcome strict = cli.run({"--latin", "{la.txt}", "--lexicon", "{}", "--lemma-strict",
                                       "--plot", "-", "dico1"});
    ASSERT_EQ(strict.code, 0) << strict.err;
    EXPECT_NE(strict.out.find("dico1\xC2\xA0\xC2\xBB : 0 attestation sur 15 mots"), std::string::npos)
        << "dico2 is the more frequent candidate of each form";

    if (!hunspellBuiltIn())
        GTEST_SKIP() << "built without Hunspell";
    const std::string header = "french\taligned\tshare\tpassages\tfrequency\tlog_likelihood\tdice\n";
    const std::vector<std::string> pair = {"--latin", "{tla.txt}", "--french", "{tfr.txt}",
                                           "--dictionary", "{mini.dic}", "--translations"};
    std::vector<std::string> byLemma = pair;
    byLemma.insert(byLemma.end(), {"--lexicon", "{}", "--lemma", "dico"});
    const CliOutcome lemma = cli.run(byLemma);
    ASSERT_EQ(lemma.code, 0) << lemma.err;
    EXPECT_EQ(lemma.out.substr(0, lemma.out.find('\n', header.size()) + 1),
              header + "dire\t2\t100.0\t2\t2\t5.545\t1.000\n");
    std::vector<std::string> byForm = pair;
    byForm.push_back("dixit");
    const CliOutcome form = cli.run(byForm);
    ASSERT_EQ(form.code, 0) << form.err;
    EXPECT_NE(form.out.find("dire\t1\t100.0\t1\t2\t"), std::string::npos) << form.out;
    EXPECT_EQ(cli.dir.entries(), files.size() + 1) << "the picture and nothing else was added";
}

TEST(LemmaSearchCliAnalyses, CollocatesByLemmaWriteTheLexiconsSpellingInUtf8)
{
    std::vector<std::pair<std::string, std::string>> files = kFiles;
    files[3].second += "C\xC3\xA6sar|inv|||m.|10\n";  // lemmes.la, UTF-8
    files.push_back({"col.txt", "[1] C\xE6sar dixit [2] CAESAR dicit"});  // Windows-1252
    const CliHarness cli(files);
    const CliOutcome r = cli.run({"--latin", "{col.txt}", "--lexicon", "{}", "--lemma", "--format",
                                  "csv", "--collocates", "1", "dico"});
    ASSERT_EQ(r.code, 0) << r.err;
    // CAESAR stands in both windows: O = 3 for f = 2.
    EXPECT_EQ(r.out, "collocate,cooccurrences,frequency,mi,log_likelihood\r\n"
                     "C\xC3\xA6sar,3,2,0.585,1.046\r\n");
}

TEST(LemmaSearchCliLexicon, FoundThroughTheEnvironmentElseNamedAsMissing)
{
    const CliHarness cli(kFiles);
    ::setenv("QUORVEX_LEXICON", cli.dir.file("").c_str(), 1);
    const CliOutcome viaEnvironment = cli.run({"--latin", "{la.txt}", "--lemma", "--count", "Deus"});
    ::unsetenv("QUORVEX_LEXICON");
    EXPECT_EQ(viaEnvironment.code, 0) << viaEnvironment.err;
    EXPECT_EQ(viaEnvironment.out, "4\n");

    const CliOutcome missing = cli.run({"--latin", "{la.txt}", "--lexicon", "{nowhere}", "--lemma",
                                        "--count", "Deus"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.err, cli.expand("Le fichier du lexique « {nowhere}/modeles.la » est introuvable.\n"));
    const CliOutcome notAFolder = cli.run({"--latin", "{la.txt}", "--lexicon", "{la.txt}", "--lemma",
                                           "--count", "Deus"});
    EXPECT_EQ(notAFolder.code, 1);
    EXPECT_NE(notAFolder.err.find("introuvable"), std::string::npos) << notAFolder.err;
    const CliOutcome unused = cli.run({"--latin", "{la.txt}", "--lexicon", "{}", "--count", "Deus"});
    EXPECT_EQ(unused.code, 2);
    EXPECT_NE(unused.err.find("--lexicon ne s'emploie qu'avec --lemma."), std::string::npos);
    // With nothing named, this process finds the build tree's lexicon: the program with none
    // anywhere is tried as a copy outside the build (lexicon_from_build_tree.sh).
}

TEST(LemmaSearchCliLexiconLines, AnUnreadableLineIsSaidOnceAndTheCheckListsEveryOne)
{
    std::vector<std::pair<std::string, std::string>> files = kFiles;
    // The lemmata file cut in the middle of dico2's line, and a line of four fields further on:
    // dico2 is lost, the rest is read.
    for (auto& [name, bytes] : files)
        if (name == "lemmes.la")
            bytes = "dĕus|lupus|||i, m.|2679\ndīco2|lego|dīx\n"
                    "dĭco|lego|||as, are|42\nĕdo|edo|ēd|ēs\nsŭm|sum|fŭ||es, esse, fui|40916\n";
    const CliHarness cli(files);
    const std::string warning = "quorvex-cli : attention : lexique latin : 2 lignes illisibles ignorées, "
                                "la première à la ligne 2 de {lemmes.la} (--lexicon-check les énumère).\n";

    const CliOutcome count = cli.run({"--latin", "{la.txt}", "--lexicon", "{}", "--lemma", "--count", "Deus"});
    EXPECT_EQ(count.code, 0) << count.err;
    EXPECT_EQ(count.out, "4\n");
    EXPECT_EQ(count.err, cli.expand(warning));
    // Every output of a lemma search says it, once, before its own lines.
    const CliOutcome list = cli.run({"--latin", "{la.txt}", "--lexicon", "{}", "--lemma", "--list", "dixit"});
    EXPECT_EQ(list.err, cli.expand(warning + "« dixit » n'est pas dans le lexique : recherche de la forme.\n"));
    const CliOutcome frequencies = cli.run({"--latin", "{la.txt}", "--lexicon", "{}", "--lemma", "--frequencies"});
    EXPECT_EQ(frequencies.err.substr(0, frequencies.err.find('\n') + 1), cli.expand(warning));

    const CliOutcome check = cli.run({"--lexicon-check", "--lexicon", "{}"});
    EXPECT_EQ(check.code, 1);
    EXPECT_EQ(check.out, cli.expand("{lemmes.la}:2: ligne mal formée (six champs attendus, séparés par « | »)\n"
                                    "{lemmes.la}:4: ligne mal formée (six champs attendus, séparés par « | »)\n"));
    EXPECT_EQ(check.err, "");

    const CliHarness whole(kFiles);
    const CliOutcome fine = whole.run({"--lexicon-check", "--lexicon", "{}"});
    EXPECT_EQ(fine.code, 0) << fine.err;
    EXPECT_EQ(fine.out, whole.expand("Le lexique {} se lit en entier : 7 lemmes.\n"));
    const CliOutcome silent = whole.run({"--latin", "{la.txt}", "--lexicon", "{}", "--lemma", "--count", "Deus"});
    EXPECT_EQ(silent.err, "");

    struct Refusal {
        const char* name;
        std::vector<std::string> args;
        const char* message;
    };
    const Refusal refusals[] = {
        {"noForm", {"--lexicon-check", "dico"}, "--lexicon-check ne prend pas de forme à rechercher (« dico » est de trop)."},
        {"noLemmaSearch", {"--lexicon-check", "--lemma"}, "--lemma ne s'emploie pas avec --lexicon-check."},
        {"noOutputFile", {"--lexicon-check", "--output", "x"}, "--output ne s'emploie pas avec --lexicon-check."},
        {"noOtherAction", {"--lexicon-check", "--count"},
         "les options --lexicon-check et --count ne peuvent pas être employées ensemble."},
    };
    for (const Refusal& r : refusals) {
        const CliOutcome refused = whole.run(r.args);
        EXPECT_EQ(refused.code, 2) << r.name;
        EXPECT_EQ(refused.err, std::string("quorvex-cli : ") + r.message + "\nEssayez « quorvex-cli --help ».\n")
            << r.name;
    }
}

} // namespace
} // namespace quorvex
