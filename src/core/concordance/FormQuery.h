#pragma once
// A typed form, ready to be matched against the forms of the word table. Letter case is
// ignored on both sides (Latin-1 pairs); the first "*" splits the query into a beginning
// and an end that a form must have. Nothing is trimmed.

#include "text/Letters.h"

#include <string>
#include <string_view>

namespace quorvex {

struct FormQuery {
    std::string lowered;  // the whole query, lowered
    std::string prefix;   // before the first "*" (all of it when there is none)
    std::string suffix;   // after the first "*"; a later "*" stays in it as a plain character
    bool wildcard = false;

    // Windows-1252 bytes as typed.
    static FormQuery parse(std::string_view typed);

    // Without "*": the lowered form equals the query. With "*": the lowered form begins with
    // the prefix and ends with the suffix, the two tested independently, so they may
    // overlap inside the form.
    // Inline: the search calls it once per word of the text.
    bool matches(std::string_view form) const noexcept
    {
        if (!wildcard)
            return form.size() == lowered.size() && sameLowered(form.data(), lowered);
        if (form.size() < prefix.size() || form.size() < suffix.size())
            return false;
        return sameLowered(form.data(), prefix)
            && sameLowered(form.data() + (form.size() - suffix.size()), suffix);
    }

private:
    // `lowerPart` is already lowered; only the form's bytes need lowering.
    static bool sameLowered(const char* form, std::string_view lowerPart) noexcept
    {
        for (std::size_t i = 0; i < lowerPart.size(); ++i)
            if (lowerChar(form[i]) != lowerPart[i])
                return false;
        return true;
    }
};

} // namespace quorvex
