// The one request of both front ends: which choices go together, and the list it gives read
// through the table it comes with, under every choice.

#include "concordance/RequestOptions.h"
#include "concordance/SearchRequest.h"
#include "concordance/SearchResult.h"
#include "lexicon/Lexicon.h"
#include "translation/FrenchLemmas.h"

#include "../support/SmallLexiconData.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvex {
namespace {

// Windows-1252: \x9C œ, \xE6 æ, \xE9 é. "cœlum" stands in words the window's letters would cut.
const char* const kLatin = "[1] Deus dixit c\x9Clum. [2] C\x9Clum et terra, dei amor. "
                           "[3] Amor dei et \xE6ternus amor. [4] Deus est coelum.";
const char* const kFrench = "[1] Dieu dit le ciel. [2] Le ciel et la terre, l'amour de dieu. "
                            "[3] L'amour de Dieu et l'amour \xE9ternel. [4] Dieu est le ciel du c\x9Cur.";

// "form [ref]; ..." read through the result's own table.
std::string rows(const SearchResult& r)
{
    std::string out;
    for (const Attestation& a : r.list()) {
        if (!out.empty())
            out += "; ";
        out += attestationForm(r.words(), a) + " ";
        appendAttestationReference(r.words(), a, out);
    }
    return out;
}

SearchRequest requestOf(const char* query)
{
    SearchRequest r;
    r.query = query;
    return r;
}

TEST(SearchRequestRefusal, EachChoiceThatCannotGoWithAnotherIsRefusedInTheCommandsWords)
{
    struct Row {
        const char* name;
        SearchRequest request;
        bool french;
        const char* refusal;
    };
    SearchRequest lemmaPhrase = requestOf("deus");
    lemmaPhrase.lemma = lemmaPhrase.phrase = true;
    SearchRequest strictFrench = requestOf("deus");
    strictFrench.lemma = strictFrench.lemmaStrict = strictFrench.frenchSide = true;
    SearchRequest lemmaStar = requestOf("de*");
    lemmaStar.lemma = true;
    SearchRequest side = requestOf("amour");
    side.frenchSide = true;
    SearchRequest form = requestOf("amor");
    form.frenchForm = "amour";
    SearchRequest frenchLemma = requestOf("amor");
    frenchLemma.frenchLemma = "amour";
    SearchRequest lemmaOnSide = side;
    lemmaOnSide.frenchLemma = "amour";
    SearchRequest formOnSide = side;
    formOnSide.frenchForm = "ciel";
    SearchRequest everything = requestOf("deus");
    everything.lemma = everything.lemmaStrict = true;
    everything.frenchForm = "dieu";
    everything.frenchLemma = "dieu";
    everything.aligned = true;
    everything.excludedForms = {"dei"};
    everything.sort = SortOrder::Left;
    SearchRequest alignedAlone = requestOf("amor");
    alignedAlone.aligned = true;
    const Row table[] = {
        {"lemmaWithPhrase", lemmaPhrase, true, "--lemma ne s'emploie pas avec --phrase (un lemme est un seul mot)."},
        {"strictLemmaOnFrenchSide", strictFrench, true,
         "--lemma-strict cherche dans le texte latin, pas avec --side french."},
        {"lemmaWithStar", lemmaStar, true, "un lemme ne contient pas de « * » (« de* »)."},
        {"frenchSideWithoutFrench", side, false, "--side french demande le texte français (--french FICHIER)."},
        {"frenchFormWithoutFrench", form, false, "--french-form demande le texte français (--french FICHIER)."},
        {"frenchLemmaWithoutFrench", frenchLemma, false,
         "--french-lemma demande le texte français (--french FICHIER)."},
        {"frenchLemmaOnFrenchSide", lemmaOnSide, true, "--french-lemma ne s'emploie pas avec --side french."},
        {"frenchFormOnFrenchSide", formOnSide, true,
         "--french-form ne s'emploie pas avec --side french (la forme cherchée est déjà française)."},
        {"alignedWithoutFrenchFilter", alignedAlone, true,
         "--aligned ne s'emploie qu'avec --french-form ou --french-lemma."},
        {"lemmaBeforeFrench", lemmaStar, false, "un lemme ne contient pas de « * » (« de* »)."},
        {"plainWithoutFrench", requestOf("amor"), false, ""},
        {"frenchSideWithFrench", side, true, ""},
        {"everyLatinChoiceTogether", everything, true, ""},
    };
    for (const Row& row : table)
        EXPECT_EQ(requestRefusal(row.request, row.french), row.refusal) << row.name;
}

class SearchResultOverTwoTexts : public ::testing::Test {
protected:
    void SetUp() override
    {
        lexicon::LexiconTexts texts;
        texts.models = testsupport::kSmallLexiconModels;
        texts.lemmata = testsupport::kSmallLexiconLemmata;
        std::vector<lexicon::LexiconProblem> malformed;
        m_lexicon = lexicon::Lexicon::parse(texts, malformed);
        ASSERT_TRUE(malformed.empty());
        m_texts.setLatin(kLatin);
        m_texts.setFrench(kFrench);
    }

