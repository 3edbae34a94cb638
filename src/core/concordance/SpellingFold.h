#pragma once
// Folding of word forms before they are compared. Case folding is the window's lowering.
// Spelling folding is for readers who type the modern spelling of a Latin word: case (the
// code page's Š Œ Ž Ÿ included), æ = ae, œ = oe, j = i, v = u, accents and diaeresis dropped,
// ð = d, þ = th, ß = ss. Characters are Windows-1252 bytes; "*" and non-letters stay as they are.

#include <string>
#include <string_view>

namespace quorvex {

enum class Folding { Case, Spelling };

// Appends `form` folded to `out`.
void appendFolded(std::string& out, std::string_view form, Folding folding);

inline std::string folded(std::string_view form, Folding folding)
{
    std::string out;
    appendFolded(out, form, folding);
    return out;
}

// Comparisons of a form's spelling fold with a text folded already (`part`), folding the
// form as they go: a search compares every word of the text, and most differ at once.
// The fold of `form` equals `part`.
bool spellingFoldEquals(std::string_view form, std::string_view part) noexcept;
// The fold of `form` begins with `part`.
bool spellingFoldStartsWith(std::string_view form, std::string_view part) noexcept;
// The fold of `form` ends with `part`.
bool spellingFoldEndsWith(std::string_view form, std::string_view part) noexcept;

} // namespace quorvex
