// The renderings of the New Testament pair against hits whose French word was decided by
// reading both verses (tests/data/nt-renderings.tsv): the first word of a rendered hit's
// rendering is the chosen word or a form of its lemma for at least 93 % of them, and "—"
// stands for at most 2 %: with a marker a verse, for five verses, or for a whole chapter.

#include "concordance/SpellingFold.h"
#include "concordance/TextLemmata.h"
#include "text/Cp1252.h"
#include "text/TextFile.h"
#include "translation/Stemmer.h"
#include "translation/TextAlignment.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace quorvex {
namespace {

struct Decided {
    std::string reference, form, french;  // Windows-1252
    int nth = 1;
    std::string line;
};

std::vector<Decided> readDecided()
{
    std::ifstream in(std::string(QUORVEX_TEST_DATA_DIR) + "/nt-renderings.tsv");
    std::vector<Decided> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        Decided d;
        std::string nth;
        std::getline(fields, d.reference, '\t');
        std::getline(fields, d.form, '\t');
        std::getline(fields, nth, '\t');
        std::getline(fields, d.french, '\t');
        d.form = utf8ToCp1252(d.form).bytes;
        d.french = utf8ToCp1252(d.french).bytes;
        d.nth = std::stoi(nth);
        d.line = line;
        rows.push_back(std::move(d));
    }
    return rows;
}

bool sameLemma(FrenchLemmas& lemmas, std::string_view a, std::string_view b)
{
    const FrenchLemmas::Word wa = lemmas.word(a);
    const FrenchLemmas::Word wb = lemmas.word(b);
    for (std::uint32_t i = 0; i < wa.count; ++i)
        for (std::uint32_t j = 0; j < wb.count; ++j)
            if (lemmas.lemmas(wa)[i] == lemmas.lemmas(wb)[j])
                return true;
    return false;
}

// The New Testament with one marker for `verses` verses of a chapter, or for the whole
// chapter (0): "[47.1.1] ... [47.1.2] ..." becomes "[47.1.0] ... ..." or "[47.1] ... ...".
// The words, and so the hits' word numbers, stay the same.
std::string regrouped(std::string_view text, int verses)
{
    std::string out;
    out.reserve(text.size());
    std::string lastChapter;
    int inChapter = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t open = text.find('[', at);
        const std::size_t close = open == std::string_view::npos ? open : text.find(']', open);
        if (close == std::string_view::npos) {
            out.append(text.substr(at));
            break;
        }
        out.append(text.substr(at, open - at));
        const std::string_view marker = text.substr(open + 1, close - open - 1);
        const std::string chapter(marker.substr(0, marker.rfind('.')));
        inChapter = chapter == lastChapter ? inChapter + 1 : 0;
        lastChapter = chapter;
        if (verses == 0 && inChapter == 0)
            out += "[" + chapter + "]";
        else if (verses > 0 && inChapter % verses == 0)
            out += "[" + chapter + "." + std::to_string(inChapter / verses) + "]";
        at = close + 1;
    }
    return out;
}

struct Grouping {
    const char* name;
    int verses;  // a passage's verses, 0 for a chapter
};

class RenderingCheck : public testing::TestWithParam<Grouping> {};

// The rendering of a hit does not depend on how long its passage is: a pair of hundreds of
// words is cut where its sentences meet.
TEST_P(RenderingCheck, DecidedNewTestamentHitsAreRenderedByTheirWord)
{
    const int versesAPassage = GetParam().verses;
    const std::string corpus = QUORVEX_CORPUS_DIR;
    const std::string lexiconDir = QUORVEX_LEXICON_DIR;
    if (lexiconDir.empty() || !std::filesystem::exists(corpus + "/latin-nt.txt"))
        GTEST_SKIP() << "no lexicon (run tools/fetch-lexicon.sh) or no ../shared/corpus";
    OpenedStemmer stemmer = openHunspellStemmer(std::string(kDefaultFrenchDictionary));
    if (!stemmer.stemmer)
        GTEST_SKIP() << "no Hunspell French dictionary";

    lexicon::LexiconProblem failure;
    std::vector<lexicon::LexiconProblem> malformed;
    const lexicon::Lexicon lexicon = lexicon::Lexicon::load(lexiconDir, false, failure, malformed);
    ASSERT_FALSE(failure) << lexicon::describeProblem(failure);
    TextReadResult latinText = readText(corpus + "/latin-nt.txt");
    TextReadResult french = readText(corpus + "/francais-nt.txt");
    ASSERT_FALSE(latinText.error || french.error);
    // The hits are found by their verse, then looked at in the text as aligned.
    const WordTable verses = WordTable::segment(latinText.text);
    if (versesAPassage != 1) {
        latinText.text = regrouped(latinText.text, versesAPassage);
        french.text = regrouped(french.text, versesAPassage);
    }
    const WordTable latin = WordTable::segment(std::move(latinText.text));
    ASSERT_EQ(latin.size(), verses.size());
    const TextLemmata latinLemmata = TextLemmata::build(latin, lexicon);
    FrenchLemmas frenchLemmas(stemmer.stemmer.get());
    frenchLemmas.readText(french.text);
    const TextAlignment alignment = alignTexts(latin, french.text, frenchLemmas, &latinLemmata);

    std::map<std::string, std::vector<std::size_t>> wordsOf;
    for (std::size_t w = 0; w < verses.size(); ++w)
        wordsOf[verses.referenceText(verses.referenceId(w))].push_back(w);

    const std::vector<Decided> decided = readDecided();
    ASSERT_GE(decided.size(), 250u);
    std::size_t rendered = 0, right = 0, none = 0;
    std::string misses;
    for (const Decided& d : decided) {
        std::size_t hit = verses.size();
        int left = d.nth;
        for (const std::size_t w : wordsOf[d.reference])
            if (folded(verses.form(w), Folding::Spelling) == folded(d.form, Folding::Spelling) && --left == 0) {
                hit = w;
                break;
            }
        ASSERT_LT(hit, verses.size()) << "no such hit: " << d.line;
        if (d.french == "\x97")  // left out by the translator
            continue;
        ++rendered;
        const std::vector<TextAlignment::FrenchWord> words = alignment.renderingOf(Attestation{WordIndex(hit), 1});
        if (words.empty()) {
            ++none;
            misses += d.line + " -> —\n";
            continue;
        }
        const std::string_view first = std::string_view(french.text).substr(words[0].offset, words[0].length);
        std::string a, b;
        appendFrenchFolded(a, first);
        appendFrenchFolded(b, d.french);
        if (a == b || sameLemma(frenchLemmas, first, d.french))
            ++right;
        else
            misses += d.line + " -> " + renderingText(words, french.text) + "\n";
    }
    EXPECT_GE(100.0 * double(right), 93.0 * double(rendered)) << right << " of " << rendered << "\n" << misses;
    EXPECT_LE(100.0 * double(none), 2.0 * double(rendered)) << none << " of " << rendered << "\n" << misses;
}

INSTANTIATE_TEST_SUITE_P(Passages, RenderingCheck,
                         testing::Values(Grouping{"Verses", 1}, Grouping{"FiveVerses", 5}, Grouping{"Chapters", 0}),
                         [](const testing::TestParamInfo<Grouping>& info) { return std::string(info.param.name); });

} // namespace
} // namespace quorvex
