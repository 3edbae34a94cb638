#pragma once
// The reference marker that a passage scan is in, character by character, and the key it is
// compared by. The save's passage search and the viewer's scan both step through a text with
// these same rules, so that both find a reference of the grid the same way:
//   - "]" is appended to the marker and closes the group (even when none was open);
//   - inside a group every other character is appended;
//   - "[" starts the marker again from "[" and opens a group.
// The marker keeps every character, letters too, and is what the scans write or show. The key
// is the marker with its letters left out: the segmentation makes the letters inside brackets
// words of their own, so the grid's references hold no letters ("[Prol. 3]" gives "[. 3]"),
// and the scans compare the key with them. For markers without letters key and marker are
// the same text.

#include "text/Letters.h"

#include <string>

namespace quorvex {

struct MarkerKey {
    std::string marker;  // every character collected, letters included
    std::string key;     // the same without letters
    bool inGroup = false;

    // Applies one character. Returns true when the key changed.
    bool feed(char c)
    {
        if (c == ']') {
            marker += ']';
            key += ']';
            inGroup = false;
            return true;
        }
        if (c == '[') {
            marker.assign(1, '[');
            key.assign(1, '[');
            inGroup = true;
            return true;
        }
        if (!inGroup)
            return false;
        marker += c;
        if (isLetter(c))
            return false;
        key += c;
        return true;
    }

    // True when `c` leaves both marker and key as they are (the bulk of a text), so a scan
    // may skip it without calling feed.
    bool leavesUnchanged(char c) const noexcept { return !inGroup && c != '[' && c != ']'; }
};

} // namespace quorvex
