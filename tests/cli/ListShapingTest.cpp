// The list ordered by its neighbouring words (--sort left|right) and without some forms
// (--exclude-form): quorvex-cli's rows against the core's list for the same options, a few
// orders written out by hand, and what the command line refuses beside them.

#include "CliHarness.h"

#include "cli/CliOptions.h"
#include "concordance/FormExclusion.h"
#include "concordance/NeighbourSort.h"
#include "concordance/PhraseQuery.h"
#include "passages/BothSides.h"
#include "text/Cp1252.h"

#include <gtest/gtest.h>

#include <optional>

namespace quorvex {
namespace {

using namespace testsupport;

// Windows-1252. "arma" stands first in the text, before a marker and after one; [4] holds
// three spellings of one word.
const std::string kLatin = "[1] Arma virumque cano, arma\r\n[2] Troiae qui primus ab oris arma\r\n"
                           "[3] ARMA virum; Arma cano ad Italiam.\r\n[4] C\xE6lum caelum c\x9Clum cano arma";
const std::string kFrench = "[1] Les armes.\r\n[2] Troie.\r\n[3] Les armes, je chante.\r\n[4] Le ciel.";

struct ShapeCase {
    const char* name;
    std::string form;  // Windows-1252, as searched
    bool normalize = false;
    bool phrase = false;
    std::optional<Neighbour> side;       // none: text order
    std::vector<std::string> excluded;   // Windows-1252
    std::optional<std::string> frenchForm;
};

// The core's list for the same options, written as --list writes it.
std::string coreList(const ShapeCase& c)
{
    const Folding folding = c.normalize ? Folding::Spelling : Folding::Case;
    const LetterSet letters = c.normalize ? LetterSet::Extended : LetterSet::Window;
    const WordTable table = WordTable::segment(kLatin, letters);
    ResultList list = PhraseQuery(c.form, c.phrase, folding).find(table);
    if (c.frenchForm)
        list = keepWhereOtherPassageHolds(table, list, kFrench, WordPattern(*c.frenchForm, folding), letters);
    if (!c.excluded.empty())
        list = withoutForms(table, list, c.excluded, folding);
    if (c.side)
        sortByNeighbour(table, list, *c.side, folding);
    std::string lines;
    for (const Attestation& a : list) {
        std::string reference;
        appendAttestationReference(table, a, reference);
        lines += cp1252ToUtf8(attestationForm(table, a)) + '\t' + cp1252ToUtf8(reference) + '\n';
    }
    return lines;
}

std::vector<std::string> cliArgs(const ShapeCase& c)
{
    std::vector<std::string> args = {"--latin", "{la.txt}", "--french", "{fr.txt}"};
    if (c.normalize)
        args.push_back("--normalize");
    if (c.phrase)
        args.push_back("--phrase");
    if (c.side)
        args.insert(args.end(), {"--sort", *c.side == Neighbour::Left ? "left" : "right"});
    for (const std::string& form : c.excluded)
        args.insert(args.end(), {"--exclude-form", cp1252ToUtf8(form)});
    if (c.frenchForm)
        args.insert(args.end(), {"--french-form", cp1252ToUtf8(*c.frenchForm)});
    args.insert(args.end(), {"--list", "--", cp1252ToUtf8(c.form)});
    return args;
}

class ListShaping : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(ListShaping, RowsAreTheCoreListForTheSameOptions)
{
    const CliHarness cli({{"la.txt", kLatin}, {"fr.txt", kFrench}});
    const ShapeCase& c = GetParam();
    const CliOutcome r = cli.run(cliArgs(c));
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string expected = coreList(c);
    EXPECT_EQ(r.out, expected);
    EXPECT_NE(expected, "") << "a row that finds nothing proves nothing";
}

INSTANTIATE_TEST_SUITE_P(
    Cli, ListShaping,
    ::testing::Values(
        ShapeCase{"leftWord", "arma", false, false, Neighbour::Left, {}, {}},
        ShapeCase{"rightWord", "arma", false, false, Neighbour::Right, {}, {}},
        ShapeCase{"leftWordFolded", "c*", true, false, Neighbour::Left, {}, {}},
        ShapeCase{"rightWordFolded", "c*", true, false, Neighbour::Right, {}, {}},
        ShapeCase{"rightOfAPhrase", "cano *", false, true, Neighbour::Right, {}, {}},
        ShapeCase{"leftOfAPhrase", "* arma", false, true, Neighbour::Left, {}, {}},
        ShapeCase{"oneFormLeftOut", "*um", false, false, {}, {"virum"}, {}},
        ShapeCase{"twoFormsLeftOut", "*um", false, false, {}, {"VIRUM", "caelum"}, {}},
        ShapeCase{"spellingsLeftOutTogether", "c*", true, false, {}, {"caelum"}, {}},
        ShapeCase{"unfoldedSpellingsStay", "c*", false, false, {}, {"caelum"}, {}},
        ShapeCase{"phraseLeftOut", "* arma", false, true, {}, {"cano arma"}, {}},
        ShapeCase{"leftOutThenSorted", "*um", false, false, Neighbour::Right, {"caelum"}, {}},
        ShapeCase{"afterTheFrenchForm", "a*", false, false, Neighbour::Left, {"ad"}, "armes"}),
    [](const auto& info) { return std::string(info.param.name); });

// The orders themselves, written out: no word before sorts first, a marker does not stop the
// neighbour, capitals do not count.
TEST(ListShaping, NeighbourOrdersWrittenOut)
{
    const CliHarness cli({{"la.txt", kLatin}, {"fr.txt", kFrench}});
    const CliOutcome left = cli.run({"--latin", "{la.txt}", "--sort", "left", "--list", "arma"});
    EXPECT_EQ(left.out, "Arma\t[1]\nARMA\t[3]\narma\t[4]\narma\t[1]\narma\t[2]\nArma\t[3]\n");
    const CliOutcome right = cli.run({"--latin", "{la.txt}", "--sort=right", "--list", "arma"});
    EXPECT_EQ(right.out, "arma\t[4]\narma\t[2]\nArma\t[3]\narma\t[1]\nARMA\t[3]\nArma\t[1]\n");
    const CliOutcome left2 = cli.run({"--latin", "{la.txt}", "--sort", "left", "--kwic", "4", "arma"});
    EXPECT_EQ(left2.code, 0) << left2.err;
    EXPECT_EQ(left2.out.substr(0, left2.out.find('\n')), "[1]  [1] Arma vir") << left2.out;
}

// A count without some forms cannot be the quick count of one form; the result file and the
// exports hold the same rows as the list.
TEST(ListShaping, EveryOutputReadsTheShapedList)
{
    const CliHarness cli({{"la.txt", kLatin}, {"fr.txt", kFrench}});
    const auto run = [&](std::vector<std::string> more) {
        std::vector<std::string> args = {"--latin", "{la.txt}", "--french", "{fr.txt}"};
        args.insert(args.end(), more.begin(), more.end());
        return cli.run(args);
    };
    EXPECT_EQ(run({"--exclude-form", "virum", "--count", "*um"}).out, "3\n");
    EXPECT_EQ(run({"--exclude-form", "virum", "--exclude-form", "caelum", "--count", "*um"}).out, "2\n");
    EXPECT_EQ(run({"--exclude-form", "nihil", "--count", "arma"}).out, "6\n");
    const CliOutcome tsv = run({"--exclude-form", "virum", "--sort", "right", "--format", "tsv", "*um"});
    ASSERT_EQ(tsv.code, 0) << tsv.err;
    std::string firstColumns;
    // The header line first, then one record a line.
    for (std::size_t at = tsv.out.find('\n') + 1; at < tsv.out.size();) {
        const std::size_t end = tsv.out.find('\n', at);
        const std::string line = tsv.out.substr(at, end - at);
        const std::size_t second = line.find('\t', line.find('\t') + 1);
        firstColumns += line.substr(0, second) + '\n';
        at = end + 1;
    }
    ShapeCase same{"", "*um", false, false, Neighbour::Right, {"virum"}, {}};
    EXPECT_EQ(firstColumns, coreList(same));
}

struct RefusalCase {
    const char* name;
    std::vector<std::string> args;
    std::string message;  // the whole message, after the program's name
};

class ListShapingRefused : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(ListShapingRefused, UsageErrorWithItsMessage)
{
    const CliHarness cli({{"la.txt", kLatin}, {"fr.txt", kFrench}});
    const RefusalCase& c = GetParam();
    const CliOutcome r = cli.run(c.args);
    EXPECT_EQ(r.code, kExitUsage);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
}

const std::string kLa = "{la.txt}";

INSTANTIATE_TEST_SUITE_P(
    Cli, ListShapingRefused,
    ::testing::Values(
        RefusalCase{"sortBadValueNamesAllFour", {"--latin", kLa, "--sort", "up", "a"},
                    "--sort attend forms, text, left ou right, pas « up »."},
        RefusalCase{"sortLeftWithFrequencies", {"--latin", kLa, "--sort", "left", "--frequencies", "a"},
                    "--sort ne s'emploie pas avec --frequencies"},
        RefusalCase{"sortRightWithCheck", {"--latin", kLa, "--sort", "right", "--check"},
                    "--sort ne s'emploie pas avec --check."},
        RefusalCase{"sortLeftWithCollocates", {"--latin", kLa, "--sort", "left", "--collocates", "2", "a"},
                    "--sort ne s'emploie pas avec --collocates."},
        RefusalCase{"sortRightWithPlot", {"--latin", kLa, "--sort", "right", "--plot", "{p.svg}", "a"},
                    "--sort ne s'emploie pas avec --plot."},
        RefusalCase{"sortLeftWithTranslations",
                    {"--latin", kLa, "--french", "{fr.txt}", "--sort", "left", "--translations", "a"},
                    "--sort ne s'emploie pas avec --translations"},
        RefusalCase{"excludeEmpty", {"--latin", kLa, "--exclude-form", "", "a"},
                    "--exclude-form attend une forme."},
        RefusalCase{"excludeOutsideWindows1252", {"--latin", kLa, "--exclude-form", "\xE2\x86\x92x", "a"},
                    "--exclude-form"},
        RefusalCase{"excludeWithFrequencies", {"--latin", kLa, "--exclude-form", "a", "--frequencies", "a"},
                    "--exclude-form ne s'emploie pas avec --frequencies."},
        RefusalCase{"excludeWithShow", {"--latin", kLa, "--exclude-form", "a", "--show", "[1]"},
                    "--exclude-form ne s'emploie pas avec --show."},
        RefusalCase{"excludeWithCheck", {"--latin", kLa, "--exclude-form", "a", "--check"},
                    "--exclude-form ne s'emploie pas avec --check."},
        RefusalCase{"excludeWithPrintContext", {"--latin", kLa, "--exclude-form", "a", "--print-context", "[1]"},
                    "--exclude-form ne s'emploie pas avec --print-context."},
        RefusalCase{"excludeWithLemmaFrequencies",
                    {"--latin", kLa, "--lemma", "--exclude-form", "a", "--frequencies"},
                    "--exclude-form ne s'emploie pas avec --frequencies."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ListShaping, HelpNamesTheNewValuesAndOption)
{
    const std::string help = cliHelpText();
    EXPECT_NE(help.find("\n  --sort forms|text|left|right\n"), std::string::npos);
    EXPECT_NE(help.find("[--sort forms|text|left|right] --kwic"), std::string::npos);
    EXPECT_NE(help.find("\n  --exclude-form FORME\n      laisser hors de la liste"), std::string::npos) << help;
    EXPECT_NE(help.find("[--exclude-form FORME]..."), std::string::npos);
}

} // namespace
} // namespace quorvex
