#include "passages/ReferenceScan.h"

#include "text/MarkerReader.h"

namespace quorvex {

ReferenceScanResult scanReference(std::string_view text, std::string_view reference,
                                  Neighbours neighbours)
{
    const bool record = neighbours == Neighbours::Record;
    const char* p = text.data();
    const std::size_t n = text.size();

    MarkerReader current(LetterSet::Window);
    std::uint64_t wanted = 0;
    const bool possible = MarkerReader::hashOfKey(reference, LetterSet::Window, wanted);
    int found = 0;      // 0: not yet, 1: passage being collected, 2: next marker recorded
    bool matches = reference.empty();

    std::string pane;
    // The neighbours as parts of the text, their keys built once at the end: a run of stray
    // "]" would otherwise copy a longer key at each one.
    ReferenceParts previous;
    bool hasPrevious = false;
    ReferenceParts next;
    bool hasNext = false;

    // What follows the marker's update, for the characters [from, from + count) during
    // which the marker does not change.
    auto visit = [&](std::size_t from, std::size_t count) {
        if (matches) {
            if (found == 0) {
                appendMarker(text, current.parts(), pane);
                found = 1;
                pane.append(p + from + 1, count - 1);
            } else {
                pane.append(p + from, count);
            }
        } else if (record && !current.inGroup() && !current.parts().empty()) {
            if (found == 0) {
                previous = current.parts();
                hasPrevious = true;
            } else if (found == 1) {
                next = current.parts();
                hasNext = true;
                found = 2;
            }
        }
    };

    std::size_t i = 0;
    while (i < n) {
        const auto c = static_cast<unsigned char>(p[i]);
        if (current.leavesUnchanged(c)) {
            // Outside a marker nothing changes until the next bracket: one run at a time.
            const auto end = static_cast<std::size_t>(nextBracket(p + i + 1, p + n) - p);
            visit(i, end - i);
            i = end;
            continue;
        }
        if (current.feed(c, i))
            matches = possible && current.hash() == wanted
                && keyEquals(text, current.parts(), LetterSet::Window, reference);
        visit(i, 1);
        ++i;
    }

    ReferenceScanResult result;
    if (found > 0)
        result.pane = std::move(pane);
    if (hasPrevious)
        result.previous = keyOf(text, previous, LetterSet::Window);
    if (hasNext)
        result.next = keyOf(text, next, LetterSet::Window);
    return result;
}

} // namespace quorvex
