// The tagger: the tags it gives the lexicon's analyses, its smoothed trigram model, what it
// reports of files it cannot read, and the reading it chooses in context, over the small
// test lexicon with its tag table and over the lexicon the build fetched.

#include "concordance/TextLemmata.h"
#include "concordance/TextTagging.h"
#include "lexicon/Lexicon.h"
#include "lexicon/TagModel.h"
#include "text/TextFile.h"

#include "support/SmallLexiconData.h"
#include "support/SmallTagData.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

using namespace quorvex;
using namespace quorvex::lexicon;
using quorvex::testsupport::TempDir;

namespace {

TagModel smallTags(std::vector<LexiconProblem>& problems, const std::string& extraNames = "")
{
    return TagModel::parse({testsupport::kSmallTagCounts, std::string(testsupport::kSmallMorphoNames) + extraNames},
                           problems);
}

Lexicon smallLexicon()
{
    std::vector<LexiconProblem> problems;
    LexiconTexts texts;
    texts.models = testsupport::kSmallLexiconModels;
    texts.lemmata = testsupport::kSmallLexiconLemmata;
    return Lexicon::parse(texts, problems);
}

TEST(TagModel, GivesEachAnalysisTheCodeOfTheCounts)
{
    const std::string names = "13:nominatif masculin singulier\n"
                              "56:datif féminin singulier comparatif\n"
                              "159:3ème singulier subjonctif présent actif\n"
                              "171:3ème singulier subjonctif parfait actif\n"
                              "181:2ème singulier impératif présent actif\n"
                              "184:3ème singulier impératif futur actif\n"
                              "187:infinitif présent actif\n"
                              "188:infinitif parfait actif\n"
                              "189:nominatif masculin singulier participe présent actif\n"
                              "264:gérondif ablatif\n"
                              "265:supin en -um\n"
                              "266:supin en -u\n"
                              "321:nominatif féminin pluriel participe parfait passif\n"
                              "413:locatif\n"
                              "414:positif\n";
    std::vector<LexiconProblem> problems;
    const TagModel tags = smallTags(problems, names);
    ASSERT_TRUE(problems.empty());
    struct Row {
        const char* name;
        char pos;
        std::uint16_t morpho;
        const char* code;
    } rows[] = {
        {"noun nominative singular", 'n', 1, "n11"},
        {"noun ablative plural", 'n', 12, "n62"},
        {"noun locative", 'n', 413, "n71"},
        {"adjective keeps case and number, not gender", 'a', 13, "a11"},
        {"comparative keeps case and number", 'a', 56, "a51"},
        {"pronoun", 'p', 13, "p11"},
        {"numeral", 'm', 9, "m32"},
        {"invariable numeral", 'm', 416, "m8"},
        {"indicative present", 'v', 123, "v11"},
        {"indicative perfect", 'v', 141, "v1"},
        {"subjunctive present", 'v', 159, "v21"},
        {"subjunctive perfect", 'v', 171, "v2"},
        {"imperative present", 'v', 181, "v31"},
        {"imperative future", 'v', 184, "v3"},
        {"infinitive present", 'v', 187, "v41"},
        {"infinitive perfect", 'v', 188, "v4"},
        {"participle", 'v', 189, "w11"},
        {"perfect participle plural", 'v', 321, "w12"},
        {"gerund", 'v', 264, "w61"},
        {"supine in -um", 'v', 265, "w31"},
        {"supine in -u", 'v', 266, "w61"},
        {"adverb", 'd', 414, "d"},
        {"conjunction", 'c', 416, "c"},
        {"preposition", 'r', 416, "r"},
        {"interjection", 'i', 416, "i"},
    };
    for (const Row& row : rows) {
        const TagId tag = tags.tagOf(row.pos, row.morpho);
        ASSERT_NE(tag, TagModel::npos) << row.name;
        EXPECT_EQ(tags.code(tag), row.code) << row.name;
    }
    EXPECT_EQ(tags.code(tags.encliticTag(FormAnalyses::Enclitic::Que)), "ce");
    EXPECT_EQ(tags.code(tags.encliticTag(FormAnalyses::Enclitic::Ue)), "ce");
    EXPECT_EQ(tags.code(tags.encliticTag(FormAnalyses::Enclitic::Ne)), "de");
    EXPECT_EQ(tags.tagOf('n', 999), TagModel::npos) << "a morphology morphos.fr does not name";
    EXPECT_EQ(tags.morphoName(141), "3ème singulier indicatif parfait actif");
    EXPECT_EQ(tags.morphoName(998), "");
}

TEST(TagModel, ReadsTheMoodTensePersonAndNumberOfVerbForms)
{
    const std::string names = "133:1ère singulier indicatif futur actif\n"
                              "153:3ème singulier indicatif futur antérieur actif\n"
                              "157:1ère singulier subjonctif présent actif\n"
                              "163:1ère singulier subjonctif imparfait actif\n"
                              "170:2ème singulier subjonctif parfait actif\n"
                              "180:3ème pluriel subjonctif PQP actif\n"
                              "185:2ème pluriel impératif futur actif\n"
                              "187:infinitif présent actif\n"
                              "285:1ère singulier subjonctif présent passif\n";
    std::vector<LexiconProblem> problems;
    const TagModel tags = smallTags(problems, names);
    ASSERT_TRUE(problems.empty());
    using Mood = VerbForm::Mood;
    using Tense = VerbForm::Tense;
    struct Row {
        const char* name;
        std::uint16_t morpho;
        Mood mood;
        Tense tense;
        int person, number;
    } rows[] = {
        {"future", 133, Mood::Indicative, Tense::Future, 1, 1},
        {"future perfect is no future", 153, Mood::Indicative, Tense::FuturePerfect, 3, 1},
        {"present subjunctive", 157, Mood::Subjunctive, Tense::Present, 1, 1},
        {"imperfect is no perfect", 163, Mood::Subjunctive, Tense::Imperfect, 1, 1},
        {"perfect subjunctive", 170, Mood::Subjunctive, Tense::Perfect, 2, 1},
        {"pluperfect", 180, Mood::Subjunctive, Tense::Pluperfect, 3, 2},
        {"imperative", 185, Mood::Imperative, Tense::Future, 2, 2},
        {"infinitive has no person", 187, Mood::Other, Tense::Present, 0, 0},
        {"passive", 285, Mood::Subjunctive, Tense::Present, 1, 1},
        {"a noun's case is no verb", 1, Mood::None, Tense::None, 0, 0},
        {"a morphology without a name", 998, Mood::None, Tense::None, 0, 0},
    };
    for (const Row& row : rows) {
        const VerbForm& v = tags.verbForm(row.morpho);
        EXPECT_EQ(v.mood, row.mood) << row.name;
        EXPECT_EQ(v.tense, row.tense) << row.name;
        EXPECT_EQ(v.person, row.person) << row.name;
        EXPECT_EQ(v.number, row.number) << row.name;
    }
}

TEST(TagModel, TransitionsAreSmoothedDistributions)
{
    std::vector<LexiconProblem> problems;
    const TagModel tags = smallTags(problems);
    ASSERT_FALSE(tags.empty());
    const std::size_t n = tags.tagCount();
    for (TagId a = 0; a < n; ++a)
        for (TagId b = 0; b < n; ++b) {
            double sum = 0;
            for (TagId c = 0; c < n; ++c) {
                sum += std::exp(double(tags.logTransition(a, b, c)));
                EXPECT_NEAR(tags.transition(a, b, c), std::exp(double(tags.logTransition(a, b, c))), 1e-6);
            }
            EXPECT_NEAR(sum, 1.0, 1e-4) << tags.code(a) << " " << tags.code(b);
        }
    const TagId snt = tags.boundary(), n11 = tags.tagOfCode("n11"), v11 = tags.tagOfCode("v11"),
                c = tags.tagOfCode("c");
    // Seen after "snt n11" (4 times): likelier than what never followed it.
    EXPECT_GT(tags.logTransition(snt, n11, v11), tags.logTransition(snt, n11, c));
    // A sentence starts from the boundary twice over, a context the trigrams never hold: the
    // bigrams after the boundary speak, and a noun starts more sentences than a verb.
    EXPECT_GT(tags.logTransition(snt, snt, n11), tags.logTransition(snt, snt, v11));
}

TEST(TagModel, SaysWhatItCannotRead)
{
    std::vector<LexiconProblem> problems;
    const TagModel bad = TagModel::parse({"snt,10\nn11,abc\nsnt n11 n11,3\n", "1:nominatif singulier\nx1:quoi\n"},
                                         problems);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].file, "morphos.fr");
    EXPECT_EQ(problems[0].line, 2u);
    EXPECT_EQ(problems[1].file, "tags.la");
    EXPECT_EQ(problems[1].line, 2u);
    EXPECT_FALSE(bad.empty()) << "the lines it could read still count";

    problems.clear();
    EXPECT_TRUE(TagModel::parse({"! nothing\n", ""}, problems).empty());
    EXPECT_TRUE(TagModel::parse({"n11,3\nn11 n11 n11,3\n", ""}, problems).empty()) << "no sentence boundary";

    TempDir dir;
    const std::string folder = dir.file("");
    LexiconProblem failure;
    EXPECT_TRUE(TagModel::load(folder, failure, problems).empty());
    EXPECT_EQ(failure.kind, ProblemKind::MissingFile);
    EXPECT_NE(failure.file.find("tags.la"), std::string::npos);
    std::filesystem::create_directory(std::filesystem::u8path(dir.file("tags.la")));
    dir.write("morphos.fr", testsupport::kSmallMorphoNames);
    EXPECT_TRUE(TagModel::load(folder, failure, problems).empty());
    EXPECT_EQ(failure.kind, ProblemKind::UnreadableFile) << "a folder named tags.la";
    std::filesystem::remove(std::filesystem::u8path(dir.file("tags.la")));
    dir.write("tags.la", testsupport::kSmallTagCounts);
    EXPECT_FALSE(TagModel::load(folder, failure, problems).empty());
    EXPECT_FALSE(failure);
}

