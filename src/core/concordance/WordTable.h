#pragma once
// The word table: every word of the Latin text, in text order, with the reference in force
// when the word ended. Built once when a text is loaded; searches only read it.
//
// The table owns the text; a word is its offset and length in it plus a reference id. A
// reference id stands for one reference text as the grid shows it: equal texts share one id,
// so comparing ids compares texts. A reference text is always a marker's span of the text
// with its letters left out (the letters inside brackets are words of their own), followed by
// some number of stray "]"; it is stored that way, so memory stays linear in the text however
// many stray "]" pile up behind a marker.

#include "concordance/ReferenceKey.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

// Which characters make words. Window is the letter set of the windows (text/Letters.h);
// Extended also counts Š Œ Ž š œ ž Ÿ (0x8A 0x8C 0x8E 0x9A 0x9C 0x9E 0x9F) as letters.
enum class LetterSet { Window, Extended };

bool isLetterOf(LetterSet letters, unsigned char c) noexcept;

class WordTable {
public:
    using ReferenceId = std::uint32_t;

    // A reference text in parts: the bytes text[markerOffset, markerOffset + markerLength)
    // without their letters (keyLength bytes remain), then `strays` times "]". Before any "["
    // the marker is empty.
    using Reference = ReferenceParts;

    WordTable() = default;

    // Cuts a Windows-1252 text into words. A word is a maximal run of letters; the reference
    // is what a "[" opens, gathering the non-letters met after it up to and including a "]",
    // and it stays in force until the next "[". A word is stored when the character after it
    // is read, with the reference as that character has just left it (so "amor[12]" stores
    // amor with "["). A stray "]" is appended to the reference in force.
    // Throws std::bad_alloc when memory runs short, std::length_error beyond 4 GB of text.
    static WordTable segment(std::string text, LetterSet letters = LetterSet::Window);

    std::size_t size() const noexcept { return m_words.size(); }
    bool empty() const noexcept { return m_words.empty(); }

    // 0-based. The form as written (case untouched), a slice of text().
    std::string_view form(std::size_t i) const noexcept
    {
        const Word& w = m_words[i];
        return std::string_view(m_text.data() + w.offset, w.length);
    }
    std::size_t formOffset(std::size_t i) const noexcept { return m_words[i].offset; }

    // The word's reference: an id into the table of distinct references, 0 .. referenceCount().
    ReferenceId referenceId(std::size_t i) const noexcept { return m_words[i].reference; }
    std::size_t referenceCount() const noexcept { return m_references.size(); }
    const Reference& referenceParts(ReferenceId id) const noexcept { return m_references[id]; }

    // The reference text as the grid shows it ("" before any "["), Windows-1252.
    std::string referenceText(ReferenceId id) const;
    void appendReferenceText(ReferenceId id, std::string& out) const;
    // The same for the reference of word i.
    void appendReference(std::size_t i, std::string& out) const
    {
        appendReferenceText(referenceId(i), out);
    }

    // The text the forms and markers point into.
    const std::string& text() const noexcept { return m_text; }
    LetterSet letterSet() const noexcept { return m_letters; }

private:
    struct Word {
        std::uint32_t offset;
        std::uint32_t length;
        ReferenceId reference;
    };

    std::string m_text;
    std::vector<Word> m_words;
    std::vector<Reference> m_references;
    LetterSet m_letters = LetterSet::Window;
};

// Compares two reference texts byte by byte (as unsigned bytes, the grid's text order:
// references hold no letters, so lowering leaves them as they are) without building them.
// `aText` and `bText` are the texts the two markers point into; `letters` says which bytes
// of a marker are left out. Negative, zero or positive like std::string::compare.
int compareReferences(std::string_view aText, const WordTable::Reference& a,
                      std::string_view bText, const WordTable::Reference& b,
                      LetterSet letters) noexcept;

} // namespace quorvex
