#pragma once
// UTF-8 and UTF-16, both ways: Windows names files and reads its command line in UTF-16, the
// core keeps every name in UTF-8. A Windows name may hold a lone surrogate, which no UTF-8
// can carry: it travels as its own three-byte form (as WTF-8 does), so the name comes back
// to the system unchanged.

#include <cstddef>
#include <string>
#include <string_view>

namespace quorvex {

std::string utf8FromUtf16(std::u16string_view text);

// Bytes that are not UTF-8 become U+FFFD.
std::u16string utf16FromUtf8(std::string_view text);

// UTF-8 that arrives in pieces (a stream's buffer), cut anywhere: a character split between
// two pieces is held back until its last byte comes.
class Utf8PieceDecoder {
public:
    // The UTF-16 of the piece's complete characters (and of those held back before it).
    std::u16string feed(std::string_view piece);
    // What is still held back, as U+FFFD: the stream ended in the middle of a character.
    std::u16string finish();

private:
    std::string m_held;
};

} // namespace quorvex
