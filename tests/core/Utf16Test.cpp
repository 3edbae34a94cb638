// UTF-8 and UTF-16 both ways: Windows names and command lines reach the core through these.

#include "system/Utf16.h"
#include "text/Utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvex {
namespace {

TEST(Utf16, NamesComeBackUnchangedThroughUtf8)
{
    struct Case {
        const char* name;
        std::u16string wide;
        std::string utf8;
    };
    const Case cases[] = {
        {"empty", u"", ""},
        {"ascii", u"latin.txt", "latin.txt"},
        {"accent", u"texte_\u00E9.txt", "texte_\xC3\xA9.txt"},
        {"euroAndGreek", u"\u20AC\u03B1", "\xE2\x82\xAC\xCE\xB1"},
        {"lastBeforeSurrogates", u"\uD7FF", "\xED\x9F\xBF"},
        {"astralPair", u"\U0001F600", "\xF0\x9F\x98\x80"},
        {"lastCodePoint", u"\U0010FFFF", "\xF4\x8F\xBF\xBF"},
        // A Windows name may hold unpaired surrogates: they keep their own three bytes.
        {"loneHigh", std::u16string{u'a', char16_t(0xD800), u'b'}, "a\xED\xA0\x80" "b"},
        {"loneLow", std::u16string{char16_t(0xDC00)}, "\xED\xB0\x80"},
        {"highAtEnd", std::u16string{u'x', char16_t(0xDBFF)}, "x\xED\xAF\xBF"},
        {"lowThenHigh", std::u16string{char16_t(0xDC01), char16_t(0xD801)}, "\xED\xB0\x81\xED\xA0\x81"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utf8FromUtf16(c.wide), c.utf8) << c.name;
        EXPECT_EQ(utf16FromUtf8(c.utf8), c.wide) << c.name;
    }
}

TEST(Utf16, BytesThatAreNotUtf8BecomeReplacementCharacters)
{
    const char16_t r = 0xFFFD;
    struct Case {
        const char* name;
        std::string utf8;
        std::u16string wide;
    };
    const Case cases[] = {
        {"windows1252", "\xE9t\xE9", {r, u't', r}},
        {"truncatedAtEnd", "a\xE2\x82", {u'a', r}},
        {"truncatedInside", "\xE2\x82z", {r, u'z'}},
        {"overlong", "\xC0\xAF", {r, r}},
        {"overlongThree", "\xE0\x80\xAF", {r, r, r}},
        {"beyondUnicode", "\xF4\x90\x80\x80", {r, r, r, r}},
        {"loneContinuation", "\x80" "a", {r, u'a'}},
        {"fiveByteLead", "\xF8\x88\x80\x80\x80", {r, r, r, r, r}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(utf16FromUtf8(c.utf8), c.wide) << c.name;
}

// A stream's buffer may end in the middle of a character: cut at every place, the pieces
// give what the whole gives.
TEST(Utf16, PiecesCutAnywhereDecodeLikeTheWhole)
{
    const std::string whole = "Le fichier \xC2\xAB texte_\xC3\xA9.txt \xC2\xBB \xE2\x82\xAC \xF0\x9F\x98\x80 fin\n";
    const std::u16string expected = utf16FromUtf8(whole);
    for (std::size_t cut = 0; cut <= whole.size(); ++cut) {
        for (std::size_t second = cut; second <= whole.size(); ++second) {
            Utf8PieceDecoder decoder;
            std::u16string got = decoder.feed(whole.substr(0, cut));
            got += decoder.feed(whole.substr(cut, second - cut));
            got += decoder.feed(whole.substr(second));
            got += decoder.finish();
            ASSERT_EQ(got, expected) << "cut at " << cut << " and " << second;
        }
    }

    // Byte by byte, nothing is given before a character is complete.
    Utf8PieceDecoder decoder;
    EXPECT_EQ(decoder.feed("\xF0\x9F"), u"");
    EXPECT_EQ(decoder.feed("\x98"), u"");
    EXPECT_EQ(decoder.feed("\x80!"), u"\U0001F600!");

    // Ending inside a character, or broken inside one, is one replacement, not a loss.
    Utf8PieceDecoder cutShort;
    EXPECT_EQ(cutShort.feed("a\xE2\x82"), u"a");
    EXPECT_EQ(cutShort.finish(), std::u16string(1, char16_t(0xFFFD)));
    Utf8PieceDecoder broken;
    EXPECT_EQ(broken.feed("\xE2\x82"), u"");
    EXPECT_EQ(broken.feed("z"), (std::u16string{char16_t(0xFFFD), u'z'}));
    EXPECT_EQ(broken.finish(), u"");
}

} // namespace
} // namespace quorvex

namespace quorvex {
namespace {

// The one reader of UTF-8: a text refuses the surrogate forms a Windows name may carry, and a
// character cut by the end of the bytes is told apart from one broken inside them.
TEST(Utf8Reading, WholeBrokenOrCutShortWithSurrogatesForNamesOnly)
{
    struct Case {
        const char* name;
        std::string bytes;
        Utf8Surrogates surrogates;
        bool whole;
        std::size_t length;
        bool cutShort;
        char32_t cp;  // when whole
    };
    const Case cases[] = {
        {"ascii", "a", Utf8Surrogates::Refused, true, 1, false, U'a'},
        {"twoBytes", "\xC3\xA9", Utf8Surrogates::Refused, true, 2, false, 0xE9},
        {"fourBytes", "\xF0\x9F\x98\x80", Utf8Surrogates::Refused, true, 4, false, 0x1F600},
        {"surrogateInText", "\xED\xA0\x80", Utf8Surrogates::Refused, false, 1, false, 0},
        {"surrogateInName", "\xED\xA0\x80", Utf8Surrogates::Allowed, true, 3, false, 0xD800},
        {"lastBeforeSurrogates", "\xED\x9F\xBF", Utf8Surrogates::Refused, true, 3, false, 0xD7FF},
        {"cutByTheEnd", "\xE2\x82", Utf8Surrogates::Refused, false, 2, true, 0},
        {"brokenInside", "\xE2\x82z", Utf8Surrogates::Refused, false, 2, false, 0},
        {"overlong", "\xC1\xBF", Utf8Surrogates::Refused, false, 1, false, 0},
        {"overlongThree", "\xE0\x9F\xBF", Utf8Surrogates::Refused, false, 1, false, 0},
        {"beyondUnicode", "\xF4\x90\x80\x80", Utf8Surrogates::Refused, false, 1, false, 0},
        {"continuationFirst", "\x80", Utf8Surrogates::Refused, false, 1, false, 0},
    };
    for (const Case& c : cases) {
        const Utf8Char got = readUtf8(c.bytes, 0, c.surrogates);
        EXPECT_EQ(got.whole, c.whole) << c.name;
        EXPECT_EQ(got.length, c.length) << c.name;
        EXPECT_EQ(got.cutShort, c.cutShort) << c.name;
        if (c.whole) {
            EXPECT_EQ(got.cp, c.cp) << c.name;
        }
    }
}

} // namespace
} // namespace quorvex
