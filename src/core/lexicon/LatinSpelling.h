#pragma once
// The lexicon's spellings, UTF-8 with quantity marks (āmō, dĭcō, ў), brought to what the
// text's folded words look like: a-z only, case folded, æ = ae, œ = oe, j = i, v = u,
// accents, diaeresis and every quantity mark dropped (precomposed, or the combining macron
// and breve), and the Cyrillic look-alikes і and ѕ taken for i and s.

#include <string>
#include <string_view>

namespace quorvex::lexicon {

struct FoldedSpelling {
    std::string letters;   // a-z, when ok
    bool ok = true;
    char32_t badChar = 0;  // the first character left outside a-z (0: malformed UTF-8)
};

FoldedSpelling foldSpelling(std::string_view utf8);

// The same into a buffer the caller reuses; on failure `badChar` tells why and `letters`
// holds a partial result.
bool foldSpellingInto(std::string_view utf8, std::string& letters, char32_t& badChar);

// The spelling as a reader sees it in a list: quantity marks removed, everything else (case,
// j, v, a homograph's digit) as the lexicon writes it.
std::string withoutQuantities(std::string_view utf8);

// Decodes one code point at `pos` and moves past it; false on malformed UTF-8.
bool nextCodePoint(std::string_view utf8, std::size_t& pos, char32_t& cp) noexcept;

} // namespace quorvex::lexicon
