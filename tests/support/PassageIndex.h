#pragma once
// A second, plain reading of the passages of a text, kept by the tests as a witness: keyed by
// the reference's text rather than by a word table, it checks the program's one passage scan
// (ReferencePassages) and the viewer's scan against the same rule.
//
// The passage of a reference ref is what this scan gives: read the text's markers character
// by character (text/MarkerReader.h, window letters), and whenever the key then equals ref,
// either start the passage with the whole marker (the first time) or append the character.
// So the passage begins with the marker as written, runs to the next "[", and when the marker
// stands again later its closing "]" and the text after it are appended too. A reference that
// never stands in the text has an empty passage.
//
// The passages are kept as slices of the text, which must outlive the index.

#include "text/MarkerReader.h"

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quorvex {

class PassageIndex {
public:
    PassageIndex(std::string_view text, const std::vector<std::string_view>& references);

    bool found(std::string_view reference) const;
    // Empty for a reference not asked for or not found.
    std::string passage(std::string_view reference) const;
    void writePassage(std::string& out, std::string_view reference) const;
    // Calls sink(std::string_view) for each piece of the passage, in order; nothing for a
    // reference not asked for or not found.
    template <typename Sink>
    void forEachPiece(std::string_view reference, Sink&& sink) const
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
        for (const Slice& s : p->rest)
            sink(m_text.substr(s.offset, s.length));
    }
    // The size of passage(reference), without building it.
    std::size_t passageLength(std::string_view reference) const;
    // The text after the passage's last stretch, to the end: where a phrase cut by the
    // passage's end goes on. Empty for a reference not asked for or not found.
    std::string_view textAfter(std::string_view reference) const;

private:
    static constexpr std::string_view kClosings =
        "]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]";

    struct Slice {
        std::size_t offset;
        std::size_t length;
    };
    struct Passage {
        std::string_view reference;
        bool found = false;
        ReferenceParts head;       // the marker at the first match
        std::vector<Slice> rest;   // then these stretches of the text, in order
        std::size_t end = 0;       // where the last stretch ends in the text
    };

    const Passage* lookup(std::string_view reference) const;

    std::string_view m_text;
    std::deque<std::string> m_keys;  // the references asked for; the passages view them
    std::deque<Passage> m_passages;
    std::unordered_map<std::string_view, Passage*> m_byReference;
};

} // namespace quorvex
