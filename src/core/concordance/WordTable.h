#pragma once
// The word table: every word of the Latin text, in text order, with the reference in force
// when the word ended and its type (its distinct form as written). Built once when a text is
// loaded; searches only read it. A text of millions of words has tens of thousands of types:
// whatever is asked of a form (a match, a fold, a dictionary lookup) is asked once per type.
//
// The table owns the text (shared, never changed, with the tables derived from it); a word is
// its offset and length in it plus a reference id. A reference id stands for one reference
// text as the grid shows it: equal texts share one id, so comparing ids compares texts. A
// reference text is always a marker's span of the text with its letters left out (the letters
// inside brackets are words of their own), followed by some number of stray "]"; it is stored
// that way, so memory stays linear in the text however many stray "]" pile up behind a
// marker.

#include "text/MarkerReader.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

class WordTable {
public:
    using ReferenceId = std::uint32_t;
    using TypeId = std::uint32_t;

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
    // The same text cut with the extended letters, equal in every part to segment(text,
    // LetterSet::Extended), from a table cut with the window's letters: only the words that
    // touch one of the extra letters differ, so they are joined and the rest is renumbered,
    // without cutting the text again. Where the references themselves would differ (an extra
    // letter inside a marker, or ending a word) the text is cut again.
    // Throws std::bad_alloc.
    static WordTable withExtendedLetters(const WordTable& windowLetters);

    std::size_t size() const noexcept { return m_offsets.size(); }
    bool empty() const noexcept { return m_offsets.empty(); }

    // 0-based. The form as written (case untouched), a slice of text().
    std::string_view form(std::size_t i) const noexcept
    {
        const TypeId t = m_typeOf[i];
        return std::string_view(m_bytes + m_offsets[i], m_typeStart[t + 1] - m_typeStart[t]);
    }
    std::size_t formOffset(std::size_t i) const noexcept { return m_offsets[i]; }

    // Types: the distinct forms as written (case untouched: "Et" and "et" are two types),
    // numbered 0 .. typeCount() in the order of their first word.
    std::size_t typeCount() const noexcept { return m_typeFrequency.size(); }
    TypeId typeOf(std::size_t i) const noexcept { return m_typeOf[i]; }
    // The type's form, kept apart from the text so that a walk over the types stays compact.
    std::string_view typeText(TypeId t) const noexcept
    {
        return std::string_view(m_typeBytes.data() + m_typeStart[t], m_typeStart[t + 1] - m_typeStart[t]);
    }
    // How many words bear the type.
    std::size_t typeFrequency(TypeId t) const noexcept { return m_typeFrequency[t]; }
    // The words bearing the types flagged in `wanted` (one flag per type), in text order:
    // calls f(word index) for each.
    template <typename F>
    void forEachWordOfTypes(const std::vector<std::uint8_t>& wanted, F&& f) const
    {
        const std::size_t n = m_typeOf.size();
        for (std::size_t i = 0; i < n; ++i)
            if (wanted[m_typeOf[i]])
                f(i);
    }

    // The word's reference: an id into the table of distinct references, 0 .. referenceCount().
    ReferenceId referenceId(std::size_t i) const noexcept
    {
        // From the run in force at the start of the word's block, on to the word's own run.
        std::size_t r = m_blockRun[i >> kBlockShift];
        while (r + 1 < m_runStart.size() && m_runStart[r + 1] <= i)
            ++r;
        return m_runReference[r];
    }
    std::size_t referenceCount() const noexcept { return m_references->parts.size(); }
    // The runs of words that share a reference, in text order: f(first word, end word,
    // reference id) for each; a reference may have several runs, a run has at least one word.
    template <typename F>
    void forEachReferenceRun(F&& f) const
    {
        const std::size_t runs = m_runStart.size();
        for (std::size_t r = 0; r < runs; ++r)
            f(std::size_t(m_runStart[r]), r + 1 < runs ? std::size_t(m_runStart[r + 1]) : size(), m_runReference[r]);
    }
    const Reference& referenceParts(ReferenceId id) const noexcept { return m_references->parts[id]; }

    // The high half of MarkerReader::hash() for this reference: a scan of any text finds the
    // references of the table by it without building their texts.
    std::uint32_t referenceHash(ReferenceId id) const noexcept { return m_references->hashes[id]; }
    static std::uint32_t shortHash(std::uint64_t keyHash) noexcept
    {
        return static_cast<std::uint32_t>(keyHash >> 32);
    }

    // The reference text as the grid shows it ("" before any "["), Windows-1252.
    std::string referenceText(ReferenceId id) const;
    void appendReferenceText(ReferenceId id, std::string& out) const;
    // At most `max` first bytes of the reference text into `out`; returns how many.
    std::size_t copyReferencePrefix(ReferenceId id, char* out, std::size_t max) const noexcept;
    // The same for the reference of word i.
    void appendReference(std::size_t i, std::string& out) const
    {
        appendReferenceText(referenceId(i), out);
    }

    // The text the forms and markers point into.
    const std::string& text() const noexcept { return *m_text; }
    LetterSet letterSet() const noexcept { return m_letters; }

private:
    // A word is its offset and its type, whose form gives its length; the reference changes
    // only at markers, so words hold none: runs of words share one, and every block of 64 words
    // knows the run in force at its start. About eight bytes a word.
    static constexpr unsigned kBlockShift = 6;

    // The distinct references and their short hashes, by id.
    struct References {
        std::vector<Reference> parts;
        std::vector<std::uint32_t> hashes;
    };
    static const std::shared_ptr<const std::string>& noText();
    // segment() on a text already shared; its size is known to fit.
    static WordTable cut(std::shared_ptr<const std::string> text, LetterSet letters);
    static const std::shared_ptr<const References>& noReferences();

    // The text and the references never change once cut: a table derived from another (the
    // same text cut with other letters) shares them rather than copying tens of megabytes.
    std::shared_ptr<const std::string> m_text = noText();
    const char* m_bytes = m_text->data();  // m_text's bytes, for the forms
    std::vector<std::uint32_t> m_offsets;
    std::vector<std::uint32_t> m_runStart;      // first word of each run, ascending
    std::vector<ReferenceId> m_runReference;    // the reference of each run
    std::vector<std::uint32_t> m_blockRun;      // run in force at word 64 k
    std::shared_ptr<const References> m_references = noReferences();
    std::vector<TypeId> m_typeOf;                  // by word
    std::vector<std::uint32_t> m_typeFrequency;    // by type
    std::vector<std::uint32_t> m_typeStart;        // by type, into m_typeBytes; one more at the end
    std::string m_typeBytes;                       // every type's form, one after the other
    LetterSet m_letters = LetterSet::Window;
};

} // namespace quorvex
