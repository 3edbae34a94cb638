// A count from the one-pass tally of forms must equal the word table's count: the same words,
// the same types in the same order, and, over the New Testament, the same counts by lemma
// and by folded spelling; collocates counted from the tally's word types, the same table as
// the word table's (and as a naive count of every window).

#include "concordance/Collocates.h"
#include "concordance/FoldedFormTally.h"
#include "concordance/FormTally.h"
#include "concordance/LemmaMatch.h"
#include "concordance/PhraseQuery.h"
#include "concordance/TextLemmata.h"
#include "concordance/WordTable.h"
#include "text/TextFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace quorvex;

namespace {

// The tally of `text` cut into pieces at `cuts` (offsets between words), as a pass over a
// mapped text gives them.
void tallyInPieces(FormTally& tally, std::string_view text, const std::vector<std::size_t>& cuts)
{
    std::size_t from = 0;
    for (const std::size_t cut : cuts) {
        tally.add(text.substr(from, cut - from));
        from = cut;
    }
    tally.add(text.substr(from));
}

void expectSameTypes(const FormTally& tally, const WordTable& table, const std::string& row)
{
    ASSERT_EQ(tally.wordCount(), table.size()) << row;
    ASSERT_EQ(tally.typeCount(), table.typeCount()) << row;
    for (std::uint32_t t = 0; t < table.typeCount(); ++t) {
        EXPECT_EQ(tally.typeText(t), table.typeText(t)) << row << ", type " << t;
        EXPECT_EQ(tally.typeFrequency(t), table.typeFrequency(t)) << row << ", type " << t;
    }
    if (tally.wordTypes().empty())
        return;
    ASSERT_EQ(tally.wordTypes().size(), table.size()) << row;
    for (std::size_t i = 0; i < table.size(); ++i)
        ASSERT_EQ(tally.wordTypes()[i], table.typeOf(i)) << row << ", word " << i;
}

// The collocates of `form` from the word table and its list, and from the tally's word types.
void expectSameCollocates(const WordTable& table, const FormTally& tally, const std::string& form,
                          std::size_t window, Folding folding, const std::string& row)
{
    const ResultList hits = PhraseQuery(form, false, folding).find(table);
    const std::vector<Collocate> byTable = findCollocates(table, hits, window, foldedFormKeys(table, folding));
    const WordPattern pattern(form, folding);
    std::vector<std::uint8_t> node(tally.typeCount());
    for (FormTally::TypeId t = 0; t < tally.typeCount(); ++t)
        node[t] = pattern.matches(tally.typeText(t)) ? 1 : 0;
    const std::vector<Collocate> byTally = findCollocates(tally, node, window, foldedFormKeys(tally, folding));
    ASSERT_EQ(byTally.size(), byTable.size()) << row;
    for (std::size_t k = 0; k < byTable.size(); ++k) {
        EXPECT_EQ(byTally[k].form, byTable[k].form) << row << ", row " << k;
        EXPECT_EQ(byTally[k].cooccurrences, byTable[k].cooccurrences) << row << ", " << byTable[k].form;
        EXPECT_EQ(byTally[k].frequency, byTable[k].frequency) << row << ", " << byTable[k].form;
        EXPECT_EQ(byTally[k].mi, byTable[k].mi) << row << ", " << byTable[k].form;
        EXPECT_EQ(byTally[k].logLikelihood, byTable[k].logLikelihood) << row << ", " << byTable[k].form;
    }
}

} // namespace

