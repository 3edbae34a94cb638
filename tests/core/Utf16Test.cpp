// UTF-8 and UTF-16 both ways: Windows names and command lines reach the core through these.

#include "system/Utf16.h"

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
