#include "passages/ReferenceScan.h"

#include "passages/MarkerKey.h"

namespace quorvex {

namespace {

// Index of the next "[" or "]" at or after `from`, or `size`.
std::size_t nextBracket(const char* text, std::size_t from, std::size_t size)
{
    while (from < size) {
        const char c = text[from];
        if (c == '[' || c == ']')
            return from;
        ++from;
    }
    return size;
}

} // namespace

ReferenceScanResult scanReference(std::string_view text, std::string_view reference,
                                  Neighbours neighbours)
{
    const bool record = neighbours == Neighbours::Record;
    const char* p = text.data();
    const std::size_t n = text.size();

    MarkerKey current;  // no marker yet while empty; closed when not in a group
    int found = 0;      // 0: not yet, 1: passage being collected, 2: next marker recorded
    bool matches = reference.empty();

    std::string pane;
    std::string previous;
    bool hasPrevious = false;
    std::string next;
    bool hasNext = false;

    // What follows the marker's update, for the characters [from, from + count) during
    // which the marker does not change.
    auto visit = [&](std::size_t from, std::size_t count) {
        if (matches) {
            if (found == 0) {
                pane = current.marker;
                found = 1;
                pane.append(p + from + 1, count - 1);
            } else {
                pane.append(p + from, count);
            }
        } else if (record && !current.inGroup && !current.marker.empty()) {
            if (found == 0) {
                previous = current.key;
                hasPrevious = true;
            } else if (found == 1) {
                next = current.key;
                hasNext = true;
                found = 2;
            }
        }
    };

    std::size_t i = 0;
    while (i < n) {
        const char c = p[i];
        if (current.leavesUnchanged(c)) {
            // Outside a marker nothing changes until the next bracket: one run at a time.
            const std::size_t end = nextBracket(p, i + 1, n);
            visit(i, end - i);
            i = end;
            continue;
        }
        if (current.feed(c))
            matches = current.key == reference;
        visit(i, 1);
        ++i;
    }

    ReferenceScanResult result;
    if (found > 0)
        result.pane = std::move(pane);
    if (hasPrevious)
        result.previous = std::move(previous);
    if (hasNext)
        result.next = std::move(next);
    return result;
}

} // namespace quorvex