TEST(FormTally, GivesTheWordTablesTypesAndFrequencies)
{
    struct Row {
        const char* name;
        std::string text;
        LetterSet letters;
        std::vector<std::size_t> cuts;
    };
    const std::vector<Row> rows = {
        {"empty text", "", LetterSet::Window, {}},
        {"no letters", "[1] 12, 34. [2]", LetterSet::Window, {}},
        {"word ending the text", "et in terra pax", LetterSet::Window, {}},
        {"case kept apart", "Deus deus DEUS deus", LetterSet::Window, {}},
        {"letters of markers are words", "[Gen 1] in principio [Gen 2] in", LetterSet::Window, {}},
        {"forms past eight letters", "misericordiae misericordiam misericordiae misericordi",
         LetterSet::Window, {}},
        {"forms sharing eight letters", "principiumque principiumne principium", LetterSet::Window, {}},
        {"oe ligature a letter when extended", "c\x9c" "lum c\x9c" "lum c", LetterSet::Extended, {}},
        {"oe ligature splits a word otherwise", "c\x9c" "lum c\x9c" "lum c", LetterSet::Window, {}},
        {"pieces cut between words", "amor amor [1] Amor amoris amor", LetterSet::Window, {4, 14, 19}},
        {"pieces of one word each", "a b a", LetterSet::Window, {1, 3, 4}},
    };
    std::set<std::string> names;
    for (const Row& row : rows) {
        ASSERT_TRUE(names.insert(row.name).second) << row.name;
        FormTally tally(row.letters);
        tallyInPieces(tally, row.text, row.cuts);
        expectSameTypes(tally, WordTable::segment(row.text, row.letters), row.name);
    }
}

TEST(FormTally, ManyFormsGrowTheTableAndKeepTheirCounts)
{
    // Enough distinct forms to grow the interning table several times, each seen i % 7 + 1
    // times, spread over the text.
    std::string text;
    for (int round = 0; round < 7; ++round)
        for (int i = 0; i < 20000; ++i)
            if (round <= i % 7)
                text += "f" + std::to_string(i * 7919 % 100003) + "x ";
    for (char& c : text)
        if (c >= '0' && c <= '9')
            c = static_cast<char>('a' + (c - '0'));
    FormTally tally(LetterSet::Window);
    tally.add(text);
    expectSameTypes(tally, WordTable::segment(text), "twenty thousand forms");
}

TEST(FormTally, CollocatesFromItsWordTypesEqualANaiveCountAndTheWordTables)
{
    struct Row {
        const char* name;
        std::string text;
        std::string form;
        std::size_t window;
        Folding folding;
        std::vector<std::size_t> cuts;
    };
    const std::vector<Row> rows = {
        {"node first and last", "n a b c d n", "n", 2, Folding::Case, {}},
        {"window wider than the text", "a n b", "n", 50, Folding::Case, {}},
        {"nodes side by side", "a n n n b", "n", 1, Folding::Case, {}},
        {"overlapping windows", "a b n c n d e", "n", 3, Folding::Case, {}},
        {"every word a node", "a b c a b", "*", 2, Folding::Case, {}},
        {"no node", "a b c", "z", 2, Folding::Case, {}},
        {"empty text", "", "n", 2, Folding::Case, {}},
        {"case folded under one key", "[1] Et n ET [2] et n", "n", 1, Folding::Case, {}},
        {"spelling folded", "uox n c\x9c" "lum VOX n coelum", "N", 2, Folding::Spelling, {}},
        {"wildcard node", "amor amat x amo y amas", "am*", 1, Folding::Case, {}},
        {"pieces cut between words", "a n b [1] c n d e n", "n", 2, Folding::Case, {2, 10, 15}},
    };
    std::set<std::string> names;
    for (const Row& row : rows) {
        ASSERT_TRUE(names.insert(row.name).second) << row.name;
        const LetterSet letters = row.folding == Folding::Spelling ? LetterSet::Extended : LetterSet::Window;
        const WordTable table = WordTable::segment(row.text, letters);
        FormTally tally(letters, true);
        tallyInPieces(tally, row.text, row.cuts);
        expectSameTypes(tally, table, row.name);
        expectSameCollocates(table, tally, row.form, row.window, row.folding, row.name);

        // Every word within N of a node, the node itself left out, counted once per node.
        const WordPattern pattern(row.form, row.folding);
        std::map<std::string, std::size_t> naive;
        for (std::size_t i = 0; i < table.size(); ++i) {
            if (!pattern.matches(table.form(i)))
                continue;
            for (std::size_t j = i >= row.window ? i - row.window : 0; j <= i + row.window && j < table.size(); ++j)
                if (j != i)
                    ++naive[folded(table.form(j), row.folding)];
        }
        std::vector<std::uint8_t> node(tally.typeCount());
        for (FormTally::TypeId t = 0; t < tally.typeCount(); ++t)
            node[t] = pattern.matches(tally.typeText(t)) ? 1 : 0;
        std::map<std::string, std::size_t> counted;
        for (const Collocate& c : findCollocates(tally, node, row.window, foldedFormKeys(tally, row.folding)))
            counted[c.form] = c.cooccurrences;
        EXPECT_EQ(counted, naive) << row.name;
    }
}