TEST(TextTagging, ChoosesOneReadingOfEachKnownWord)
{
    const Lexicon lexicon = smallLexicon();
    std::vector<LexiconProblem> problems;
    const TagModel tags = smallTags(problems);
    const WordTable words = WordTable::segment("[1] Deus est. [2] Deus dixit deusque Petro, deus est.");
    const TextLemmata lemmata = TextLemmata::build(words, lexicon);
    const TextTagging tagging = TextTagging::build(words, lemmata, lexicon, tags, true);
    const auto lemmaOf = [&](std::size_t w) { return lexicon.lemma(tagging.reading(w).lemma).spelling; };
    ASSERT_EQ(words.size(), 8u);
    EXPECT_EQ(lemmaOf(0), "deus");
    EXPECT_EQ(lemmaOf(1), "sum") << "sum is far more frequent than edo";
    EXPECT_EQ(lemmaOf(3), "dico2");
    EXPECT_EQ(tags.morphoName(tagging.reading(3).morpho), "3ème singulier indicatif parfait actif");
    EXPECT_EQ(lemmaOf(4), "deus") << "the word before its enclitic";
    EXPECT_FALSE(tagging.known(5)) << "Petro: not in the lexicon";
    for (std::size_t w = 0; w < words.size(); ++w) {
        if (!tagging.known(w))
            continue;
        EXPECT_GT(tagging.probability(w), 0.0) << words.form(w);
        EXPECT_LE(tagging.probability(w), 1.0) << words.form(w);
    }
    EXPECT_EQ(tagging.wordCount(lexicon.lemmataNamed("deus")), 4u);
    EXPECT_EQ(tagging.wordsOf(lexicon.lemmataNamed("sum")), (ResultList{{1, 1}, {7, 1}}));

    EXPECT_EQ(tagging.describe(3, lexicon, tags).substr(0, 48), "dico2, 3ème singulier indicatif parfait actif, ");
    EXPECT_EQ(tagging.describe(3, lexicon, tags).size(), 52u) << "a probability with two decimals";
    EXPECT_EQ(tagging.describe(5, lexicon, tags), "") << "Petro";

    // Filters on the analysis: words of the names, whole.
    struct FilterRow {
        const char* name;
        const char* words;
        bool refused;
        std::vector<std::size_t> kept;  // words of the text
    } filters[] = {
        {"one word", "parfait", false, {3}},
        {"two words, any order", "actif indicatif", false, {1, 3, 7}},
        {"blanks around", "  singulier   nominatif ", false, {0, 2, 4, 6}},
        {"part of a word is no word", "parf", true, {}},
        {"a word of no name", "subjonctif", true, {}},
    };
    for (const FilterRow& row : filters) {
        std::string refusal;
        const AnalysisFilter filter = AnalysisFilter::parse(row.words, tags, refusal);
        EXPECT_EQ(!refusal.empty(), row.refused) << row.name << ": " << refusal;
        if (row.refused) {
            EXPECT_NE(refusal.find("Mots acceptés : "), std::string::npos) << row.name;
            EXPECT_NE(refusal.find(" parfait "), std::string::npos) << row.name << ": the list of accepted words";
            continue;
        }
        std::vector<std::size_t> kept;
        for (std::size_t w = 0; w < words.size(); ++w)
            if (tagging.passes(w, filter, tags))
                kept.push_back(w);
        EXPECT_EQ(kept, row.kept) << row.name;
    }

    // Without the counts, each word's most frequent lemma.
    const TextTagging plain = TextTagging::build(words, lemmata, lexicon, TagModel(), true);
    EXPECT_EQ(plain.wordsOf(lexicon.lemmataNamed("sum")), (ResultList{{1, 1}, {7, 1}}));
    EXPECT_EQ(plain.probability(1), 0.0) << "nothing to weigh it with";
}

