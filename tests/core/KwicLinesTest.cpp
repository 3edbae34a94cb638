#include "output/KwicLines.h"

#include "concordance/PhraseQuery.h"
#include "concordance/WordTable.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace quorvex {
namespace {

struct KwicCase {
    const char* name;
    std::string text;   // Windows-1252
    const char* query;
    std::size_t width;
    std::string lines;  // UTF-8
};

class Kwic : public ::testing::TestWithParam<KwicCase> {};

TEST_P(Kwic, FormsInOneColumnBetweenTheirContexts)
{
    const KwicCase& c = GetParam();
    const WordTable table = WordTable::segment(c.text);
    std::ostringstream out;
    writeKwicLines(out, table, PhraseQuery(c.query, true, Folding::Case).find(table), c.width);
    EXPECT_EQ(out.str(), c.lines);
}

INSTANTIATE_TEST_SUITE_P(
    KwicLines, Kwic,
    ::testing::Values(
        KwicCase{"veryStartOfText", "amor vincit omnia", "amor", 6, "      amor vinci\n"},
        KwicCase{"veryEndOfText", "omnia vincit amor", "amor", 6, "incit amor\n"},
        KwicCase{"wholeTextShorterThanWidth", "amor", "amor", 3, "   amor\n"},
        KwicCase{"crLfIsOneBlank", "a\r\nb amor\r\nc", "amor", 3, " b amor c\n"},
        KwicCase{"tabsAndControlsAsBlanks", std::string("x\tamor\0y", 8), "amor", 2,
                 "x amor y\n"},
        KwicCase{"trailingBlanksDropped", "amor \r\n", "amor", 3, "   amor\n"},
        KwicCase{"referencesPaddedSoFormsAlign", "[1] amor [10] amor", "amor", 2,
                 "[1]   ] amor [\n[10]  ] amor\n"},
        KwicCase{"widthZero", "[1] amor est", "amor", 0, "[1]  amor\n"},
        KwicCase{"widthInCharactersNotUtf8Bytes", "[1] \xE9t\xE9 \xE0", "*", 2,
                 "[1]  ] \xC3\xA9t\xC3\xA9 \xC3\xA0\n[1]  \xC3\xA9 \xC3\xA0\n"},
        KwicCase{"phraseSpansTheLineAndMarkerBetweenItsWords", "x amor\r\n[2] meus y",
                 "amor meus", 2, "x amor [2] meus y\n"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quorvex
