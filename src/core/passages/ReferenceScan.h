#pragma once
// The viewer's reference scan: for one text and one reference sought, the passage to show
// and the neighbouring markers, in a single pass over the text.

#include <optional>
#include <string>
#include <string_view>

namespace quorvex {

enum class Neighbours { Ignore, Record };

struct ReferenceScanResult {
    // The marker as it stands in the text, then everything up to the next "[" (and, when the
    // marker stands twice, the later "]" and passage too). Nothing when no marker matches:
    // the pane then keeps what it showed.
    std::optional<std::string> pane;
    // Keys of the last complete marker before the passage and of the first after it (only
    // when recorded). Nothing when there is none: the stored values are then kept.
    std::optional<std::string> previous;
    std::optional<std::string> next;
};

// Markers are compared by their key (the marker with its letters left out), the way the
// word table collects references, so "[Prol. 3]" is found for "[. 3]". The empty reference
// matches the text before the first marker, from its second character on.
ReferenceScanResult scanReference(std::string_view text, std::string_view reference,
                                  Neighbours neighbours);

} // namespace quorvex
