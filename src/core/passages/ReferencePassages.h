#pragma once
// The passages of a word table's references in one text (the Latin text or its French
// translation), found in a single pass and kept as spans of that text.
//
// The passage of a reference is what this scan gives: read the
// text's markers character by character (text/MarkerReader.h) and, whenever the reference
// in force (its marker without letters, then the stray "]") equals the reference asked for, either start the passage with
// the whole marker as written (the first time) or append the character. So the passage begins
// with the marker, runs to the next "[", and when the marker stands again later its "]" and
// the text after it are appended too. The empty reference is in force from the start: its
// passage is the text before the first "[" without its first character. A reference that
// never stands in the text has an empty passage.
//
// Nothing is copied: the reference in force is matched by its hash and then compared in
// place, and a passage is a marker span, a number of "]", and stretches of the text. The
// text and the table must outlive the index.

#include "concordance/WordTable.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

class ReferencePassages {
public:
    ReferencePassages(std::string_view text, const WordTable& table,
                      const std::vector<WordTable::ReferenceId>& references);

    bool found(WordTable::ReferenceId reference) const;

    // Calls sink(std::string_view) for each piece of the passage, in order; nothing for a
    // reference not asked for or not found.
    template <typename Sink>
    void forEachPiece(WordTable::ReferenceId reference, Sink&& sink) const
    {
        const Passage* p = lookup(reference);
        if (!p || !p->found)
            return;
        sink(m_text.substr(p->head.markerOffset, p->head.markerLength));
        for (std::size_t left = p->head.strays; left > 0;) {
            const std::size_t n = left < kClosings.size() ? left : kClosings.size();
            sink(kClosings.substr(0, n));
            left -= n;
        }
        for (std::uint32_t s = p->firstSlice; s != kNoSlice; s = m_slices[s].next)
            sink(m_text.substr(m_slices[s].offset, m_slices[s].length));
    }

    // The passage's text alone: its stretches without the marker that opens it; a stretch
    // after the first begins with the "]" of the marker that stood again.
    template <typename Sink>
    void forEachStretch(WordTable::ReferenceId reference, Sink&& sink) const
    {
        const Passage* p = lookup(reference);
        if (!p || !p->found)
            return;
        for (std::uint32_t s = p->firstSlice; s != kNoSlice; s = m_slices[s].next)
            sink(m_text.substr(m_slices[s].offset, m_slices[s].length));
    }

    void appendPassage(std::string& out, WordTable::ReferenceId reference) const
    {
        forEachPiece(reference, [&out](std::string_view piece) { out += piece; });
    }
    std::string passage(WordTable::ReferenceId reference) const
    {
        std::string out;
        appendPassage(out, reference);
        return out;
    }
    // The text after the passage's last stretch, to the end: where a phrase cut by the
    // passage's end goes on. Empty for a reference not asked for or not found.
    std::string_view textAfter(WordTable::ReferenceId reference) const
    {
        const Passage* p = lookup(reference);
        return p && p->found ? m_text.substr(p->end) : std::string_view();
    }

    // The passage of the empty reference, which no table needs to hold: the text before the
    // first "[" or "]", without its first character (the marker, empty, takes its place).
    static std::string_view beforeAnyMarker(std::string_view text)
    {
        const std::size_t end = text.find_first_of("[]");
        const std::string_view before = text.substr(0, end);
        return before.empty() ? before : before.substr(1);
    }

private:
    static constexpr std::uint32_t kNoSlice = ~std::uint32_t(0);
    static constexpr std::string_view kClosings =
        "]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]";

    struct Slice {
        std::size_t offset;
        std::size_t length;
        std::uint32_t next;  // the passage's next stretch, or kNoSlice
    };
    struct Passage {
        WordTable::ReferenceId reference = 0;
        bool found = false;
        ReferenceParts head;  // the marker at the first match, in m_text
        std::uint32_t firstSlice = kNoSlice;
        std::uint32_t lastSlice = kNoSlice;
        std::size_t end = 0;  // where the last stretch ends in the text
    };

    const Passage* lookup(WordTable::ReferenceId reference) const
    {
        if (reference >= m_passageOf.size() || m_passageOf[reference] == kNoSlice)
            return nullptr;
        return &m_passages[m_passageOf[reference]];
    }

    std::string_view m_text;
    std::vector<std::uint32_t> m_passageOf;  // by reference id; kNoSlice when not asked for
    std::vector<Passage> m_passages;
    std::vector<Slice> m_slices;  // every passage's stretches, chained
};

} // namespace quorvex
