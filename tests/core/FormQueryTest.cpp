#include "concordance/FormQuery.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvex {
namespace {

struct MatchCase {
    const char* name;
    std::string query;
    std::vector<std::string> matching;
    std::vector<std::string> notMatching;
};

class FormMatching : public ::testing::TestWithParam<MatchCase> {};

TEST_P(FormMatching, MatchesWholeFormsCaseIgnoredWithOneStarAtEitherEnd)
{
    const FormQuery q = FormQuery::parse(GetParam().query);
    for (const std::string& f : GetParam().matching)
        EXPECT_TRUE(q.matches(f)) << f;
    for (const std::string& f : GetParam().notMatching)
        EXPECT_FALSE(q.matches(f)) << f;
}

INSTANTIATE_TEST_SUITE_P(
    FormQuery, FormMatching,
    ::testing::Values(
        MatchCase{"exactIgnoresCase", "amor", {"Amor", "amor", "AMOR"}, {"amo", "amorem", "clamor"}},
        MatchCase{"accentedCapitals", "\xC9T\xC9", {"\xE9t\xE9", "\xC9t\xE9"}, {"ete"}},
        MatchCase{"prefix", "am*", {"am", "amor", "amicus", "AMATOR"}, {"a", "clamor"}},
        MatchCase{"suffix", "*or", {"or", "amor", "clamor"}, {"o", "oris"}},
        MatchCase{"prefixAndSuffix", "am*or", {"amor", "amator"}, {"amorem", "clamor"}},
        MatchCase{"overlapOfPrefixAndSuffix", "ama*ama", {"ama", "amama"}, {"am", "amta"}},
        MatchCase{"starAlone", "*", {"a", "Roma"}, {}},
        MatchCase{"secondStarIsPlain", "a*m*r", {}, {"amor", "amr", "amar"}},
        MatchCase{"trailingBlankFails", "amor ", {}, {"amor"}},
        MatchCase{"emptyQuery", "", {}, {"a"}},
        MatchCase{"digitNeverMatches", "a1*", {}, {"a", "ab", "ba"}},
        // Œ is a letter of French words only (the Latin side never has it inside a word): it
        // lowers to œ as "Œuvre" must find "œuvre"; it is no "oe".
        MatchCase{"ligatureLoweredForFrenchWords", "\x8Cuvre", {"\x9Cuvre", "\x8CUVRE"}, {"oeuvre", "uvre"}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quorvex