// The lexicon the build fetched, with its tag counts.
class RealTagger : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const std::string dir = QUORVEX_LEXICON_DIR;
        if (dir.empty() || !std::filesystem::exists(dir + "/tags.la"))
            return;
        LexiconProblem failure;
        std::vector<LexiconProblem> malformed;
        s_lexicon = new Lexicon(Lexicon::load(dir, false, failure, malformed));
        ASSERT_FALSE(failure) << describeProblem(failure);
        s_tags = new TagModel(TagModel::load(dir, failure, malformed));
        ASSERT_FALSE(failure) << describeProblem(failure);
    }
    static void TearDownTestSuite()
    {
        delete s_tags;
        delete s_lexicon;
    }
    void SetUp() override
    {
        if (s_tags == nullptr)
            GTEST_SKIP() << "no lexicon with tags.la (run tools/fetch-lexicon.sh)";
    }
    static Lexicon* s_lexicon;
    static TagModel* s_tags;
};
Lexicon* RealTagger::s_lexicon = nullptr;
TagModel* RealTagger::s_tags = nullptr;

TEST_F(RealTagger, FormsByRuleAreFoundAndTheirLookAlikesAreNot)
{
    struct Row {
        const char* name;
        const char* form;   // folded
        const char* lemma;  // as the lexicon spells it
        bool found;
    } rows[] = {
        {"genitive in -i", "consili", "consilium", true},
        {"genitive in -i of -ium", "studi", "studium", true},
        {"a genitive in -ii is not one of -iium", "domini", "dominium", false},
        {"short perfect infinitive", "audisse", "audio", true},
        {"short perfect infinitive of redeo", "redisse", "redeo", true},
        {"short pluperfect subjunctive of eo", "isset", "eo", true},
        {"short perfect", "audisti", "audio", true},
        {"short perfect plural", "audistis", "audio", true},
        {"short pluperfect subjunctive", "audissem", "audio", true},
        {"short pluperfect subjunctive in -a-", "amassem", "amo", true},
        {"a dative in -isti is no perfect of tero", "tristi", "tero", false},
        {"perfect in -ere", "dixere", "dico2", true},
        {"perfect in -ere beside Venus", "uenere", "venio", true},
        {"loca of locus", "loca", "locus", true},
        {"eatur of eo", "eatur", "eo", true},
        {"iretur of eo", "iretur", "eo", true},
        {"factus counts for facio", "factus", "facio", true},
        {"facta counts for facio", "facta", "facio", true},
        {"fit is fio's alone", "fit", "facio", false},
    };
    for (const Row& row : rows) {
        std::vector<LemmaId> found;
        s_lexicon->analyse(row.form, found);
        const std::string spellings = s_lexicon->spellings(found);
        const bool has = std::any_of(found.begin(), found.end(),
                                     [&](LemmaId id) { return s_lexicon->lemma(id).spelling == row.lemma; });
        EXPECT_EQ(has, row.found) << row.name << ": " << spellings;
        const FormAnalyses readings = s_lexicon->analyses(row.form);
        const bool read = std::any_of(readings.readings.begin(), readings.readings.end(),
                                      [&](const Analysis& a) { return s_lexicon->lemma(a.lemma).spelling == row.lemma; });
        EXPECT_EQ(read, row.found) << row.name << ": the tagger's readings";
    }
    // The -ere rule gives the perfect only: the infinitive keeps its readings.
    for (const Analysis& a : s_lexicon->analyses("dicere").readings)
        EXPECT_NE(a.morpho, 144) << "dicere is no perfect";
}

