#pragma once
// The word table: every word of the Latin text, in text order, with the reference in force
// when the word ended. Built once when the search window loads; the search only reads it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

// Which bytes make words. Window: the letter test of the search window. Extended also takes
// the code page's Š Œ Ž š œ ž Ÿ, which the window's set cuts words at.
enum class LetterSet { Window, Extended };

class WordTable {
public:
    WordTable() = default;

    // Cuts a Windows-1252 text into words. A word is a maximal run of letters; the reference
    // is what a "[" opens, gathering the non-letters met after it up to and including a "]",
    // and it stays in force until the next "[". A word is stored when the character after it
    // is read, with the reference as that character has just left it (so "amor[12]" stores
    // amor with "["). A stray "]" is appended to the reference in force.
    static WordTable segment(std::string text, LetterSet letters = LetterSet::Window);

    std::size_t size() const noexcept { return m_entries.size(); }
    bool empty() const noexcept { return m_entries.empty(); }

    // 0-based. The form as written (case untouched) and its reference ("" before any "[").
    std::string_view form(std::size_t i) const noexcept
    {
        const Entry& e = m_entries[i];
        return std::string_view(m_text.data() + e.formOffset, e.formLength);
    }
    std::string_view reference(std::size_t i) const noexcept
    {
        const Entry& e = m_entries[i];
        return std::string_view(m_references.data() + e.refOffset, e.refLength);
    }

    // The text the forms point into.
    const std::string& text() const noexcept { return m_text; }

private:
    // Forms are slices of the kept text. Between two "[" the reference only grows, so every
    // reference of that stretch is a prefix of one string: they are slices of m_references,
    // which never holds more bytes than the text.
    struct Entry {
        std::uint32_t formOffset;
        std::uint32_t formLength;
        std::uint32_t refOffset;
        std::uint32_t refLength;
    };

    std::string m_text;
    std::string m_references;
    std::vector<Entry> m_entries;
};

} // namespace quorvex
