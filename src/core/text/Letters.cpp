#include "text/Letters.h"

namespace quorvex {

namespace {

constexpr bool isExtraLetter(unsigned char c) noexcept
{
    return c == 0x8A || c == 0x8C || c == 0x8E || c == 0x9A || c == 0x9C || c == 0x9E || c == 0x9F;
}

constexpr std::array<bool, 256> makeLetterTable(LetterSet letters)
{
    std::array<bool, 256> t{};
    for (int c = 0; c < 256; ++c) {
        const auto b = static_cast<unsigned char>(c);
        t[static_cast<std::size_t>(c)] =
            isLetter(b) || (letters == LetterSet::Extended && isExtraLetter(b));
    }
    return t;
}
constexpr std::array<bool, 256> kWindowLetters = makeLetterTable(LetterSet::Window);
constexpr std::array<bool, 256> kExtendedLetters = makeLetterTable(LetterSet::Extended);

} // namespace

bool isLetterOf(LetterSet letters, unsigned char c) noexcept
{
    return letterTable(letters)[c];
}

const std::array<bool, 256>& letterTable(LetterSet letters) noexcept
{
    return letters == LetterSet::Extended ? kExtendedLetters : kWindowLetters;
}

std::string lowered(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = lowerChar(c);
    return out;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) noexcept
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerChar(a[i]) != lowerChar(b[i]))
            return false;
    return true;
}

} // namespace quorvex