TEST_F(RealTagger, LaterSpellingsAreTriedOnlyOnWordsTheLexiconCannotRead)
{
    struct Row {
        const char* name;
        const char* form;   // folded
        const char* lemma;  // the likeliest, as the lexicon spells it
        bool found;
    } rows[] = {
        {"ch for h", "michi", "ego", true},
        {"ch for h again", "nichil", "nihil", true},
        {"e for ae", "seculum", "saeculum", true},
        {"e for oe", "pena", "poena", true},
        {"hii for ii", "hii", "is", true},
        {"hiis for iis", "hiis", "is", true},
        {"hisdem for isdem", "hisdem", "idem", true},
        {"mpn for mn", "dampnum", "damnum", true},
        {"equus is a word: never aequus", "equus", "aequus", false},
        {"hic is a word: never is", "hic", "is", false},
    };
    for (const Row& row : rows) {
        std::vector<LemmaId> found;
        s_lexicon->analyse(row.form, found);
        const bool has = std::any_of(found.begin(), found.end(),
                                     [&](LemmaId id) { return s_lexicon->lemma(id).spelling == row.lemma; });
        EXPECT_EQ(has, row.found) << row.name << ": " << s_lexicon->spellings(found);
        const FormAnalyses readings = s_lexicon->analyses(row.form);
        const bool read = std::any_of(readings.readings.begin(), readings.readings.end(),
                                      [&](const Analysis& a) { return s_lexicon->lemma(a.lemma).spelling == row.lemma; });
        EXPECT_EQ(read, row.found) << row.name << ": the tagger's readings";
    }
}