    SearchResult built(const SearchRequest& r, SearchWants wants = SearchWants::List)
    {
        SearchAids aids{&m_lexicon, &m_frenchLemmas};
        return buildSearchResult(r, m_texts, aids, wants);
    }

    lexicon::Lexicon m_lexicon;
    FrenchLemmas m_frenchLemmas{nullptr};
    SearchTexts m_texts;
};

TEST_F(SearchResultOverTwoTexts, EveryChoiceGivesItsListReadThroughTheTableItIndexes)
{
    struct Row {
        const char* name;
        SearchRequest request;
        const char* rows;
        LetterSet letters;  // of the table the list indexes
    };
    SearchRequest folded = requestOf("coelum");
    folded.normalize = true;
    SearchRequest phrase = requestOf("amor  dei");
    phrase.phrase = true;
    SearchRequest side = requestOf("amour");
    side.frenchSide = true;
    SearchRequest heart = requestOf("C\xC5\x92UR");  // UTF-8 "CŒUR": œ is a letter of French words
    heart.frenchSide = true;
    SearchRequest heartFolded = heart;
    heartFolded.normalize = true;
    SearchRequest filtered = requestOf("amor");
    filtered.frenchForm = "\xE9ternel";
    SearchRequest excluded = requestOf("d*");
    excluded.excludedForms = {"DEUS"};
    SearchRequest byForm = requestOf("d*");
    byForm.sort = SortOrder::Forms;
    SearchRequest byLeft = requestOf("amor");
    byLeft.sort = SortOrder::Left;
    SearchRequest lemma = requestOf("deus");
    lemma.lemma = true;
    SearchRequest lemmaLater = lemma;
    lemmaLater.query = "c\xC5\x93lum";  // UTF-8 "cœlum": no lemma, a form of the text
    SearchRequest frenchLemma = requestOf("amor");
    frenchLemma.frenchLemma = "dieu";
    const Row table[] = {
        {"plain", requestOf("amor"), "amor [2]; Amor [3]; amor [3]", LetterSet::Window},
        {"foldedSpelling", folded, "c\x9Clum [1]; C\x9Clum [2]; coelum [4]", LetterSet::Extended},
        {"phrase", phrase, "Amor dei [3]", LetterSet::Window},
        {"frenchSide", side, "amour [2]; amour [3]; amour [3]", kFrenchLetters},
        {"frenchSideLigature", heart, "c\x9Cur [4]", kFrenchLetters},
        {"frenchSideFolded", heartFolded, "c\x9Cur [4]", kFrenchLetters},
        {"frenchForm", filtered, "Amor [3]; amor [3]", LetterSet::Window},
        {"formsLeftOut", excluded, "dixit [1]; dei [2]; dei [3]", LetterSet::Window},
        {"sortedByForm", byForm, "dei [2]; dei [3]; Deus [1]; Deus [4]; dixit [1]", LetterSet::Window},
        {"sortedByLeftWord", byLeft, "Amor [3]; amor [2]; amor [3]", LetterSet::Window},
        {"lemma", lemma, "Deus [1]; dei [2]; dei [3]; Deus [4]", LetterSet::Extended},
        {"lemmaUnknownSearchedAsForm", lemmaLater, "c\x9Clum [1]; C\x9Clum [2]; coelum [4]", LetterSet::Extended},
        {"frenchLemma", frenchLemma, "amor [2]; Amor [3]; amor [3]", LetterSet::Window},
    };
    for (const Row& row : table) {
        const SearchResult list = built(row.request);
        EXPECT_EQ(list.status(), QueryStatus::Searched) << row.name;
        EXPECT_EQ(rows(list), row.rows) << row.name;
        EXPECT_EQ(list.words().letterSet(), row.letters) << row.name;
        EXPECT_EQ(list.request(), row.request) << row.name;
        // A count alone is the list's length, whether or not the rows were built for it.
        const SearchResult count = built(row.request, SearchWants::Count);
        EXPECT_TRUE(count.countOnly()) << row.name;
        EXPECT_EQ(count.count(), list.list().size()) << row.name;
    }
}

TEST_F(SearchResultOverTwoTexts, TheAlignmentIsLearntOnceForItsTextsAndLemmata)
{
    const auto first = m_texts.alignment(Folding::Case, m_frenchLemmas, nullptr);
    EXPECT_EQ(m_texts.alignment(Folding::Case, m_frenchLemmas, nullptr), first);
    SearchRequest lemma = requestOf("deus");
    lemma.lemma = true;
    const SearchResult byLemma = built(lemma);
    const auto onLemmata = m_texts.alignment(byLemma, m_frenchLemmas);
    EXPECT_NE(onLemmata, first);
    EXPECT_EQ(m_texts.alignment(byLemma, m_frenchLemmas), onLemmata);
    // Another French text is another pair.
    m_texts.setFrench(kFrench);
    EXPECT_NE(m_texts.alignment(byLemma, m_frenchLemmas), onLemmata);
}

TEST(SearchResultAligned, AnAlignedFilterKeepsTheHitsTheWordRendersNotThoseItStandsBeside)
{
    // Dieu and Seigneur render deus; aime, voit, parle its verbs.
    SearchTexts texts;
    texts.setLatin("[1] deus amat [2] deus videt [3] deus dicit [4] homo amat [5] homo videt [6] homo dicit");
    texts.setFrench("[1] Dieu aime [2] Dieu voit [3] le Seigneur parle [4] l'homme aime [5] l'homme voit "
                    "[6] l'homme parle");
    FrenchLemmas lemmas(nullptr);
    lemmas.readText(texts.text(true));
    struct Row {
        const char* name;
        const char* frenchLemma;
        const char* frenchForm;
        const char* passageRows;
        const char* alignedRows;
    };
    const Row table[] = {
        {"lemmaRendering", "dieu", nullptr, "deus [1]; deus [2]", "deus [1]; deus [2]"},
        {"lemmaBeside", "aime", nullptr, "deus [1]", ""},
        {"formRendering", nullptr, "Seig*", "deus [3]", "deus [3]"},
        {"formBeside", nullptr, "parle", "deus [3]", ""},
    };
    for (const Row& row : table) {
        SearchRequest request = requestOf("deus");
        if (row.frenchLemma)
            request.frenchLemma = row.frenchLemma;
        if (row.frenchForm)
            request.frenchForm = row.frenchForm;
        const SearchAids aids{nullptr, &lemmas};
        EXPECT_EQ(rows(buildSearchResult(request, texts, aids)), row.passageRows) << row.name;
        request.aligned = true;
        EXPECT_EQ(rows(buildSearchResult(request, texts, aids)), row.alignedRows) << row.name;
    }
}

TEST_F(SearchResultOverTwoTexts, AQueryThatCanFindNothingSaysWhyAndListsNothing)
{
    const SearchResult greek = built(requestOf("amor\xCE\xA9"));
    EXPECT_EQ(greek.status(), QueryStatus::Unsearchable);
    EXPECT_EQ(greek.missingChar(), "\xCE\xA9");
    EXPECT_TRUE(greek.list().empty());
    EXPECT_EQ(greek.count(), 0u);

    SearchRequest unknown = requestOf("zzzz");
    unknown.lemma = true;
    const SearchResult none = built(unknown);
    EXPECT_EQ(none.status(), QueryStatus::UnknownLemma);
    EXPECT_EQ(none.lemmaMatch(), LemmaMatchKind::Unknown);
    EXPECT_NE(none.lemmaLines().find("Lemme inconnu"), std::string::npos) << none.lemmaLines();
    EXPECT_TRUE(none.list().empty());
}

TEST_F(SearchResultOverTwoTexts, TablesAreCutOnceAndAResortKeepsItsTable)
{
    SearchRequest folded = requestOf("amor");
    folded.normalize = true;
    SearchResult first = built(folded);
    const SearchResult second = built(folded);
    EXPECT_EQ(first.sharedWords(), second.sharedWords());
    EXPECT_EQ(m_texts.text(false), kLatin);  // the text is held by its tables now, unchanged
    // The French text has one table, whatever the folding.
    SearchRequest side = requestOf("amour");
    side.frenchSide = true;
    const SearchResult plainSide = built(side);
    side.normalize = true;
    EXPECT_EQ(built(side).sharedWords(), plainSide.sharedWords());
    // Left words folded: "aeternus" < "amor" < "dei".
    first.sortByNeighbour(Neighbour::Left);
    EXPECT_EQ(rows(first), "amor [3]; Amor [3]; amor [2]");
    // Equal forms keep that order within a reference.
    first.sortByForm(SortKeys::FormThenReference);
    EXPECT_EQ(rows(first), "amor [2]; amor [3]; Amor [3]");
    EXPECT_EQ(first.sharedWords(), second.sharedWords());

    const SearchResult before;
    EXPECT_FALSE(before.searched());
    EXPECT_TRUE(isEmptyRowList(before.list()));
    EXPECT_EQ(before.count(), 0u);
}

// The request's options read back as they were written: what the window keeps between runs
// and what "Copier la commande" gives are the same words, in the table's order, whatever the
// order they were typed in; a value the command line refuses is refused in its words.
TEST(RequestOptions, WrittenOptionsReadBackToTheSameRequestAndBadValuesAreRefused)
{
    struct Row {
        const char* name;
        std::vector<std::string> typed;
        std::vector<std::string> written;  // requestArguments without "--" and the query
        std::string error;
    };
    const std::vector<Row> rows = {
        {"none", {}, {}, ""},
        {"every flag", {"--analyses", "--aligned", "--phrase", "--normalize"},
         {"--phrase", "--normalize", "--aligned", "--analyses"}, ""},
        {"strict lemma", {"--lemma-strict"}, {"--lemma-strict"}, ""},
        {"lemma folds by itself", {"--normalize", "--lemma"}, {"--lemma"}, ""},
        {"values", {"--morph", "ablatif pluriel", "--sort", "left", "--side", "french"},
         {"--side", "french", "--sort", "left", "--morph", "ablatif pluriel"}, ""},
        {"accented forms", {"--exclude-form", "d\xc3\xaex\xc3\xaet", "--exclude-form", "dicit", "--french-form", "c\xc5\x93ur"},
         {"--french-form", "c\xc5\x93ur", "--exclude-form", "d\xc3\xaex\xc3\xaet", "--exclude-form", "dicit"}, ""},
        {"French lemma", {"--french-lemma", "\xc5\x93il"}, {"--french-lemma", "\xc5\x93il"}, ""},
        {"side latin is the default", {"--side", "latin"}, {}, ""},
        {"bad side", {"--side", "grec"}, {}, "--side attend latin ou french, pas « grec »."},
        {"bad sort", {"--sort", "up"}, {}, "--sort attend forms, text, left ou right, pas « up »."},
        {"value missing", {"--morph"}, {}, "l'option --morph attend une valeur (MOTS)."},
        {"not a request option", {"--count"}, {}, "option inconnue : « --count »."},
        {"outside the code page", {"--french-form", "\xe2\x82\xac\xe2\x88\x80"}, {},
         "la valeur de --french-form contient le caractère « \xe2\x88\x80 », que le codage Windows-1252 ne "
         "peut pas représenter."},
        {"empty exclusion", {"--exclude-form", ""}, {}, "--exclude-form attend une forme."},
    };
    for (const Row& row : rows) {
        const RequestReading reading = readRequestArguments(row.typed);
        EXPECT_EQ(reading.error, row.error) << row.name;
        if (!row.error.empty())
            continue;
        std::vector<std::string> written = requestArguments(reading.request);
        ASSERT_GE(written.size(), 2u) << row.name;
        EXPECT_EQ(written[written.size() - 2], "--") << row.name;
        written.resize(written.size() - 2);
        EXPECT_EQ(written, row.written) << row.name;
        // Read again, the words give the same request: nothing is lost in a round trip.
        const RequestReading again = readRequestArguments(written);
        EXPECT_EQ(again.error, "") << row.name;
        SearchRequest expected = reading.request;
        if (expected.lemma)
            expected.normalize = false;  // implied by the lemma, not written
        EXPECT_TRUE(again.request == expected) << row.name;
    }
    // Every option of the table is one the command line takes, with the same value's name.
    for (const RequestOption& option : requestOptions())
        EXPECT_EQ(findRequestOption(option.name), &option) << option.name;
}

} // namespace
} // namespace quorvex