namespace {

class NewTestamentTally : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string lexiconDir = QUORVEX_LEXICON_DIR;
        m_latin = std::string(QUORVEX_CORPUS_DIR) + "/latin-nt.txt";
        if (lexiconDir.empty() || !std::filesystem::exists(m_latin))
            GTEST_SKIP() << "no lexicon (run tools/fetch-lexicon.sh) or no ../shared/corpus";
        lexicon::LexiconProblem failure;
        std::vector<lexicon::LexiconProblem> malformed;
        m_lexicon = lexicon::Lexicon::load(lexiconDir, false, failure, malformed);
        ASSERT_FALSE(failure) << lexicon::describeProblem(failure);
        TextReadResult text = readText(m_latin);
        ASSERT_FALSE(text.error) << describeFileError(text.error);
        m_table = WordTable::segment(std::move(text.text), LetterSet::Extended);
        // As the command line reads it: the file as it lies, in pieces.
        OnePassText onePass;
        onePass.open(m_latin);
        ASSERT_FALSE(onePass.error()) << describeFileError(onePass.error());
        onePass.forEachPiece(LetterSet::Extended, [this](std::string_view piece) { m_tally.add(piece); });
    }

    std::string m_latin;
    lexicon::Lexicon m_lexicon;
    WordTable m_table;
    FormTally m_tally{LetterSet::Extended, true};
};

} // namespace

TEST_F(NewTestamentTally, CountsOneHundredLemmataAsTheWordTableDoes)
{
    expectSameTypes(m_tally, m_table, "New Testament");
    const TextLemmata fromTable = TextLemmata::build(m_table, m_lexicon);
    const TextLemmata fromTally = TextLemmata::build(m_tally, m_lexicon);
    ASSERT_EQ(fromTally.typeCount(), fromTable.typeCount());
    EXPECT_EQ(fromTally.explainedWords(), fromTable.explainedWords());

    // A hundred lemmata the text attests, spread over the lexicon's order, frequent and rare.
    std::set<lexicon::LemmaId> attested;
    for (TextLemmata::TypeId type = 0; type < fromTable.typeCount(); ++type)
        for (const lexicon::LemmaId id : fromTable.candidates(type))
            attested.insert(id);
    ASSERT_GE(attested.size(), 100u);
    const std::vector<lexicon::LemmaId> all(attested.begin(), attested.end());
    std::size_t checked = 0;
    for (std::size_t i = 0; i < 100; ++i) {
        const std::vector<lexicon::LemmaId> lemma = {all[i * all.size() / 100]};
        const std::string name(m_lexicon.lemma(lemma.front()).spelling);
        FoldedFormTally spelt(m_lexicon.spellingsOf(m_lexicon.lemmataNamed(name)), LetterSet::Extended);
        spelt.add(m_table.text());
        EXPECT_EQ(spelt.wordCount(), m_table.size()) << name;
        for (const bool strict : {false, true}) {
            const std::size_t byTable = fromTable.wordCount(fromTable.typesOf(lemma, strict));
            EXPECT_EQ(fromTally.wordCount(fromTally.typesOf(lemma, strict)), byTable)
                << name << (strict ? ", strict" : "");
            // By its name, deciding only the forms the lexicon's quick test lets through.
            const std::vector<lexicon::LemmaId> named = m_lexicon.lemmataNamed(name);
            EXPECT_EQ(countLemmaWords(m_lexicon, m_tally, name, strict),
                      fromTable.wordCount(fromTable.typesOf(named, strict)))
                << name << (strict ? ", strict" : "");
            // From the words spelt as the lemmata may be, counted in one pass of the text.
            EXPECT_EQ(countLemmaWords(m_lexicon, spelt, named, strict),
                      fromTable.wordCount(fromTable.typesOf(named, strict)))
                << name << (strict ? ", strict" : "");
            // The word table's list is what its count stands for.
            EXPECT_EQ(fromTable.wordsOf(fromTable.typesOf(lemma, strict)).size(), byTable) << name;
        }
        ++checked;
    }
    EXPECT_EQ(checked, 100u);
    // Names the lexicon does not know are left to the whole search.
    for (const char* unknown : {"deum", "xyzzy", "edo9", ""})
        EXPECT_FALSE(countLemmaWords(m_lexicon, m_tally, unknown, false).has_value()) << unknown;
}

