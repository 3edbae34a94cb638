// The list ordered by the word before or after each attestation, and the list's forms with
// some left out, against orders worked out by hand.

#include "concordance/FormExclusion.h"
#include "concordance/NeighbourSort.h"
#include "concordance/PhraseQuery.h"
#include "concordance/WordTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvex {
namespace {

struct NeighbourCase {
    const char* name;
    std::string text;  // Windows-1252
    std::string query;
    bool phrase;
    Neighbour side;
    Folding folding;
    // Each attestation after the sort as "form@word index".
    std::vector<std::string> expected;
};

std::vector<std::string> described(const WordTable& table, const ResultList& spans)
{
    std::vector<std::string> out;
    for (const Attestation& s : spans)
        out.push_back(attestationForm(table, s) + "@" + std::to_string(s.first));
    return out;
}

class NeighbourOrder : public ::testing::TestWithParam<NeighbourCase> {};

TEST_P(NeighbourOrder, ByTheNearWordThenTheNextOutThenTextOrder)
{
    const NeighbourCase& c = GetParam();
    const LetterSet letters = c.folding == Folding::Spelling ? LetterSet::Extended : LetterSet::Window;
    const WordTable table = WordTable::segment(c.text, letters);
    ResultList spans = PhraseQuery(c.query, c.phrase, c.folding).find(table);
    sortByNeighbour(table, spans, c.side, c.folding);
    EXPECT_EQ(described(table, spans), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Orders, NeighbourOrder,
    ::testing::Values(
        NeighbourCase{"leftWordLoweredBeforeTextOrder", "Zeta amor [1] beta amor Alpha amor", "amor", false,
                      Neighbour::Left, Folding::Case, {"amor@5", "amor@3", "amor@1"}},
        NeighbourCase{"noWordBeforeSortsFirst", "amor beta amor [2] alpha amor", "amor", false,
                      Neighbour::Left, Folding::Case, {"amor@0", "amor@4", "amor@2"}},
        NeighbourCase{"markerDoesNotStopTheWordBefore", "zeta [1] amor alpha [2] amor", "amor", false,
                      Neighbour::Left, Folding::Case, {"amor@3", "amor@1"}},
        NeighbourCase{"equalNearWordsGoByTheNextOut", "c a amor b a amor a a amor", "amor", false,
                      Neighbour::Left, Folding::Case, {"amor@8", "amor@5", "amor@2"}},
        NeighbourCase{"equalNeighboursKeepTextOrder", "a b amor a b amor", "amor", false, Neighbour::Left,
                      Folding::Case, {"amor@2", "amor@5"}},
        NeighbourCase{"rightWordThenNextOut", "amor z y amor a c amor a b", "amor", false, Neighbour::Right,
                      Folding::Case, {"amor@6", "amor@3", "amor@0"}},
        NeighbourCase{"noWordAfterSortsFirst", "amor b amor a amor", "amor", false, Neighbour::Right,
                      Folding::Case, {"amor@4", "amor@2", "amor@0"}},
        NeighbourCase{"phraseRightWordFollowsItsLastWord", "filius Dei z filius Dei a", "filius Dei", true,
                      Neighbour::Right, Folding::Case, {"filius Dei@3", "filius Dei@0"}},
        NeighbourCase{"byteOrderAfterLowering", "\xE9t\xE9 amor Zulu amor \xC9T\xC9 amor", "amor", false,
                      Neighbour::Left, Folding::Case, {"amor@3", "amor@1", "amor@5"}},
        NeighbourCase{"spellingFoldedWhenNormalized", "vinum amor uinum amor bonum amor", "amor", false,
                      Neighbour::Left, Folding::Spelling, {"amor@5", "amor@1", "amor@3"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FormExclusion, FormsCountedFoldedAndLeftOutAsTheSearchFolds)
{
    const WordTable table = WordTable::segment("[1] Deus DEVS deus [2] Deo Dei deus", LetterSet::Extended);
    const ResultList spans = PhraseQuery("d*", false, Folding::Spelling).find(table);
    const std::vector<AttestedForm> forms = attestedForms(table, spans, Folding::Spelling);
    ASSERT_EQ(forms.size(), 3u);
    EXPECT_EQ(forms[0].form, "Deus");
    EXPECT_EQ(forms[0].count, 4u);
    EXPECT_EQ(forms[1].form, "Deo");
    EXPECT_EQ(forms[2].form, "Dei");

    // Under case folding only, DEVS is a form of its own.
    EXPECT_EQ(attestedForms(table, spans, Folding::Case).size(), 4u);

    EXPECT_EQ(described(table, withoutForms(table, spans, {"deus"}, Folding::Spelling)),
              (std::vector<std::string>{"Deo@3", "Dei@4"}));
    EXPECT_EQ(described(table, withoutForms(table, spans, {"DEO", "dei"}, Folding::Case)),
              (std::vector<std::string>{"Deus@0", "DEVS@1", "deus@2", "deus@5"}));
    EXPECT_EQ(withoutForms(table, spans, {}, Folding::Case).size(), spans.size());
    EXPECT_EQ(withoutForms(table, spans, {"nihil"}, Folding::Case).size(), spans.size());
}

} // namespace
} // namespace quorvex
