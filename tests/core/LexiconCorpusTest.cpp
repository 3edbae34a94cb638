// The lexicon the build fetched, over the New Testament: each lemma finds every attestation
// of a list of its forms (counted here from the text itself) and none of a list of
// look-alikes that belong to other words.

#include "concordance/SpellingFold.h"
#include "concordance/TextLemmata.h"
#include "system/CacheFolder.h"
#include "text/TextFile.h"

#include "support/LexiconComparison.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace quorvex;

namespace {

struct LemmaRow {
    const char* lemma;
    std::vector<const char*> forms;       // folded, each standing in the text
    std::vector<const char*> lookAlikes;  // folded, standing in the text, of other lemmata
};

class NewTestament : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const std::string lexiconDir = QUORVEX_LEXICON_DIR;
        const std::string latin = std::string(QUORVEX_CORPUS_DIR) + "/latin-nt.txt";
        if (lexiconDir.empty() || !std::filesystem::exists(latin))
            return;
        lexicon::LexiconProblem failure;
        std::vector<lexicon::LexiconProblem> malformed;
        s_lexicon = new lexicon::Lexicon(lexicon::Lexicon::load(lexiconDir, false, failure, malformed));
        ASSERT_FALSE(failure) << lexicon::describeProblem(failure);
        TextReadResult text = readText(latin);
        ASSERT_FALSE(text.error) << describeFileError(text.error);
        s_words = new WordTable(WordTable::segment(std::move(text.text), LetterSet::Extended));
        s_lemmata = new TextLemmata(TextLemmata::build(*s_words, *s_lexicon));
    }
    static void TearDownTestSuite()
    {
        delete s_lemmata;
        delete s_words;
        delete s_lexicon;
    }
    void SetUp() override
    {
        if (s_lemmata == nullptr)
            GTEST_SKIP() << "no lexicon (run tools/fetch-lexicon.sh) or no ../shared/corpus";
    }

    // How often each folded form stands among `words`.
    static std::map<std::string, std::size_t> foldedCounts(const ResultList& words)
    {
        std::map<std::string, std::size_t> counts;
        for (const Attestation& a : words)
            ++counts[folded(s_words->form(a.first), Folding::Spelling)];
        return counts;
    }

    static lexicon::Lexicon* s_lexicon;
    static WordTable* s_words;
    static TextLemmata* s_lemmata;
};

lexicon::Lexicon* NewTestament::s_lexicon = nullptr;
WordTable* NewTestament::s_words = nullptr;
TextLemmata* NewTestament::s_lemmata = nullptr;

TEST_F(NewTestament, EachLemmaFindsEveryAttestationOfItsFormsAndNoLookAlike)
{
    ResultList all(s_words->size());
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = Attestation{static_cast<WordIndex>(i), 1};
    const std::map<std::string, std::size_t> inText = foldedCounts(all);

    const LemmaRow rows[] = {
        {"dico",
         {"dixit", "dicit", "dicens", "dixerunt", "dictum", "dic", "dixitque", "dicentes", "dixi",
          "dicebat"},
         {"discipuli", "dies", "diebus", "didicit", "dimisit"}},
        {"sum",
         {"est", "sunt", "erat", "fuit", "esse", "sit", "erit", "fuerunt", "estote", "eratque"},
         {"sumpsit", "sumite", "esca", "ecce", "accepit"}},
        {"fero",
         {"tulit", "tulerunt", "ferens", "fert", "ferre", "ferte"},
         {"attulit", "obtulit"}},
        {"video",
         {"uidit", "uidi", "uidens", "uidete", "uiderunt", "uisum", "uidebitis"},
         {"uidua", "uita", "uiuit", "inuidia"}},
        {"Deus", {"deus", "dei", "deo", "deum", "deos"}, {"dies", "deinde", "deorsum"}},
    };
    for (const LemmaRow& row : rows) {
        const std::vector<lexicon::LemmaId> ids = s_lexicon->lemmataNamed(row.lemma);
        ASSERT_FALSE(ids.empty()) << row.lemma;
        const std::map<std::string, std::size_t> found =
            foldedCounts(s_lemmata->wordsOf(s_lemmata->typesOf(ids, false)));
        for (const char* form : row.forms) {
            ASSERT_GT(inText.count(form), 0u) << row.lemma << ": " << form << " not in the text";
            const auto f = found.find(form);
            EXPECT_EQ(f == found.end() ? 0 : f->second, inText.at(form)) << row.lemma << ": " << form;
        }
        for (const char* form : row.lookAlikes) {
            ASSERT_GT(inText.count(form), 0u) << row.lemma << ": " << form << " not in the text";
            EXPECT_EQ(found.count(form), 0u) << row.lemma << " found the look-alike " << form;
        }
    }
}

TEST_F(NewTestament, TheLexiconsImageAnswersAsItsFilesOnEveryFormOfTheText)
{
    testsupport::TempDir dir;
    const CacheFolder cache(std::filesystem::u8path(dir.file("cache")));
    std::set<std::string> distinct;
    for (std::size_t t = 0; t < s_words->typeCount(); ++t)
        distinct.insert(folded(s_words->typeText(static_cast<WordTable::TypeId>(t)), Folding::Spelling));
    const std::vector<std::string> forms(distinct.begin(), distinct.end());
    ASSERT_GT(forms.size(), 10000u);
    for (const lexicon::Lexicon::ImageUse expected : {lexicon::Lexicon::ImageUse::Written, lexicon::Lexicon::ImageUse::Read}) {
        lexicon::LexiconProblem failure;
        std::vector<lexicon::LexiconProblem> malformed;
        lexicon::Lexicon::ImageUse use = lexicon::Lexicon::ImageUse::None;
        const lexicon::Lexicon lexicon = lexicon::Lexicon::load(QUORVEX_LEXICON_DIR, false, failure, malformed, cache, &use);
        ASSERT_FALSE(failure) << lexicon::describeProblem(failure);
        EXPECT_EQ(use, expected);
        EXPECT_TRUE(testsupport::sameLemmata(*s_lexicon, lexicon));
        EXPECT_TRUE(testsupport::sameAnswers(*s_lexicon, lexicon, forms));
    }
}

TEST_F(NewTestament, MostWordsAreExplainedAndAmbiguityIsKept)
{
    EXPECT_GT(static_cast<double>(s_lemmata->explainedWords()) / static_cast<double>(s_words->size()),
              0.9);
    // "est" belongs to sum and edo, sum first (the more frequent).
    const TextLemmata::TypeId est = s_lemmata->findType("est");
    ASSERT_NE(est, TextLemmata::npos);
    std::vector<lexicon::LemmaId> candidates(s_lemmata->candidates(est).begin(),
                                             s_lemmata->candidates(est).end());
    EXPECT_EQ(s_lexicon->spellings(candidates), "sum, edo");
    // Strictly, "est" stays with sum and leaves edo.
    const std::vector<lexicon::LemmaId> edo = s_lexicon->lemmataNamed("edo1");
    const std::vector<TextLemmata::TypeId> loose = s_lemmata->typesOf(edo, false);
    const std::vector<TextLemmata::TypeId> strict = s_lemmata->typesOf(edo, true);
    EXPECT_NE(std::find(loose.begin(), loose.end(), est), loose.end());
    EXPECT_EQ(std::find(strict.begin(), strict.end(), est), strict.end());
}

} // namespace
