// The reader's options of quorvex-cli through the whole command: spelling folded, phrases,
// both sides of the pair, collocates and the dispersion picture.

#include "CliHarness.h"

#include <gtest/gtest.h>

namespace quorvex {
namespace {

using namespace testsupport;

// Windows-1252. The French text lacks [3] and has [2] twice.
const std::vector<std::pair<std::string, std::string>> kTexts = {
    {"la.txt", "[1.1] C\xE6lum et terra, c\xE6lum.\r\n[1.2] Et caelum P\x9Cnitentiam\r\n"
               "[2.1] Deus meus, Deus\r\n[2.2] meus est\r\n[3.1] Justus Deus"},
    {"fr.txt", "[1.1] Le ciel et la terre.\r\n[1.2] Et le ciel, la p\x9Cnitence.\r\n"
               "[2.1] O mon roi\r\n[2.2] Seigneur.\r\n[2.1] Dieu.\r\n"},
};

struct ReaderCase {
    const char* name;
    std::vector<std::string> args;
    int code;
    std::string out;     // exact standard output, UTF-8
    std::string errHas;  // part of the message; "" for none
};

class ReaderOptions : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(ReaderOptions, OutputsAndMessages)
{
    const CliHarness cli(kTexts);
    const ReaderCase& c = GetParam();
    const CliOutcome r = cli.run(c.args);
    EXPECT_EQ(r.code, c.code) << r.err;
    EXPECT_EQ(r.out, cli.expand(c.out));
    if (c.errHas.empty())
        EXPECT_EQ(r.err, "");
    else
        EXPECT_NE(r.err.find(c.errHas), std::string::npos) << r.err;
    EXPECT_EQ(cli.dir.entries(), kTexts.size()) << "nothing may be left in the folder";
}

const std::string kLa = "{la.txt}";
const std::string kFr = "{fr.txt}";

INSTANTIATE_TEST_SUITE_P(
    Cli, ReaderOptions,
    ::testing::Values(
        ReaderCase{"plainSearchUnchanged", {"--latin", kLa, "--list", "caelum"}, 0, "caelum\t[1.2]\n", ""},
        ReaderCase{"normalizeFindsLigatures", {"--latin", kLa, "--normalize", "--list", "caelum"}, 0,
                   "Cælum\t[1.1]\ncælum\t[1.1]\ncaelum\t[1.2]\n", ""},
        ReaderCase{"normalizeOeInsideWordWithStar", {"--latin", kLa, "--normalize", "--list", "poenit*"},
                   0, "Pœnitentiam\t[1.2]\n", ""},
        ReaderCase{"withoutNormalizeOeCutsTheWord", {"--latin", kLa, "--count", "poenit*"}, 0, "0\n", ""},
        ReaderCase{"normalizeJ", {"--latin", kLa, "--normalize", "--count", "iustus"}, 0, "1\n", ""},
        ReaderCase{"normalizeCountsLigaturesAsTheListFinds", {"--latin", kLa, "--normalize", "--count", "CAELUM"}, 0,
                   "3\n", ""},
        ReaderCase{"normalizeCountsAnOeWord", {"--latin", kLa, "--normalize", "--count", "poenitentiam"}, 0, "1\n", ""},
        ReaderCase{"normalizeCountsWithAStar", {"--latin", kLa, "--normalize", "--count", "p*am"}, 0, "1\n", ""},
        ReaderCase{"phraseAcrossMarker", {"--latin", kLa, "--phrase", "--list", "deus meus"}, 0,
                   "Deus meus\t[2.1]\nDeus meus\t[2.1]\n", ""},
        ReaderCase{"phraseSortedByForms",
                   {"--latin", kLa, "--phrase", "--sort", "forms", "--list", "* deus"}, 0,
                   "Justus Deus\t[3.1]\nmeus Deus\t[2.1]\nnitentiam Deus\t[1.2]\n", ""},
        ReaderCase{"phraseKwicOverLineBreak", {"--latin", kLa, "--phrase", "--kwic", "3", "deus meus"}, 0,
                   "[2.1]  1] Deus meus, D\n[2.1]  s, Deus [2.2] meus es\n", ""},
        ReaderCase{"frenchFormTheNextPassageDoesNotCount",
                   {"--latin", kLa, "--french", kFr, "--french-form", "SEIGNEUR*", "--list", "deus"}, 0,
                   "", ""},
        ReaderCase{"frenchFormPassageTwiceAndMissing",
                   {"--latin", kLa, "--french", kFr, "--french-form", "dieu", "--list", "deus"}, 0,
                   "Deus\t[2.1]\nDeus\t[2.1]\n", ""},
        ReaderCase{"frenchFormAccentsFoldedWithNormalize",
                   {"--latin", kLa, "--french", kFr, "--normalize", "--french-form", "poenitence",
                    "--count", "et"}, 0, "1\n", ""},
        ReaderCase{"sideFrench", {"--latin", kLa, "--french", kFr, "--side", "french", "--list", "ciel"}, 0,
                   "ciel\t[1.1]\nciel\t[1.2]\n", ""},
        ReaderCase{"sideFrenchResultFileFrenchFirst",
                   {"--latin", kLa, "--french", kFr, "--side", "french", "--date", "d", "seigneur"}, 0,
                   // Windows-1252, as the result file always is.
                   "R\xE9" "f\xE9rence(s) : \r\nRecherche effectu\xE9" "e le : d\r\n" + std::string(74, '-')
                       + "\r\n\r\nForme(s)" + std::string(28, ' ') + "R\xE9" "f\xE9rences\r\nSeigneur"
                       + std::string(28, ' ') + "[2.2]\r\n"
                       + std::string(74, '-') + "\r\n[2.2] Seigneur.\r\n\r\n[2.2] meus est\r\n\r\n",
                   ""},
        ReaderCase{"collocatesTsv", {"--latin", kLa, "--collocates", "1", "terra"}, 0,
                   "collocate\tcooccurrences\tfrequency\tmi\tlog_likelihood\n"
                   "cælum\t1\t2\t1.907\t1.957\net\t1\t2\t1.907\t1.957\n", ""},
        ReaderCase{"collocatesCsvNormalized",
                   {"--latin", kLa, "--normalize", "--format", "csv", "--collocates", "1", "terra"}, 0,
                   "collocate,cooccurrences,frequency,mi,log_likelihood\r\n"
                   "et,1,2,1.807,1.827\r\ncaelum,1,3,1.222,0.962\r\n", ""},
        ReaderCase{"collocatesWindowZero", {"--latin", kLa, "--collocates", "0", "deus"}, 2, "", "1 à 50"},
        ReaderCase{"collocatesWindowTooWide", {"--latin", kLa, "--collocates=51", "deus"}, 2, "", "1 à 50"},
        ReaderCase{"collocatesHtml", {"--latin", kLa, "--format", "html", "--collocates", "2", "deus"}, 2,
                   "", "html"},
        ReaderCase{"plotWithCount", {"--latin", kLa, "--plot", "{p.svg}", "--count", "deus"}, 2, "",
                   "--plot"},
        ReaderCase{"plotWithOutput", {"--latin", kLa, "--plot", "{p.svg}", "--output", "{o}", "deus"}, 2,
                   "", "--output"},
        ReaderCase{"sideFrenchWithoutFrench", {"--latin", kLa, "--side", "french", "--count", "x"}, 2, "",
                   "--french FICHIER"},
        ReaderCase{"sideBadValue", {"--latin", kLa, "--side", "greek", "x"}, 2, "", "--side"},
        ReaderCase{"frenchFormOnFrenchSide",
                   {"--latin", kLa, "--french", kFr, "--side", "french", "--french-form", "a", "x"}, 2, "",
                   "--french-form"},
        ReaderCase{"normalizeWithFrequencies", {"--latin", kLa, "--normalize", "--frequencies", "x"}, 2,
                   "", "--normalize"},
        ReaderCase{"sideFrenchFileMissing",
                   {"--latin", kLa, "--french", "{absent.txt}", "--side", "french", "--count", "x"}, 1, "",
                   "absent.txt"},
        ReaderCase{"plotCannotBeWritten", {"--latin", kLa, "--plot", "{none/p.svg}", "deus"}, 1, "",
                   "ne peut pas être écrit"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReaderOptions, PlotFileAndTheHtmlPageThatCarriesIt)
{
    const CliHarness cli(kTexts);
    const CliOutcome alone = cli.run({"--latin", kLa, "--plot", "{deus.svg}", "deus"});
    ASSERT_EQ(alone.code, 0) << alone.err;
    EXPECT_EQ(alone.out, "");
    const std::string svg = slurp(cli.expand("{deus.svg}"));
    EXPECT_EQ(svg.rfind("<svg xmlns=\"http://www.w3.org/2000/svg\"", 0), 0u);
    EXPECT_NE(svg.find("deus\xC2\xA0\xC2\xBB : 3 attestations sur 15 mots"), std::string::npos) << svg;
    std::size_t bands = 0;
    for (std::size_t at = svg.find("<g class=\"band\">"); at != std::string::npos;
         at = svg.find("<g class=\"band\">", at + 1))
        ++bands;
    EXPECT_EQ(bands, 3u);

    const CliOutcome page = cli.run({"--latin", kLa, "--french", kFr, "--plot", "{p2.svg}", "--format",
                                     "html", "deus"});
    ASSERT_EQ(page.code, 0) << page.err;
    const std::size_t h1 = page.out.find("</h1>\n<figure>\n<svg ");
    EXPECT_NE(h1, std::string::npos);
    EXPECT_LT(h1, page.out.find("<table>"));
    EXPECT_EQ(slurp(cli.expand("{p2.svg}")), svg);

    const CliOutcome plain = cli.run({"--latin", kLa, "--format", "html", "deus"});
    EXPECT_EQ(plain.out.find("<svg"), std::string::npos) << "without --plot the page stays as it is";
}

// The searched text's passage of every row of an HTML page, as written (UTF-8).
std::vector<std::string> markedPassages(const std::string& page)
{
    std::vector<std::string> out;
    for (std::size_t row = page.find("<tr><td>"); row != std::string::npos;
         row = page.find("<tr><td>", row + 1)) {
        const std::size_t open = page.find("<td class=\"passage\"", row);
        const std::size_t from = page.find('>', open) + 1;
        out.push_back(page.substr(from, page.find("</td>", from) - from));
    }
    return out;
}

struct HtmlMarkCase {
    const char* name;
    std::vector<std::string> args;
    std::vector<std::string> passages;  // the marked passage of each row
};

class HtmlMarks : public ::testing::TestWithParam<HtmlMarkCase> {};

TEST_P(HtmlMarks, PhraseWordsMarkedWhereTheyStand)
{
    const CliHarness cli(kTexts);
    std::vector<std::string> args = {"--latin", kLa, "--french", kFr, "--format", "html"};
    args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
    const CliOutcome r = cli.run(args);
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(markedPassages(r.out), GetParam().passages);
}

INSTANTIATE_TEST_SUITE_P(
    Cli, HtmlMarks,
    ::testing::Values(
        // The second attestation goes on into [2.2]: its first word is marked in [2.1].
        HtmlMarkCase{"phraseGoingOnPastThePassage",
                     {"--phrase", "deus meus"},
                     {"[2.1] <mark>Deus</mark> <mark>meus</mark>, <mark>Deus</mark>\r\n",
                      "[2.1] <mark>Deus</mark> <mark>meus</mark>, <mark>Deus</mark>\r\n"}},
        HtmlMarkCase{"phraseAcrossPunctuationWithStar",
                     {"--phrase", "terra c*"},
                     {"[1.1] Cælum et <mark>terra</mark>, <mark>cælum</mark>.\r\n"}},
        HtmlMarkCase{"phraseAcrossALineBreakAndAMarker",
                     {"--phrase", "* justus"},
                     {"[2.2] meus <mark>est</mark>\r\n"}},
        HtmlMarkCase{"phraseWithOeNormalized",
                     {"--normalize", "--phrase", "caelum poenitentiam"},
                     {"[1.2] Et <mark>caelum</mark> <mark>Pœnitentiam</mark>\r\n"}},
        HtmlMarkCase{"phraseOnTheFrenchSide",
                     {"--side", "french", "--phrase", "le   ciel"},
                     {"[1.1] <mark>Le</mark> <mark>ciel</mark> et la terre.\r\n",
                      "[1.2] Et <mark>le</mark> <mark>ciel</mark>, la pœnitence.\r\n"}},
        HtmlMarkCase{"singleFormAsBefore",
                     {"deus"},
                     {"[2.1] <mark>Deus</mark> meus, <mark>Deus</mark>\r\n",
                      "[2.1] <mark>Deus</mark> meus, <mark>Deus</mark>\r\n",
                      "[3.1] Justus <mark>Deus</mark>"}},
        HtmlMarkCase{"normalizedFormWithOe",
                     {"--normalize", "poenitentiam"},
                     {"[1.2] Et caelum <mark>Pœnitentiam</mark>\r\n"}}),
    [](const auto& info) { return std::string(info.param.name); });

// œ and Œ are letters of French words wherever French is searched, filtered or marked; the
// Latin side keeps the window's letters. Windows-1252: \x9C œ, \x8C Œ.
TEST(ReaderOptionsFrenchLetters, OeIsALetterOfFrenchWordsOnly)
{
    const CliHarness cli({{"la.txt", "[1] Cor meum. [2] Opus magnum, c\x9Clum. [3] Sorores meae."},
                          {"fr.txt", "[1] Mon c\x9Cur. [2] L'\x8Cuvre grande ; le C\x8CUR. [3] Mes s\x9Curs, s\x9Cur."}});
    struct Row {
        const char* name;
        std::vector<std::string> args;  // after the two texts
        std::string out;
    };
    const std::vector<Row> rows = {
        {"cœur whole, Œ lowered", {"--side", "french", "--list", "c\xC5\x93ur"},
         "c\xC5\x93ur\t[1]\nC\xC5\x92UR\t[2]\n"},
        {"Œuvre typed small", {"--side", "french", "--list", "\xC5\x93uvre"}, "\xC5\x92uvre\t[2]\n"},
        {"sœurs with a star", {"--side", "french", "--list", "s\xC5\x93ur*"}, "s\xC5\x93urs\t[3]\ns\xC5\x93ur\t[3]\n"},
        {"sœurs sorted by form", {"--side", "french", "--sort", "forms", "--list", "s*"},
         "s\xC5\x93ur\t[3]\ns\xC5\x93urs\t[3]\n"},
        {"French form sœurs on the Latin list", {"--french-form", "s\xC5\x93urs", "--list", "sorores"},
         "Sorores\t[3]\n"},
        {"French form Œuvre in capitals", {"--french-form", "\xC5\x92UVRE", "--list", "opus"}, "Opus\t[2]\n"},
        {"Latin side: œ still ends a word", {"--list", "lum"}, "lum\t[2]\n"},
        {"Latin side: cœlum no word", {"--count", "c\xC5\x93lum"}, "0\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<std::string> args = {"--latin", "{la.txt}", "--french", "{fr.txt}"};
        args.insert(args.end(), row.args.begin(), row.args.end());
        const CliOutcome r = cli.run(args);
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.out, row.out);
    }
    // The HTML export marks the French word whole.
    const CliOutcome html = cli.run({"--latin", "{la.txt}", "--french", "{fr.txt}", "--side", "french", "--format",
                                     "html", "s\xC5\x93urs"});
    EXPECT_EQ(html.code, 0) << html.err;
    EXPECT_NE(html.out.find("[3] Mes <mark>s\xC5\x93urs</mark>, s\xC5\x93ur."), std::string::npos) << html.out;
}

} // namespace
} // namespace quorvex
