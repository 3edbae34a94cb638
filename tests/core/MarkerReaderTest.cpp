// The one reader of markers: what it keeps as offsets must be the marker and key a literal
// reading builds, and the hash of a key typed as text must find the reader's.

#include "text/MarkerReader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace quorvex {
namespace {

TEST(MarkerReader, KeyMarkerAndHashAgreeWithTheLiteralReadingOnGeneratedTexts)
{
    const std::string pool = "ab [[]]]1.\r\n\xE9Z\x8A\x9C";
    std::mt19937 rng(2026);
    for (int round = 0; round < 3000; ++round) {
        const LetterSet letters = round % 2 ? LetterSet::Extended : LetterSet::Window;
        std::string text;
        for (std::size_t n = rng() % 40; n > 0; --n)
            text += pool[rng() % pool.size()];
        MarkerReader reader(letters);
        std::string marker, key;  // as a literal reading builds them
        bool inGroup = false;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            const bool wasInGroup = inGroup;
            if (c == '[') {
                marker = key = "[";
                inGroup = true;
            } else if (c == ']') {
                marker += c;
                key += c;
                inGroup = false;
            } else if (inGroup) {
                marker += c;
                if (!isLetterOf(letters, static_cast<unsigned char>(c)))
                    key += c;
            }
            const bool changed = reader.feed(static_cast<unsigned char>(c), i);
            const ReferenceParts& parts = reader.parts();
            const std::string where = "text \"" + text + "\" at " + std::to_string(i);
            const bool letter = isLetterOf(letters, static_cast<unsigned char>(c));
            ASSERT_EQ(changed, c == '[' || c == ']' || (wasInGroup && !letter)) << where;
            ASSERT_EQ(reader.inGroup(), inGroup) << where;
            ASSERT_EQ(keyOf(text, parts, letters), key) << where;
            ASSERT_EQ(parts.textLength(), key.size()) << where;
            ASSERT_TRUE(keyEquals(text, parts, letters, key)) << where;
            ASSERT_FALSE(keyEquals(text, parts, letters, key + "]")) << where;
            std::uint64_t typed = 0;
            ASSERT_TRUE(MarkerReader::hashOfKey(key, letters, typed)) << where;
            ASSERT_EQ(typed, reader.hash()) << where;
            if (changed) {
                // Where the key changes the marker as written ends at this character.
                std::string written;
                appendMarker(text, parts, written);
                ASSERT_EQ(written, marker) << where;
            }
        }
    }
}

TEST(MarkerReader, TextsNoReadingGivesHaveNoKeyHash)
{
    const struct {
        const char* name;
        std::string text;
        bool possible;
    } rows[] = {
        {"empty", "", true},
        {"openOnly", "[", true},
        {"closedNumber", "[12]", true},
        {"strayRunAfterMarker", "[12]]]", true},
        {"strayRunAlone", "]]", true},
        {"unclosedWithBlanks", "[1 .", true},
        {"letterInside", "[a]", false},
        {"textBeforeMarker", "x[1]", false},
        {"textAfterStrays", "[1]]x", false},
        {"secondOpen", "[1[2]", false},
        {"blankAfterClose", "[1] ", false},
    };
    for (const auto& row : rows) {
        std::uint64_t hash = 0;
        EXPECT_EQ(MarkerReader::hashOfKey(row.text, LetterSet::Window, hash), row.possible) << row.name;
    }
}

} // namespace
} // namespace quorvex