TEST_F(NewTestamentTally, EveryFormALemmaIsFoundInIsAmongItsSpellings)
{
    // Over every distinct form of the text, each lemma analyse gives it: the form is among
    // that lemma's spellings, or a count would miss its words. Lemmata spread over the
    // lexicon's order, with those of the forms found only by a rule, a later spelling or an
    // enclitic.
    const TextLemmata lemmata = TextLemmata::build(m_table, m_lexicon);
    std::map<lexicon::LemmaId, std::vector<std::string>> formsOf;
    for (TextLemmata::TypeId type = 0; type < lemmata.typeCount(); ++type)
        for (const lexicon::LemmaId id : lemmata.candidates(type))
            formsOf[id].emplace_back(lemmata.typeForm(type));
    std::set<lexicon::LemmaId> chosen;
    std::size_t i = 0;
    for (const auto& entry : formsOf)
        if (i++ % 12 == 0)
            chosen.insert(entry.first);
    for (TextLemmata::TypeId type = 0; type < lemmata.typeCount(); ++type) {
        if (lemmata.candidates(type).empty() || m_lexicon.knowsForm(lemmata.typeForm(type)))
            continue;
        for (const lexicon::LemmaId id : lemmata.candidates(type))
            chosen.insert(id);
    }
    ASSERT_GE(chosen.size(), 300u);
    for (const lexicon::LemmaId id : chosen) {
        const std::vector<std::string> spellings = m_lexicon.spellingsOf({id});
        for (const std::string& form : formsOf[id])
            EXPECT_TRUE(std::binary_search(spellings.begin(), spellings.end(), form))
                << form << " of " << m_lexicon.lemma(id).spelling;
    }
}

