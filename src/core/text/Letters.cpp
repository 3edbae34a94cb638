#include "text/Letters.h"

namespace quorvex {

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