TEST_F(RealTagger, NamesAReaderTypesFindTheLexiconsEntries)
{
    struct Row {
        const char* typed;
        std::vector<const char*> lemmata;  // as the lexicon spells them, in order
    } rows[] = {
        {"ab", {"a"}},
        {"abs", {"a"}},
        {"a", {"a", "a3"}},
        {"oportet", {"oporteo"}},
        {"oporteo", {"oporteo"}},
        {"atque", {"atque", "ac"}},
        {"ex", {"ex", "e"}},
        {"ut", {"ut", "uti"}},
        {"ut1", {"ut"}},
        {"ab3", {}},
    };
    for (const Row& row : rows) {
        std::vector<std::string> named;
        for (const LemmaId id : s_lexicon->lemmataNamed(row.typed))
            named.emplace_back(s_lexicon->lemma(id).spelling);
        EXPECT_EQ(named, std::vector<std::string>(row.lemmata.begin(), row.lemmata.end())) << row.typed;
    }
}

TEST_F(RealTagger, ReadsEachWordInItsSentence)
{
    struct Row {
        const char* name;
        const char* sentence;
        const char* word;   // as written, its first standing
        const char* lemma;  // as the lexicon spells it
    } rows[] = {
        {"est of sum", "Deus est caritas.", "est", "sum"},
        {"est of sum beside bread", "Panem est et aquam bibit.", "est", "sum"},
        {"cum preposition", "Venit cum discipulis suis.", "cum", "cum"},
        {"cum conjunction", "Cum venisset Iesus in domum, dixit eis.", "Cum", "cum2"},
        {"quod relative", "Opus quod dedisti mihi consummavi.", "quod", "qui2"},
        {"quod conjunction", "Gratias ago quod fidelem me existimavit.", "quod", "quod"},
        {"modo adverb", "Filia mea modo defuncta est.", "modo", "modo"},
        {"modo noun", "Nullo modo intrabit.", "modo", "modus"},
        {"liber the book", "Liber generationis Iesu Christi.", "Liber", "liber2"},
        {"enclitic", "Deumque laudabant.", "Deumque", "deus"},
    };
    for (const Row& row : rows) {
        const WordTable words = WordTable::segment(row.sentence);
        const TextLemmata lemmata = TextLemmata::build(words, *s_lexicon);
        const TextTagging tagging = TextTagging::build(words, lemmata, *s_lexicon, *s_tags);
        std::size_t w = 0;
        while (w < words.size() && words.form(w) != row.word)
            ++w;
        ASSERT_LT(w, words.size()) << row.name;
        ASSERT_TRUE(tagging.known(w)) << row.name;
        EXPECT_EQ(s_lexicon->lemma(tagging.reading(w).lemma).spelling, row.lemma) << row.name;
    }
}

