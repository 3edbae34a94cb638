#include "passages/FormMarking.h"

#include "text/Letters.h"

namespace quorvex {

std::vector<MarkRange> formMarks(std::string_view passage, std::string_view form)
{
    std::vector<MarkRange> marks;
    if (form.empty())
        return marks;
    const std::string wanted = lowered(form);
    const std::size_t n = passage.size();
    std::size_t i = 0;
    while (i < n) {
        if (!isLetter(passage[i])) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < n && isLetter(passage[i]))
            ++i;
        if (i - start == wanted.size()) {
            std::size_t k = 0;
            while (k < wanted.size() && lowerChar(passage[start + k]) == wanted[k])
                ++k;
            if (k == wanted.size())
                marks.push_back({start, wanted.size()});
        }
    }
    return marks;
}

std::vector<MarkRange> phraseMarks(std::string_view passage, std::string_view form,
                                   LetterSet letters, std::string_view after)
{
    std::vector<std::string> wanted;  // lowered
    for (std::size_t i = 0; i < form.size();) {
        while (i < form.size() && form[i] == ' ')
            ++i;
        const std::size_t start = i;
        while (i < form.size() && form[i] != ' ')
            ++i;
        if (i > start)
            wanted.push_back(lowered(form.substr(start, i - start)));
    }
    if (wanted.empty())
        return {};

    // The passage's words, then as many of the following text's as a phrase begun on the
    // passage's last word could need.
    struct Word {
        std::string_view text;
        std::size_t start;
    };
    std::vector<Word> words;
    const auto& isWordByte = letterTable(letters);
    const auto cut = [&](std::string_view text, std::size_t most) {
        for (std::size_t i = 0, taken = 0; i < text.size() && taken < most;) {
            if (!isWordByte[static_cast<unsigned char>(text[i])]) {
                ++i;
                continue;
            }
            const std::size_t start = i;
            while (i < text.size() && isWordByte[static_cast<unsigned char>(text[i])])
                ++i;
            words.push_back({text.substr(start, i - start), start});
            ++taken;
        }
    };
    cut(passage, passage.size());
    const std::size_t inPassage = words.size();
    cut(after, wanted.size() - 1);
    const auto equal = [](std::string_view word, const std::string& w) {
        if (word.size() != w.size())
            return false;
        for (std::size_t k = 0; k < w.size(); ++k)
            if (lowerChar(word[k]) != w[k])
                return false;
        return true;
    };

    // Occurrences may overlap ("et et" in "et et et"): words are marked, not occurrences.
    std::vector<bool> marked(inPassage, false);
    for (std::size_t i = 0; i < inPassage; ++i) {
        std::size_t j = 0;
        while (j < wanted.size() && i + j < words.size() && equal(words[i + j].text, wanted[j]))
            ++j;
        if (j == wanted.size())
            for (std::size_t k = i; k < i + j && k < inPassage; ++k)
                marked[k] = true;
    }

    std::vector<MarkRange> marks;
    for (std::size_t i = 0; i < inPassage; ++i)
        if (marked[i])
            marks.push_back({words[i].start, words[i].text.size()});
    return marks;
}

std::vector<MarkRange> panePositions(std::string_view passage, std::vector<MarkRange> marks)
{
    // A CR LF takes one position: each LF that follows a CR, before an offset, moves it back.
    std::size_t pairs = 0;
    std::size_t i = 0;
    const auto pairsBefore = [&](std::size_t end) {
        for (; i < end && i < passage.size(); ++i)
            if (passage[i] == '\n' && i > 0 && passage[i - 1] == '\r')
                ++pairs;
        return pairs;
    };
    for (MarkRange& mark : marks) {
        const std::size_t atStart = pairsBefore(mark.start);
        const std::size_t atEnd = pairsBefore(mark.start + mark.length);
        mark.start -= atStart;
        mark.length -= atEnd - atStart;
    }
    return marks;
}

} // namespace quorvex
