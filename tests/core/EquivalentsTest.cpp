#include "translation/Equivalents.h"
#include "translation/FunctionWords.h"
#include "output/EquivalentsTable.h"
#include "passages/ReferencePassages.h"
#include "lexicon/Lexicon.h"
#include "text/Cp1252.h"

#include "support/SmallLexiconData.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace quorvex {
namespace {

using testsupport::TempDir;

std::string cp(std::string_view utf8)
{
    return utf8ToCp1252(utf8).bytes;
}

// Lemmas from a table, as a dictionary would give them; unknown words get none.
class TableStemmer : public Stemmer {
public:
    explicit TableStemmer(std::map<std::string, std::vector<std::string>> table) : m_table(std::move(table)) {}
    std::vector<std::string> stems(std::string_view word) override
    {
        ++calls[std::string(word)];
        const auto it = m_table.find(std::string(word));
        return it == m_table.end() ? std::vector<std::string>() : it->second;
    }
    std::map<std::string, int> calls;

private:
    std::map<std::string, std::vector<std::string>> m_table;
};

struct Pair {
    WordTable latin;
    std::string french;
};

Pair pair(std::string_view latinUtf8, std::string_view frenchUtf8)
{
    return Pair{WordTable::segment(cp(latinUtf8)), cp(frenchUtf8)};
}

struct Row {
    std::string lemma;
    std::size_t a, b, c, d;
    std::string g2, dice;
};

std::vector<Row> rowsOf(const Equivalents& eq, const FrenchLemmas& lemmas)
{
    std::vector<Row> rows;
    for (const EquivalentRow& r : eq.rows())
        rows.push_back({lemmas.lemmaText(r.lemma), r.a, r.b, r.c, r.d, fixedDecimals(r.logLikelihood, 3),
                        fixedDecimals(r.dice, 3)});
    return rows;
}

bool operator==(const Row& x, const Row& y)
{
    return x.lemma == y.lemma && x.a == y.a && x.b == y.b && x.c == y.c && x.d == y.d && x.g2 == y.g2
        && x.dice == y.dice;
}
std::ostream& operator<<(std::ostream& os, const Row& r)
{
    return os << r.lemma << " " << r.a << "/" << r.b << "/" << r.c << "/" << r.d << " G2=" << r.g2
              << " dice=" << r.dice;
}

// Query "deus": references 1 2 3 in both texts, 7 in Latin only; 8 in French only.
// n = 6. dieu: a 2, b 1, c 1, d 2: G2 = 2(4 ln(4/3) + 2 ln(2/3)) = 0.680, Dice 4/6.
// seigneur: a 1, b 2, c 0, d 3: G2 = 2(ln 2 + 2 ln 0.8 + 3 ln 1.2) = 1.588, Dice 2/4.
// aime, voit, dit: a 1, c 1: 1/3 is not above 2/6, so not listed.
const char* const kLatin =
    "[1] deus amat [2] deus videt [3] deus dicit [4] homo amat [5] homo videt [6] homo dicit "
    "[7] deus venit";
const char* const kFrench =
    "[1] Dieu aime [2] Dieu voit le [3] le Seigneur dit [4] l'homme aime [5] l'homme voit Dieu "
    "[6] l'homme dit le [8] Dieu vient";

TEST(Equivalents, CellsAndScoresMatchTheHandComputedTable)
{
    const Pair p = pair(kLatin, kFrench);
    FrenchLemmas lemmas(nullptr);
    const Equivalents eq = findEquivalents(p.latin, findForms(p.latin, "deus"), p.french, lemmas, false);
    EXPECT_EQ(eq.pairedReferences(), 6u);
    const std::vector<Row> expected = {
        {"seigneur", 1, 2, 0, 3, "1.588", "0.500"},
        {"dieu", 2, 1, 1, 2, "0.680", "0.667"},
    };
    EXPECT_EQ(rowsOf(eq, lemmas), expected);
    ASSERT_EQ(eq.missingInFrench().size(), 1u);
    EXPECT_EQ(p.latin.referenceText(eq.missingInFrench()[0]), "[7]");

    EXPECT_EQ(equivalentsTable(ExportFormat::Tsv, eq, lemmas),
              "french\tpassages\tshare\tfrequency\tlog_likelihood\tdice\n"
              "seigneur\t1\t33.3\t1\t1.588\t0.500\n"
              "dieu\t2\t66.7\t3\t0.680\t0.667\n");
    EXPECT_EQ(equivalentsTable(ExportFormat::Csv, eq, lemmas, 1),
              "french,passages,share,frequency,log_likelihood,dice\r\n"
              "seigneur,1,33.3,1,1.588,0.500\r\n");
}

TEST(Equivalents, FunctionWordsStayOutUnlessAskedFor)
{
    const Pair p = pair(kLatin, kFrench);
    FrenchLemmas lemmas(nullptr);
    const ResultList hits = findForms(p.latin, "deus");
    // "le" stands in 2 of the 3 query passages and in 1 other: 2/3 > 3/6.
    const auto listed = [&](bool all) {
        std::vector<std::string> names;
        const Equivalents eq = findEquivalents(p.latin, hits, p.french, lemmas, all);
        for (const EquivalentRow& r : eq.rows())
            names.push_back(lemmas.lemmaText(r.lemma));
        return names;
    };
    EXPECT_EQ(listed(false), (std::vector<std::string>{"seigneur", "dieu"}));
    const std::vector<std::string> all = listed(true);
    EXPECT_NE(std::find(all.begin(), all.end(), "le"), all.end());

    struct Case {
        const char* word;
        bool french;
    };
    for (const Case& c : {Case{"le", true}, Case{"l", true}, Case{"qu", true}, Case{"d", true},
                          Case{"n", true}, Case{"s", true}, Case{"j", true}, Case{"m", true},
                          Case{"t", true}, Case{"c", true}, Case{"être", true}, Case{"fut", true},
                          Case{"avoir", true}, Case{"à", true}, Case{"mais", true}, Case{"dieu", false},
                          Case{"cœur", false}, Case{"parole", false}})
        EXPECT_EQ(isFrenchFunctionWord(c.word), c.french) << c.word;
    struct LatinCase {
        const char* lemma;
        bool listed;
    };
    for (const LatinCase& c : {LatinCase{"sum", true}, LatinCase{"Sum", true}, LatinCase{"habeo", true},
                               LatinCase{"et", true}, LatinCase{"autem", true}, LatinCase{"non", true},
                               LatinCase{"vero", true}, LatinCase{"sum1", true}, LatinCase{"deus", false},
                               LatinCase{"caritas", false}, LatinCase{"summus", false}})
        EXPECT_EQ(isLatinFunctionLemma(c.lemma), c.listed) << c.lemma;
}

TEST(Equivalents, ReferencesOnOneSideOrStandingTwiceAreCountedOnce)
{
    // [2] stands twice in French: its passage gathers both stretches, and "ange" standing in
    // both counts once. [9] is French only and [5] Latin only: neither is in n.
    const Pair p = pair("[1] angelus [2] angelus [3] homo [4] homo [5] angelus",
                        "[1] l'ange [2] un ange [3] l'homme [2] l'ange encore [4] l'homme [9] ange");
    FrenchLemmas lemmas(nullptr);
    const Equivalents eq = findEquivalents(p.latin, findForms(p.latin, "angelus"), p.french, lemmas, false);
    EXPECT_EQ(eq.pairedReferences(), 4u);
    ASSERT_FALSE(eq.rows().empty());
    const EquivalentRow& ange = eq.rows()[0];
    EXPECT_EQ(lemmas.lemmaText(ange.lemma), "ange");
    EXPECT_EQ(ange.a, 2u);
    EXPECT_EQ(ange.b, 0u);
    EXPECT_EQ(ange.c, 0u);
    EXPECT_EQ(ange.d, 2u);
    // "encore" stands only in [2]'s second stretch.
    bool encore = false;
    for (const EquivalentRow& r : eq.rows())
        encore = encore || (lemmas.lemmaText(r.lemma) == "encore" && r.a == 1);
    EXPECT_TRUE(encore);
    ASSERT_EQ(eq.missingInFrench().size(), 1u);
    EXPECT_EQ(p.latin.referenceText(eq.missingInFrench()[0]), "[5]");
}

TEST(Equivalents, WordsAreCutWithŒFoldedAndStemmedOnceEach)
{
    // "CŒUR" and "cœur" are one word folded; "dit" has two lemmas and counts for each; "xyz"
    // has none and stands for itself.
    TableStemmer stemmer({{"cœur", {"cœur"}}, {"dit", {"dit", "dire"}}, {"cor", {"cor"}}});
    const Pair p = pair("[1] cor [2] cor [3] cor [4] homo [5] homo",
                        "[1] CŒUR dit [2] cœur xyz [3] cœur dit xyz [4] rien [5] rien");
    FrenchLemmas lemmas(&stemmer);
    const Equivalents eq = findEquivalents(p.latin, findForms(p.latin, "cor"), p.french, lemmas, false);
    std::map<std::string, std::size_t> a;
    for (const EquivalentRow& r : eq.rows())
        a[lemmas.lemmaText(r.lemma)] = r.a;
    EXPECT_EQ(a, (std::map<std::string, std::size_t>{{"cœur", 3}, {"dit", 2}, {"dire", 2}, {"xyz", 2}}));
    EXPECT_EQ(stemmer.calls, (std::map<std::string, int>{{"cœur", 1}, {"dit", 1}, {"xyz", 1}, {"rien", 1}}));
    EXPECT_EQ(lemmas.distinctWords(), 4u);
}

TEST(Equivalents, TheFrenchLemmaKeepsTheHitsWhosePassageHoldsIt)
{
    TableStemmer stemmer({{"dit", {"dit", "dire"}}, {"disait", {"dire"}}});
    const Pair p = pair("[1] ait [2] ait [3] ait [4] ait", "[1] il dit [2] il disait [3] il parle [5] dit");
    FrenchLemmas lemmas(&stemmer);
    const ResultList hits = findForms(p.latin, "ait");
    struct Case {
        const char* lemma;
        std::vector<std::string> refs;
    };
    for (const Case& c : {Case{"dire", {"[1]", "[2]"}}, Case{"DIRE", {"[1]", "[2]"}}, Case{"dit", {"[1]"}},
                          Case{"il", {"[1]", "[2]", "[3]"}}, Case{"absent", {}}}) {
        std::vector<std::string> refs;
        for (const Attestation& a : keepWhereFrenchHoldsLemma(p.latin, hits, p.french, lemmas, c.lemma))
            refs.push_back(p.latin.referenceText(p.latin.referenceId(a.first)));
        EXPECT_EQ(refs, c.refs) << c.lemma;
    }
}

TEST(Equivalents, NumbersKeepAPointAndTheirDecimals)
{
    struct Case {
        double value;
        int decimals;
        const char* text;
    };
    for (const Case& c : {Case{0.6795, 3, "0.680"}, Case{100.0, 1, "100.0"}, Case{33.333, 1, "33.3"},
                          Case{0.0, 3, "0.000"}, Case{12.0004, 3, "12.000"}, Case{-1.5, 1, "-1.5"}})
        EXPECT_EQ(fixedDecimals(c.value, c.decimals), c.text) << c.value;
    std::string tsv, csv;
    appendUtf8Field(tsv, ExportFormat::Tsv, "a\tb\\c");
    appendUtf8Field(csv, ExportFormat::Csv, "a,\"b\"");
    EXPECT_EQ(tsv, "a\\tb\\\\c");
    EXPECT_EQ(csv, "\"a,\"\"b\"\"\"");
}

TEST(FrenchLemmas, OnceTheTextIsReadEachWordStandsForOneLemma)
{
    // The dictionary's second readings, as Hunspell gives them.
    TableStemmer stemmer({
        {"monde", {"monde", "monder"}},
        {"cité", {"cité", "citer"}},
        {"fils", {"fils", "fil"}},
        {"dit", {"dit", "dire"}},
        {"dire", {"dire"}},
        {"disait", {"dire"}},
        {"voie", {"voie", "voir"}},
        {"voir", {"voir"}},
        {"vit", {"vit", "vivre", "voir"}},
        {"tous", {"tous"}},
        {"yeux", {"yeux"}},
        {"parole", {"parole"}},
    });
    FrenchLemmas lemmas(&stemmer);
    lemmas.readText(cp("[1] Le monde, la cité, le fils. Il dit, il disait, il va dire ; il vit.\r\n"
                       "[2] Voir la voie, tous les yeux, la parole, Pierre.\r\n"));
    struct Row {
        const char* name;
        const char* word;
        const char* lemma;
    };
    const Row rows[] = {
        {"the other stem is no word of the text", "monde", "monde"},
        {"a noun beside a verb the text lacks", "cité", "cité"},
        {"the other stem is no word of the text, whatever its letters", "fils", "fils"},
        {"both stand in the text: the lemma of more of its words", "dit", "dire"},
        {"three stems, one in the text", "vit", "voir"},
        {"a noun kept by the table against its verb", "voie", "voie"},
        {"an irregular plural by the table", "tous", "tout"},
        {"another irregular plural", "yeux", "œil"},
        {"one stem", "parole", "parole"},
        {"no stem: the word itself", "Pierre", "pierre"},
        {"a word outside the text, by the same rule", "Monde", "monde"},
    };
    for (const Row& row : rows) {
        const FrenchLemmas::Word& w = lemmas.word(cp(row.word));
        ASSERT_EQ(w.count, 1u) << row.name;
        EXPECT_EQ(lemmas.lemmaText(lemmas.lemmas(w)[0]), row.lemma) << row.name;
    }
}

TEST(FrenchLemmas, APassagesWordsReadFromTheWordTableAreThoseAWalkOfItCuts)
{
    // Letters inside markers, a stray "]", a "[" never closed, a marker standing twice, a
    // word glued to a marker: the table cuts every run of letters, a passage walk skips markers.
    const WordTable latin = WordTable::segment(cp("Ante [1] amor. [2a] caelum [A.4] filius ] dei [ alter, amor\r\n"
                                                  "[5] Iesus[6] vinum [5] iterum [7"));
    const std::string frenchText = cp("Avant [1] l'amour. [2a] le ciel [A.4] le fils ] de dieu [ un autre, "
                                      "l'amour\r\n[5] Jésus[6] le vin [5] encore [7 sœur Œuvre");
    const WordTable french = WordTable::segment(frenchText, kFrenchLetters);
    std::vector<WordTable::ReferenceId> all;
    for (std::size_t r = 0; r < latin.referenceCount(); ++r)
        all.push_back(static_cast<WordTable::ReferenceId>(r));
    const ReferencePassages passages(french.text(), latin, all);

    struct Seen {
        std::size_t offset;
        std::string word;
        std::string lemma;
        bool operator==(const Seen& o) const { return offset == o.offset && word == o.word && lemma == o.lemma; }
    };
    FrenchLemmas walked(nullptr), read(nullptr);
    walked.readText(frenchText);
    read.readText(french);
    std::size_t stretches = 0;
    for (const std::size_t start : {std::size_t(0), french.size() / 2, french.size()})
        for (const WordTable::ReferenceId r : all) {
            std::size_t hint = start;
            passages.forEachStretch(r, [&](std::string_view stretch) {
                ++stretches;
                std::vector<Seen> expected, got;
                FrenchLemmas::forEachWord(stretch, [&](std::size_t offset, std::string_view w) {
                    const FrenchLemmas::Word& entry = walked.word(w);
                    expected.push_back({std::size_t(stretch.data() - french.text().data()) + offset, std::string(w),
                                        walked.lemmaText(walked.lemmas(entry)[0])});
                });
                read.forEachWordOfStretch(french, stretch, hint,
                                          [&](std::size_t offset, std::string_view w, const FrenchLemmas::Word& entry) {
                                              got.push_back({offset, std::string(w), read.lemmaText(read.lemmas(entry)[0])});
                                          });
                EXPECT_TRUE(got == expected) << latin.referenceText(r) << " from word " << start;
            });
        }
    EXPECT_GT(stretches, 12u);
}

TEST(FunctionWords, TheLexiconsPrepositionsConjunctionsAndPronounsAreLatinFunctionWords)
{
    lexicon::LexiconTexts texts;
    texts.models = testsupport::kSmallLexiconModels;
    texts.lemmata = std::string(testsupport::kSmallLexiconLemmata)
        + "adversus2=ādvērsŭs|inv|||prép. + acc. adv.|378\n"
          "adversus=ādvērsus|lupus|||a, um|326\n"
          "aliquis|inv|||a, id, pron.|100\n"
          "donec|inv|||conj. sub.|50\n"
          "ecce|inv|||adv.|80\n"
          "Abarim|inv|||m. npr.|2\n";
    std::vector<lexicon::LexiconProblem> malformed;
    const lexicon::Lexicon lexicon = lexicon::Lexicon::parse(texts, malformed);
    ASSERT_TRUE(malformed.empty()) << lexicon::describeProblem(malformed.front());
    struct Row {
        const char* name;
        const char* typed;
        bool withLexicon, without;
    };
    const Row rows[] = {
        {"a preposition that is also an adjective", "adversus", true, false},
        {"the preposition by its number", "adversus2", true, false},
        {"a pronoun", "aliquis", true, false},
        {"a conjunction", "donec", true, false},
        {"on the list already", "sum", true, true},
        {"a noun", "deus", false, false},
        {"an adverb", "ecce", false, false},
        {"a proper name", "Abarim", false, false},
        {"no lemma of that name", "nescio", false, false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(isLatinFunctionLemma(cp(row.typed), &lexicon), row.withLexicon) << row.name;
        EXPECT_EQ(isLatinFunctionLemma(cp(row.typed)), row.without) << row.name;
    }
}

TEST(HunspellStemmer, ReadsAWrittenDictionaryAndRefusesWhatIsNotOne)
{
    TempDir dir;
    dir.write("mini.aff", "SET UTF-8\nSFX A Y 1\nSFX A re t re\n");
    const std::string dic = dir.write("mini.dic", "4\ndire/A\ndit\ncœur\népée\n");
    dir.write("seul.dic", "1\nmot\n");
    std::filesystem::create_directories(dir.file("dossier.dic"));
    dir.write("dossier.aff", "SET UTF-8\n");

    if (!hunspellBuiltIn()) {
        EXPECT_EQ(openHunspellStemmer(dic).status, DictionaryStatus::NotBuiltIn);
        GTEST_SKIP() << "built without Hunspell";
    }
    OpenedStemmer opened = openHunspellStemmer(dic);
    ASSERT_EQ(opened.status, DictionaryStatus::Opened);
    struct Case {
        const char* word;
        std::vector<std::string> stems;
    };
    for (const Case& c : {Case{"dit", {"dit", "dire"}}, Case{"cœur", {"cœur"}}, Case{"épée", {"épée"}},
                          Case{"inconnu", {}}})
        EXPECT_EQ(opened.stemmer->stems(c.word), c.stems) << c.word;

    for (const std::string& bad : {dir.file("absent.dic"), dir.file("seul.dic"), dir.file("dossier.dic")}) {
        const OpenedStemmer refused = openHunspellStemmer(bad);
        EXPECT_EQ(refused.status, DictionaryStatus::Missing) << bad;
        EXPECT_FALSE(refused.stemmer);
        EXPECT_TRUE(refused.error) << bad;
    }
}

} // namespace
} // namespace quorvex