// The forms written alike in two moods ("dicam": future or present subjunctive; "dixerit":
// future perfect or perfect subjunctive) take the mood the words before them ask, each rule
// with a look-alike that asks the other or nothing.
TEST_F(RealTagger, ChoosesTheMoodTheGoverningWordsAsk)
{
    struct Row {
        const char* name;
        const char* sentence;
        const char* word;      // as written, its first standing
        const char* analysis;  // words of its likeliest analysis
    } rows[] = {
        {"a future in a main clause stays a future", "Cras dicam vobis veritatem.", "dicam", "indicatif futur actif"},
        {"purpose with ut", "Venio ut dicam vobis veritatem.", "dicam", "subjonctif présent"},
        {"purpose with ne", "Taceo ne dicam nimis.", "dicam", "subjonctif présent"},
        {"deliberative question", "Quid dicam patri meo ?", "dicam", "subjonctif présent"},
        {"indirect question", "Nescio quid dicam.", "dicam", "subjonctif présent"},
        {"until, of what is awaited", "Manete hic donec dicam vobis.", "dicam", "subjonctif présent"},
        {"before, of what is awaited", "Manducabo vobiscum antequam patiar.", "patiar", "subjonctif présent"},
        {"a wish without ut", "Vis dicam tibi ?", "dicam", "subjonctif présent"},
        {"a relative clause between ut and its verb", "Venio ut omnia quae dedit mihi non perdam.", "perdam",
         "subjonctif présent"},
        {"joined to a future of its person", "Surgam et ibo ad patrem et dicam ei.", "dicam", "indicatif futur actif"},
        {"joined to a subjunctive of its person", "Venio ut videam vos et dicam vobis.", "dicam", "subjonctif présent"},
        {"a condition with a subjunctive main verb", "Si hoc dicam, errem.", "dicam", "subjonctif présent"},
        {"a condition with a future main verb", "Si hoc dicam, credetis.", "dicam", "indicatif futur actif"},
        {"cum with a present main verb: a cause", "Cum veritatem dicam, non creditis mihi.", "dicam",
         "subjonctif présent"},
        {"cum before an ablative is the preposition", "Cum fratribus dicam hoc.", "dicam", "indicatif futur actif"},
        {"quia of a fact", "Gaudeo quia veritatem dicam.", "dicam", "indicatif futur actif"},
        {"prohibition", "Nemini dixeris hoc verbum.", "dixeris", "subjonctif parfait"},
        {"prohibition with ne", "Ne dixeritis hoc.", "dixeritis", "subjonctif parfait"},
        {"a negative in a condition is no prohibition", "Si nemini dixeris, beatus eris.", "dixeris",
         "indicatif futur antérieur"},
        {"a condition", "Si quis hoc dixerit, peccabit.", "dixerit", "indicatif futur antérieur"},
        {"si quid: anything, the si governs", "Si quid dixerit, audiemus eum.", "dixerit", "indicatif futur antérieur"},
        {"a condition with a command in the subjunctive", "Si quis hoc dixerit, taceat.", "dixerit",
         "indicatif futur antérieur"},
        {"a condition inside a purpose clause", "Rogo ut, si quis hoc dixerit, taceat.", "dixerit",
         "subjonctif parfait"},
        {"whoever", "Quicumque hoc dixerit, veniet ad me.", "dixerit", "indicatif futur antérieur"},
        {"a relative with a future main verb", "Qui hoc dixerit, reus erit.", "dixerit", "indicatif futur antérieur"},
        {"cum with a future main verb", "Cum venerit, videbimus eum.", "venerit", "indicatif futur antérieur"},
        {"an indirect question in -erit", "Nescio quid dixerit.", "dixerit", "subjonctif parfait"},
        {"quia after a verb of knowing", "Intellexerunt quia hoc dixerit.", "dixerit", "subjonctif parfait"},
        {"a relative after a verb of knowing asks", "Sciunt quae dixerit.", "dixerit", "subjonctif parfait"},
        {"quin", "Non dubito quin hoc dixerit.", "dixerit", "subjonctif parfait"},
        {"joined to a subjunctive of its person in -erit", "Si intretis in domum et dixeritis ei, credet.",
         "dixeritis", "subjonctif parfait"},
    };
    for (const Row& row : rows) {
        const WordTable words = WordTable::segment(row.sentence);
        const TextLemmata lemmata = TextLemmata::build(words, *s_lexicon);
        std::size_t w = 0;
        while (w < words.size() && words.form(w) != row.word)
            ++w;
        ASSERT_LT(w, words.size()) << row.name;
        // The reading is the same whether its probability is asked for or not.
        for (const bool probabilities : {false, true}) {
            const TextTagging tagging = TextTagging::build(words, lemmata, *s_lexicon, *s_tags, probabilities);
            ASSERT_TRUE(tagging.known(w)) << row.name;
            const std::string& analysis = s_tags->morphoName(tagging.reading(w).morpho);
            EXPECT_TRUE(analysis.find(row.analysis) != std::string::npos)
                << row.name << ": " << tagging.describe(w, *s_lexicon, *s_tags);
        }
    }
}

} // namespace