TEST_F(NewTestamentTally, CountsRespelledWordsOfALemmaAsTheWordTableDoes)
{
    // Words a test on first letters or lengths would turn away wrongly: capitals, j and v,
    // the ligatures and accents of the code page, later spellings only, enclitics, short and
    // contracted endings, assimilated prefixes; pieces cut between words; look-alikes that
    // are no form of the lemma.
    struct Row {
        const char* name;
        std::string text;
        const char* lemma;
        std::vector<std::size_t> cuts;
        std::size_t expected;
    };
    const std::vector<Row> rows = {
        {"capitals and v", "SVM Sum sum EST Estis FVIT fuerunt", "sum", {}, 7},
        {"enclitics", "estne suntque fuitue sumus", "sum", {}, 4},
        {"look-alikes of sum", "summus sumo sine esca fur", "sum", {}, 0},
        {"ae ligature", "c\xe6lum C\xc6LI caelo", "caelum", {}, 3},
        {"oe for ae", "c\x9clum C\x8cLO coelum", "caelum", {}, 3},
        // celo and celi are forms of celo as written: the later spelling is not tried.
        {"e for ae, a later spelling only", "celum celo celi", "caelum", {}, 1},
        {"ch for h", "michi Michi MICHI mihi", "ego", {}, 4},
        {"nichil", "nichil Nichil nihil nil", "nihil", {}, 3},
        {"e for oe", "pena penam poena", "poena", {}, 3},
        {"mpn for mn", "dampnum dampna damnum", "damnum", {}, 3},
        {"accents dropped", "d\xeexit d\xcc" "cit dixit", "dico", {}, 3},
        {"short perfect and -ere", "dixere dixerunt audisse audistis", "audio", {}, 2},
        {"genitive in -i", "consili consilii consilium", "consilium", {}, 3},
        {"assimilated prefix", "adfero affero attulit adtulit", "adfero", {}, 3},
        {"contracted ending", "amasti amavisti amarunt", "amo", {}, 3},
        {"pieces cut between words", "sum es [1] est erat [2] eram", "sum", {3, 11, 20}, 5},
        {"a word past sixty-three letters", std::string(70, 's') + " sum", "sum", {}, 1},
        {"j for i", "Jesus Iesus iesu", "Iesus", {}, 3},
    };
    std::set<std::string> names;
    for (const Row& row : rows) {
        ASSERT_TRUE(names.insert(row.name).second) << row.name;
        const std::vector<lexicon::LemmaId> named = m_lexicon.lemmataNamed(row.lemma);
        ASSERT_FALSE(named.empty()) << row.name;
        const WordTable table = WordTable::segment(row.text, LetterSet::Extended);
        const TextLemmata lemmata = TextLemmata::build(table, m_lexicon);
        for (const bool strict : {false, true}) {
            FoldedFormTally spelt(m_lexicon.spellingsOf(named), LetterSet::Extended);
            std::size_t from = 0;
            for (const std::size_t cut : row.cuts) {
                spelt.add(std::string_view(row.text).substr(from, cut - from));
                from = cut;
            }
            spelt.add(std::string_view(row.text).substr(from));
            EXPECT_EQ(spelt.wordCount(), table.size()) << row.name;
            const std::size_t byTable = lemmata.wordCount(lemmata.typesOf(named, strict));
            EXPECT_EQ(countLemmaWords(m_lexicon, spelt, named, strict), byTable)
                << row.name << (strict ? ", strict" : "");
            if (!strict) {
                EXPECT_EQ(byTable, row.expected) << row.name;
            }
        }
    }
}

TEST_F(NewTestamentTally, CountsFoldedFormsAsTheWordTableDoes)
{
    // A hundred of the text's forms spread over its types, as typed by a reader (upper case,
    // j and v), and patterns with a star.
    std::vector<std::string> typed = {"DEUS", "iesus", "Jesus", "vox", "uox", "c\x9c" "lum", "caelum",
                                      "am*", "*que", "d*us", "*", "s*m", "inter*", "zzz"};
    for (std::size_t i = 0; i < 100; ++i)
        typed.emplace_back(m_table.typeText(static_cast<std::uint32_t>(i * m_table.typeCount() / 100)));
    for (const std::string& form : typed) {
        const WordPattern pattern(form, Folding::Spelling);
        const std::size_t byTally =
            m_tally.wordsWhere([&pattern](std::string_view t) { return pattern.matches(t); });
        EXPECT_EQ(byTally, PhraseQuery(form, false, Folding::Spelling).find(m_table).size()) << form;
        // A form without a star, from the words so spelt alone.
        const std::string spelling = lowered(folded(form, Folding::Spelling));
        if (spelling.find('*') == std::string::npos) {
            FoldedFormTally spelt({spelling}, LetterSet::Extended);
            spelt.add(m_table.text());
            EXPECT_EQ(spelt.frequency(0), byTally) << form;
        }
    }
}

TEST_F(NewTestamentTally, CountsCollocatesAsTheWordTableDoes)
{
    expectSameTypes(m_tally, m_table, "New Testament");
    struct Row {
        const char* form;
        std::size_t window;
    };
    // Frequent and rare nodes, one that is every word, a prefix, and the widest window.
    for (const Row& row : std::vector<Row>{{"deus", 5}, {"et", 1}, {"Iesus", 3}, {"*", 2}, {"am*", 50},
                                           {"propitiatio", 4}, {"zzz", 5}})
        expectSameCollocates(m_table, m_tally, row.form, row.window, Folding::Spelling,
                             std::string(row.form) + " " + std::to_string(row.window));
}
