// The renderings of the New Testament pair against hits whose French word was decided by
// reading both verses (tests/data/nt-renderings.tsv): the first word of a rendered hit's
// rendering is the chosen word or a form of its lemma for at least 93 % of them, and "—"
// stands for at most 2 %.

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

TEST(RenderingCheck, DecidedNewTestamentHitsAreRenderedByTheirWord)
{
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
    const TextReadResult french = readText(corpus + "/francais-nt.txt");
    ASSERT_FALSE(latinText.error || french.error);
    const WordTable latin = WordTable::segment(std::move(latinText.text));
    const TextLemmata latinLemmata = TextLemmata::build(latin, lexicon);
    FrenchLemmas frenchLemmas(stemmer.stemmer.get());
    frenchLemmas.readText(french.text);
    const TextAlignment alignment = alignTexts(latin, french.text, frenchLemmas, &latinLemmata);

    std::map<std::string, std::vector<std::size_t>> wordsOf;
    for (std::size_t w = 0; w < latin.size(); ++w)
        wordsOf[latin.referenceText(latin.referenceId(w))].push_back(w);

    const std::vector<Decided> decided = readDecided();
    ASSERT_GE(decided.size(), 250u);
    std::size_t rendered = 0, right = 0, none = 0;
    std::string misses;
    for (const Decided& d : decided) {
        std::size_t hit = latin.size();
        int left = d.nth;
        for (const std::size_t w : wordsOf[d.reference])
            if (folded(latin.form(w), Folding::Spelling) == folded(d.form, Folding::Spelling) && --left == 0) {
                hit = w;
                break;
            }
        ASSERT_LT(hit, latin.size()) << "no such hit: " << d.line;
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

} // namespace
} // namespace quorvex
