#include "CliHarness.h"

#include "support/WorkedExample.h"
#include "text/TextFile.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace quorvex {
namespace {

using namespace testsupport;

// Windows-1252 texts. latin.txt has a form next to quotes, commas, tabs, line breaks, "<" and
// "&"; francais.txt lacks its [3]. print.txt's [2] ends with a lone LF, as a file edited
// elsewhere may have it.
const std::vector<std::pair<std::string, std::string>> kTexts = {
    {"small.txt", "Amor [1] amor \xE9t\xE9 -am [2] AMOR amat [10] amor\r\n"},
    {"latin.txt", "[1] Amor \"vincit\", omnia.\r\n[2] amor\t<et> & AMOR\r\n[3] amat amor"},
    {"francais.txt", "[1] L'amour vainc tout.\r\n[2] L'amour & <et>\r\n"},
    {"vide.txt", ""},
    {"show.txt", "Praefatio [1] Arma cano.\r\n[2] Amor vincit; amor\r\net amorem \xE9t\xE9.\r\n"
                 "[Prol. 3] ubi amor"},
    {"show-fr.txt", "[1] Je chante les armes.\r\n[2] L'amour \xE9t\xE9.\r\n"},
    {"print.txt", "[1] Amor omnia vincit.\r\n[2] amabo te\n[3] "},
    {"print-fr.txt", "[1] L'amour vainc tout,\xA0" "d\xE9j\xE0.\r\n"},
};

std::string heading(const char* which)
{
    return std::string("type \"verdana\" 9 bold underline\ntext \"Texte ") + which
        + ":\"\nendline\ntype \"verdana\" 9\n";
}
const std::string kEmptyPane = "text \"\"\nendline\n";
const std::string kExportHead[] = {"forme", "référence", "passage latin", "passage français"};

struct CliCase {
    const char* name;
    std::vector<std::string> args;
    int code;
    std::string out;     // exact standard output, UTF-8
    std::string errHas;  // part of the message on standard error; "" for none at all
};

class Cli : public ::testing::TestWithParam<CliCase> {};

TEST_P(Cli, ExitCodesOutputAndMessages)
{
    const CliHarness cli(kTexts);
    const CliCase& c = GetParam();
    const CliOutcome r = cli.run(c.args);
    EXPECT_EQ(r.code, c.code) << r.err;
    EXPECT_EQ(r.out, cli.expand(c.out));
    if (c.errHas.empty()) {
        EXPECT_EQ(r.err, "");
    } else {
        EXPECT_NE(r.err.find(cli.expand(c.errHas)), std::string::npos) << r.err;
        EXPECT_EQ(r.err.rfind("quorvex-cli : ", 0), 0u) << r.err;
    }
    if (r.code == 2) {
        EXPECT_NE(r.err.find("--help"), std::string::npos);
    }
    EXPECT_EQ(cli.dir.entries(), kTexts.size()) << "nothing may be left in the folder";
}

INSTANTIATE_TEST_SUITE_P(
    CliRunner, Cli,
    ::testing::Values(
        CliCase{"countAnyCaseWithEqualsForm", {"--latin={small.txt}", "--count", "AMOR"}, 0, "4\n", ""},
        CliCase{"listInUtf8", {"--latin", "{small.txt}", "--list", "ÉTÉ"}, 0, "été\t[1]\n", ""},
        CliCase{"listTextOrder", {"--latin", "{small.txt}", "--list", "am*"}, 0,
                "Amor\t\namor\t[1]\nam\t[1]\nAMOR\t[2]\namat\t[2]\namor\t[10]\n", ""},
        CliCase{"listSortedByForms", {"--latin", "{small.txt}", "--sort", "forms", "--list", "am*"},
                0, "am\t[1]\namat\t[2]\nAmor\t\namor\t[10]\namor\t[1]\nAMOR\t[2]\n", ""},
        CliCase{"doubleDashBeforeFormWithMinus", {"--latin", "{small.txt}", "--count", "--", "-am"},
                0, "0\n", ""},
        CliCase{"emptyFormFindsNothing", {"--latin", "{small.txt}", "--count", ""}, 0, "0\n", ""},
        CliCase{"formMissingFromCodePage", {"--latin", "{small.txt}", "--count", "\xC4\x81*"}, 0,
                "0\n", "Windows-1252"},
        CliCase{"formWithMinusNeedsDoubleDash", {"--latin", "{small.txt}", "--count", "-am"}, 2, "",
                "option inconnue"},
        CliCase{"latinOptionMissing", {"--count", "amor"}, 2, "", "--latin"},
        CliCase{"formMissing", {"--latin", "{small.txt}", "--count"}, 2, "", "forme"},
        CliCase{"twoForms", {"--latin", "{small.txt}", "amor", "amat"}, 2, "", "de trop"},
        CliCase{"countAndList", {"--latin", "{small.txt}", "--count", "--list", "a"}, 2, "", "ensemble"},
        CliCase{"badSortValue", {"--latin", "{small.txt}", "--sort", "refs", "a"}, 2, "", "--sort"},
        CliCase{"valueMissing", {"a", "--latin"}, 2, "", "attend une valeur"},
        CliCase{"optionRepeated", {"--latin", "{small.txt}", "--latin", "{small.txt}", "a"}, 2, "",
                "deux fois"},
        CliCase{"flagWithValue", {"--latin", "{small.txt}", "--count=1", "a"}, 2, "", "pas de valeur"},
        CliCase{"outputWithCount", {"--latin", "{small.txt}", "--count", "--output", "{o.txt}", "a"},
                2, "", "--output"},
        CliCase{"titleMissingFromCodePage", {"--latin", "{small.txt}", "--title", "\xC4\x81", "a"}, 2,
                "", "Windows-1252"},
        CliCase{"latinFileMissing", {"--latin", "{absent.txt}", "--count", "a"}, 1, "", "introuvable"},
        CliCase{"latinIsAFolder", {"--latin", "{}", "--count", "a"}, 1, "", "dossier"},
        CliCase{"frenchFileMissing", {"--latin", "{small.txt}", "--french", "{fr.txt}", "amor"}, 1,
                "", "fr.txt"},
        CliCase{"outputCannotBeWritten", {"--latin", "{small.txt}", "--output", "{none/o.txt}", "amor"},
                1, "", "ne peut pas être écrit"},
        CliCase{"outputIsAFolder", {"--latin", "{small.txt}", "--output", "{}", "amor"}, 1, "", "dossier"},
        // KWIC, frequencies, exports and the reference check.
        CliCase{"kwic", {"--latin", "{latin.txt}", "--kwic", "4", "amor"}, 0,
                "[1]  [1] Amor \"vi\n[2]  [2] amor <et\n[2]  > & AMOR [3]\n[3]  mat amor\n", ""},
        CliCase{"kwicSortedByForms", {"--latin", "{latin.txt}", "--sort", "forms", "--kwic", "2", "a*"},
                0, "[3]  ] amat a\n[1]  ] Amor \"\n[2]  ] amor <\n[2]  & AMOR [\n[3]  t amor\n", ""},
        CliCase{"kwicDefaultWidthFormNotTakenForIt", {"--latin", "{latin.txt}", "--kwic", "amat"}, 0,
                "[3]  incit\", omnia. [2] amor <et> & AMOR [3] amat amor\n", ""},
        CliCase{"kwicDigitsFormAfterDoubleDash", {"--latin", "{latin.txt}", "--kwic", "--", "12"}, 0,
                "", ""},
        CliCase{"frequencies", {"--latin", "{latin.txt}", "--frequencies", "*"}, 0,
                "amor 2 / AMOR 1 / Amor 1 — amor 4\namat 1 — amat 1\net 1 — et 1\n"
                "omnia 1 — omnia 1\nvincit 1 — vincit 1\n", ""},
        CliCase{"frequenciesCsv", {"--latin", "{latin.txt}", "--format", "csv", "--frequencies", "a*"},
                0, "forme,nombre,forme en minuscules,total\r\namor,2,amor,4\r\nAMOR,1,amor,4\r\n"
                   "Amor,1,amor,4\r\namat,1,amat,1\r\n", ""},
        CliCase{"exportEmptyText", {"--latin", "{vide.txt}", "--format", "csv", "amor"}, 0,
                "forme,référence,passage latin,passage français\r\n", ""},
        CliCase{"exportTsv", {"--latin", "{latin.txt}", "--french", "{francais.txt}", "--format", "tsv",
                "amor"}, 0,
                "forme\tréférence\tpassage latin\tpassage français\n"
                "Amor\t[1]\t[1] Amor \"vincit\", omnia.\\r\\n\t[1] L'amour vainc tout.\\r\\n\n"
                "amor\t[2]\t[2] amor\\t<et> & AMOR\\r\\n\t[2] L'amour & <et>\\r\\n\n"
                "AMOR\t[2]\t[2] amor\\t<et> & AMOR\\r\\n\t[2] L'amour & <et>\\r\\n\n"
                "amor\t[3]\t[3] amat amor\t\n", ""},
        CliCase{"checkDisagree", {"--latin", "{latin.txt}", "--french", "{francais.txt}", "--check"}, 3,
                "{latin.txt}:3: la référence [3] manque dans le texte français.\n"
                "1 constat : les textes ne concordent pas.\n", ""},
        CliCase{"checkAgree", {"--latin", "{francais.txt}", "--french", "{francais.txt}", "--check"}, 0,
                "Les deux textes concordent : 2 références dans chacun.\n", ""},
        CliCase{"checkLatinAlone", {"--latin", "{latin.txt}", "--check"}, 0,
                "Le texte latin est en ordre : 3 références.\n", ""},
        CliCase{"checkEmptyLatin", {"--latin", "{vide.txt}", "--french", "{francais.txt}", "--check"}, 3,
                "{francais.txt}:1: la référence [1] manque dans le texte latin.\n"
                "{francais.txt}:2: la référence [2] manque dans le texte latin.\n"
                "2 constats : les textes ne concordent pas.\n", ""},
        CliCase{"kwicLatinMissing", {"--latin", "{absent.txt}", "--kwic", "amor"}, 1, "", "introuvable"},
        CliCase{"exportFrenchIsAFolder", {"--latin", "{latin.txt}", "--french", "{}", "--format", "tsv",
                "amor"}, 1, "", "dossier"},
        CliCase{"checkFrenchMissing", {"--latin", "{latin.txt}", "--french", "{fr.txt}", "--check"}, 1,
                "", "{fr.txt}"},
        CliCase{"kwicBadWidth", {"--latin", "{latin.txt}", "--kwic=4x", "amor"}, 2, "", "--kwic"},
        CliCase{"kwicTooWide", {"--latin", "{latin.txt}", "--kwic", "100001", "amor"}, 2, "", "--kwic"},
        CliCase{"formatBadValue", {"--latin", "{latin.txt}", "--format", "xls", "a"}, 2, "", "--format"},
        CliCase{"formatWithCount", {"--latin", "{latin.txt}", "--format", "csv", "--count", "a"}, 2, "",
                "--format"},
        CliCase{"formatHtmlWithFrequencies", {"--latin", "{latin.txt}", "--format", "html",
                "--frequencies", "a"}, 2, "", "html"},
        CliCase{"frequenciesSortedByForms", {"--latin", "{latin.txt}", "--sort", "forms",
                "--frequencies", "a"}, 2, "", "--sort"},
        CliCase{"checkWithForm", {"--latin", "{latin.txt}", "--check", "amor"}, 2, "", "amor"},
        CliCase{"checkWithOutput", {"--latin", "{latin.txt}", "--check", "--output", "{o}"}, 2, "",
                "--output"},
        CliCase{"checkWithoutLatin", {"--french", "{francais.txt}", "--check"}, 2, "", "--latin"},
        // What a freshly opened viewer shows, and the two printouts as operation lists.
        CliCase{"showMiddlePassageMarkedAcrossLineBreak",
                {"--latin", "{show.txt}", "--french", "{show-fr.txt}", "--show", "[2]", "--mark", "amor"},
                0, "latin: 39\n[2] Amor vincit; amor\r\net amorem été.\r\n\nfrançais: 18\n"
                   "[2] L'amour été.\r\n\nprécédente: [1]\nsuivante: [. 3]\nmarques: 2\n4 4\n17 4\n", ""},
        CliCase{"showAccentedMarkInUtf8", {"--latin", "{show.txt}", "--show", "[2]", "--mark", "ÉTÉ"},
                0, "latin: 39\n[2] Amor vincit; amor\r\net amorem été.\r\n\nfrançais: sans fichier\n"
                   "précédente: [1]\nsuivante: [. 3]\nmarques: 1\n33 3\n", ""},
        CliCase{"showLastPassageWithLettersFormAtEnd",
                {"--latin", "{show.txt}", "--french", "{show-fr.txt}", "--show", "[. 3]", "--mark", "amor"},
                0, "latin: 18\n[Prol. 3] ubi amor\nfrançais: absente\nprécédente: [2]\nsuivante: \n"
                   "marques: 1\n14 4\n", ""},
        CliCase{"showEmptyReferenceFromSecondCharacter", {"--latin", "{show.txt}", "--show", ""}, 0,
                "latin: 9\nraefatio \nfrançais: sans fichier\nprécédente: \nsuivante: [1]\nmarques: 0\n",
                ""},
        CliCase{"showMissingReferenceLastMarkerBecomesPrevious",
                {"--latin", "{show.txt}", "--show=[9]", "--mark", "amor"}, 0,
                "latin: absente\nfrançais: sans fichier\nprécédente: [. 3]\nsuivante: \nmarques: 0\n", ""},
        CliCase{"showFrenchIsAFolder", {"--latin", "{show.txt}", "--french", "{}", "--show", "[1]"}, 1,
                "", "dossier"},
        CliCase{"showWithForm", {"--latin", "{show.txt}", "--show", "[1]", "amor"}, 2, "", "--mark"},
        CliCase{"markWithoutShow", {"--latin", "{show.txt}", "--mark", "amor", "amor"}, 2, "", "--show"},
        CliCase{"showWithOutput", {"--latin", "{show.txt}", "--show", "[1]", "--output", "{x}"}, 2, "",
                "--output"},
        CliCase{"printListSortedByForms",
                {"--latin", "{print.txt}", "--print-list", "--sort", "forms", "am*"}, 0,
                "type \"verdana\" 12 bold\ntext \"Forme(s)\"\nx 5000\ntext \"Références\"\nendline\n"
                "text \"------------------------------------------------------------\"\nendline\n"
                "type \"verdana\" 9\ntext \"amabo\"\nx 5000\ntext \"[2]\"\nendline\n"
                "text \"Amor\"\nx 5000\ntext \"[1]\"\nendline\nenddoc\n", ""},
        CliCase{"printContextBothPanes",
                {"--latin", "{print.txt}", "--french", "{print-fr.txt}", "--print-context", "[1]"}, 0,
                heading("latin") + "text \"[1] Amor omnia vincit.\\r\\n\"\nendline\n"
                    + heading("francais") + "text \"[1] L'amour vainc tout,\xC2\xA0" "déjà.\\r\\n\"\n"
                    "endline\nenddoc\n", ""},
        CliCase{"printContextLineBreakAsThePaneHoldsIt",
                {"--latin", "{print.txt}", "--print-context", "[2]"}, 0,
                heading("latin") + "text \"[2] amabo te\\r\\n\"\nendline\n" + heading("francais")
                    + kEmptyPane + "enddoc\n", ""},
        CliCase{"printContextReferenceMissingLeavesPanesEmpty",
                {"--latin", "{print.txt}", "--french", "{print-fr.txt}", "--print-context", "[9]"}, 0,
                heading("latin") + kEmptyPane + heading("francais") + kEmptyPane + "enddoc\n", ""},
        CliCase{"printContextWithForm", {"--latin", "{print.txt}", "--print-context", "[1]", "amor"}, 2,
                "", "--print-context ne prend pas de forme"},
        CliCase{"printContextFrenchMissing",
                {"--latin", "{print.txt}", "--french", "{absent.txt}", "--print-context", "[1]"}, 1, "",
                "absent.txt"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CliRunner, WorkedExampleReplacesTheResultFile)
{
    const CliHarness cli({{"latin.txt", kExampleLatin}, {"fr.txt", kExampleFrench},
                          {"out.txt", "older result"}});
    const CliOutcome r = cli.run({"--latin", "{latin.txt}", "--french", "{fr.txt}", "--title",
                                  kExampleTitle, "--date", kExampleDate, "--output", "{out.txt}", "rosam"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(slurp(cli.expand("{out.txt}")), exampleResultFile());
    // A UTF-8 title is written in Windows-1252.
    const CliOutcome titled = cli.run({"--latin", "{latin.txt}", "--title", "été", "--date", "d", "zz"});
    EXPECT_EQ(titled.out.rfind("R\xE9" "f\xE9rence(s) : \xE9t\xE9\r\n", 0), 0u);
}

// The same passages as the export rows, as a page: escaped, the row's form marked.
TEST(CliRunner, HtmlExportIsAValidPage)
{
    const CliHarness cli({kTexts[1], kTexts[2]});
    const CliOutcome html = cli.run({"--latin", "{latin.txt}", "--french", "{francais.txt}", "--title",
                                     "Essai <1>", "--sort", "forms", "--format", "html", "amor"});
    EXPECT_EQ(html.code, 0) << html.err;
    const std::string& page = html.out;
    EXPECT_EQ(page.rfind("<!DOCTYPE html>\n<html lang=\"fr\">\n<head>\n<meta charset=\"utf-8\">", 0), 0u);
    EXPECT_EQ(page.substr(page.size() - 8), "</html>\n");
    EXPECT_EQ(page.find("<script"), std::string::npos);
    EXPECT_NE(page.find("<title>Essai &lt;1&gt;</title>"), std::string::npos);
    EXPECT_NE(page.find("pour : amor = 4</p>"), std::string::npos);
    // Every occurrence of the row's form is marked in the Latin passage, not in the French.
    EXPECT_NE(page.find("<tr><td>amor</td><td>[2]</td><td class=\"passage\" lang=\"la\">[2] "
                        "<mark>amor</mark>\t&lt;et&gt; &amp; <mark>AMOR</mark>\r\n</td>"
                        "<td class=\"passage\">[2] L'amour &amp; &lt;et&gt;\r\n</td></tr>\n"),
              std::string::npos);
    // Sorted like the "Formes" button: by form, then by reference.
    EXPECT_LT(page.find("<tr><td>Amor</td><td>[1]"), page.find("<tr><td>amor</td><td>[2]"));
    EXPECT_LT(page.find("<tr><td>AMOR</td><td>[2]"), page.find("<tr><td>amor</td><td>[3]"));

}

TEST(CliRunner, ExportToAFileReplacesItWholeOrNotAtAll)
{
    const CliHarness cli({kTexts[1], {"old.csv", "older export"}});
    const CliOutcome ok = cli.run({"--latin", "{latin.txt}", "--format", "csv", "--output", "{old.csv}", "amat"});
    EXPECT_EQ(ok.code, 0) << ok.err;
    EXPECT_EQ(ok.out, "");
    EXPECT_EQ(slurp(cli.expand("{old.csv}")),
              "forme,référence,passage latin,passage français\r\namat,[3],[3] amat amor,\r\n");
    const CliOutcome nowhere = cli.run({"--latin", "{latin.txt}", "--format", "tsv", "--output",
                                        "{absent/out.tsv}", "amat"});
    EXPECT_EQ(nowhere.code, 1);
    EXPECT_NE(nowhere.err.find("ne peut pas être écrit"), std::string::npos) << nowhere.err;
    EXPECT_EQ(cli.dir.entries(), 2u) << "no temporary file may be left";
}

TEST(CliRunner, HelpGivesAnExampleOfEveryOption)
{
    const CliOutcome r = CliHarness({}).run({"--help"});
    ASSERT_EQ(r.code, 0);
    std::istringstream lines(r.out);
    std::string line, option;
    std::size_t options = 0;
    while (std::getline(lines, line)) {
        if (line.rfind("  --", 0) == 0) {
            EXPECT_EQ(option, "") << "no example for " << option;
            option = line.substr(2, line.find(' ', 2) - 2);
            ++options;
        } else if (line.rfind("      exemple : quorvex-cli", 0) == 0) {
            EXPECT_NE(line.find(option), std::string::npos) << line;
            option.clear();
        }
    }
    EXPECT_EQ(option, "");
    EXPECT_GE(options, 17u);
}

// The first line is what the man page and the package show as the version.
TEST(CliRunner, VersionNamesTheProgramAndItsLicence)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--version"}, {"--latin", "absent.txt", "--version", "amor"}}) {
        const CliOutcome r = CliHarness({}).run(args);
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.out.substr(0, r.out.find('\n')),
                  std::string("quorvex-cli (Veltrano - Quorvex) ") + QUORVEX_VERSION);
        EXPECT_NE(r.out.find("GPL-3.0-or-later"), std::string::npos) << r.out;
    }
}

#ifdef QUORVEX_CLI_PATH
// The program itself: its exit codes, raw bytes on standard output, and a full disk there.
TEST(CliProcess, ExitCodesAndBytes)
{
    const CliHarness cli({{"latin.txt", kExampleLatin}, {"fr.txt", kExampleFrench}, kTexts[2],
                          {"power.txt", kTexts[1].second}});
    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::string stdoutPath;
        int code;
        const char* errHas;
    };
    const Case cases[] = {
        {"workedExample", {"--latin", "{latin.txt}", "--french", "{fr.txt}", "--title", kExampleTitle,
                           "--date", kExampleDate, "rosam"}, "", 0, ""},
        {"usageError", {"--latin", "{latin.txt}"}, "", 2, "--help"},
        {"fileError", {"--latin", "{absent.txt}", "rosam"}, "", 1, "introuvable"},
        {"checkDisagrees", {"--latin", "{power.txt}", "--french", "{francais.txt}", "--check"}, "", 3, ""},
        {"fullDiskKwic", {"--latin", "{power.txt}", "--kwic", "*"}, "/dev/full", 1, "sortie standard"},
        {"fullDiskExport", {"--latin", "{power.txt}", "--format", "html", "*"}, "/dev/full", 1,
         "sortie standard"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CliOutcome r = cli.runProcess(c.args, c.stdoutPath);
        EXPECT_EQ(r.code, c.code) << r.err;
        EXPECT_NE(r.err.find(c.errHas), std::string::npos) << r.err;
        const std::string out = c.code == 0 ? exampleResultFile() : "";
        if (c.code != 3) {
            EXPECT_EQ(r.out, out);
        }
    }
}

// Below what a run needs, the program ends with a French message naming what it was doing,
// exit 1, never an abort. 8 million words: the text takes 16 MB, its word table 64 MB more,
// the list of every word 32 MB more, the program itself under 10 MB. A list in text order
// builds no table: it needs the text and its 24 MB of lines.
TEST(CliProcess, RunningShortOfMemoryIsAMessage)
{
    std::string words;
    words.reserve(16'000'000);
    for (int i = 0; i < 8'000'000; ++i)
        words += "a ";
    const CliHarness cli({{"words.txt", words}});
    struct Case {
        const char* name;
        std::size_t limitMb;
        std::string sort;
        std::string errHas;  // empty: the list fits and is written
    };
    const Case cases[] = {
        {"tableDoesNotFit", 40, "forms", "mémoire insuffisante pour charger le texte « " + cli.expand("{words.txt}") + " »."},
        {"listDoesNotFit", 100, "forms", "mémoire insuffisante pour la recherche de « * »."},
        {"linesInTextOrderDoNotFit", 30, "text", "mémoire insuffisante pour la recherche de « * »."},
        {"linesInTextOrderFitWhereTheTableWouldNot", 100, "text", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CliOutcome r = cli.runProcess({"--latin", "{words.txt}", "--sort", c.sort, "--list", "*"},
                                            "/dev/null", c.limitMb * 1024);
        EXPECT_EQ(r.code, c.errHas.empty() ? 0 : 1) << r.err;
        if (c.errHas.empty())
            EXPECT_EQ(r.err, "");
        else
            EXPECT_NE(r.err.find(c.errHas), std::string::npos) << r.err;
    }
}

#endif

// A list in text order is written from one pass over the text, any other list from the word
// table (a one-word phrase takes that road): the two give the same bytes, whatever the markers.
TEST(CliRunner, ListInOnePassWritesWhatTheWordTableWrites)
{
    std::vector<std::pair<std::string, std::string>> texts = {
        {"markers.txt", "Amor [1] amor \xE9t\xE9 -am [2] AMOR] amat]] [10 a] amor\r\n"
                        "[3 unclosed, et, ET et[4]et [5]]] Et\x9C\xFF\xC0t\xE9 [] et"},
        {"empty.txt", ""},
        {"noWord.txt", "[1] 2, 3."},
        {"oneWord.txt", "et"},
    };
    const std::string corpus = std::string(QUORVEX_CORPUS_DIR) + "/latin-nt.txt";
    const bool withCorpus = std::filesystem::exists(corpus);
    if (withCorpus)
        texts.emplace_back("corpus.txt", readText(corpus).text);
    const CliHarness cli(texts);
    for (const auto& [name, bytes] : texts) {
        for (const char* form : {"et", "ET", "a*", "*", "*t", "\xC3\xA9t\xC3\xA9", "a", "zzz", ""}) {
            SCOPED_TRACE(name + " " + form);
            const std::string path = "{" + name + "}";
            const CliOutcome onePass = cli.run({"--latin", path, "--list", "--", form});
            const CliOutcome table = cli.run({"--latin", path, "--phrase", "--list", "--", form});
            EXPECT_EQ(onePass.code, 0) << onePass.err;
            EXPECT_EQ(onePass.out, table.out);
            EXPECT_EQ(onePass.err, table.err);
        }
    }
}

// The samples the README works with: parallel texts that agree, reference for reference.
TEST(Samples, Agree)
{
    const std::string dir = QUORVEX_SAMPLES_DIR;
    const CliOutcome r = CliHarness({}).run(
        {"--latin", dir + "/latin.txt", "--french", dir + "/francais.txt", "--check"});
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_EQ(r.out, "Les deux textes concordent : 40 références dans chacun.\n");
}

} // namespace
} // namespace quorvex
