#pragma once
// The words of a stretch of text as runs of letters, found 64 bytes at a time: a mask of the
// letters, whose edges are where words start and stop, with no branch per byte. What the
// passes that cut a whole text into words (the word table, the tally of forms) walk.

#include "text/LetterBits.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace quorvex {

// Calls f(start, stop) for every maximal run of letters [start, stop) of the `size` bytes at
// `begin`, in order. `isLetter` must hold A-Z and a-z and no other byte below 0x80 (every
// letter set does).
template <typename F>
void forEachLetterRun(const unsigned char* begin, std::size_t size, const std::array<bool, 256>& isLetter, F&& f)
{
    bool inWord = false;
    std::size_t start = 0;
    std::size_t i = 0;
    if (kWordsAtOnce) {
        std::uint64_t before = 0;  // 1: the byte before the block is a letter
        for (; i + 64 <= size; i += 64) {
            const std::uint64_t letters = letterBits(begin + i, isLetter);
            std::uint64_t edges = letters ^ ((letters << 1) | before);
            before = letters >> 63;
            while (edges) {
                const std::size_t at = i + lowestBit(edges);
                edges &= edges - 1;
                if (inWord)
                    f(start, at);
                else
                    start = at;
                inWord = !inWord;
            }
        }
    }
    for (; i < size; ++i) {
        if (isLetter[begin[i]] == inWord)
            continue;
        if (inWord)
            f(start, i);
        else
            start = i;
        inWord = !inWord;
    }
    if (inWord)
        f(start, size);
}

} // namespace quorvex