TEST_F(RealTagger, TaggedOnDemandEachWordReadsAsInTheWholeTagging)
{
    // Over the New Testament, words asked about out of order (from the end, then spread over
    // the text, then the list of a strict lemma, which reads every sentence): each word's
    // reading and probability as the tagging of the whole text gives them.
    const std::string latin = std::string(QUORVEX_CORPUS_DIR) + "/latin-nt.txt";
    if (!std::filesystem::exists(latin))
        GTEST_SKIP() << "no ../shared/corpus";
    TextReadResult text = readText(latin);
    ASSERT_FALSE(text.error) << describeFileError(text.error);
    const WordTable words = WordTable::segment(std::move(text.text), LetterSet::Extended);
    const TextLemmata lemmata = TextLemmata::build(words, *s_lexicon);
    const TextTagging whole = TextTagging::build(words, lemmata, *s_lexicon, *s_tags, true);
    const auto expectSame = [&](const TextTagging& onDemand, std::size_t w) {
        ASSERT_EQ(onDemand.known(w), whole.known(w)) << "word " << w;
        if (!whole.known(w))
            return;
        EXPECT_EQ(onDemand.reading(w), whole.reading(w)) << "word " << w;
        EXPECT_EQ(onDemand.probability(w), whole.probability(w)) << "word " << w;
    };
    const TextTagging spread = TextTagging::onDemand(words, lemmata, *s_lexicon, *s_tags, true);
    for (std::size_t w = words.size(); w-- > words.size() - 50;)
        expectSame(spread, w);
    for (std::size_t w = 0; w < words.size(); w += 997)
        expectSame(spread, w);
    for (std::size_t w = 0; w < words.size(); ++w)
        expectSame(spread, w);
    const std::vector<LemmaId> sum = s_lexicon->lemmataNamed("sum");
    const TextTagging listed = TextTagging::onDemand(words, lemmata, *s_lexicon, *s_tags, true);
    const ResultList strict = listed.wordsOf(sum);
    EXPECT_EQ(strict, whole.wordsOf(sum));
    EXPECT_GT(strict.size(), 1000u);
    for (std::size_t w = 0; w < words.size(); ++w)
        expectSame(listed, w);
}
