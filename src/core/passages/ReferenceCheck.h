#pragma once
// The agreement of the reference markers of a Latin text and its translation, checked
// without any query. Findings come back as values; the command line words them.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

enum class CheckedText { Latin, French };

enum class FindingKind {
    MissingInOther,  // the marker stands in this text only (at its first occurrence)
    Duplicate,       // a further occurrence; `otherLine` is the first one's line
    OutOfOrder,      // numerically smaller than the numeric marker before it (`other`)
    HoldsLetters,    // a marker with letters inside, which the passage scans key without them
    StrayClose,      // a "]" outside any marker
    UnclosedOpen,    // a "[" that no "]" closes before the next "[" or the end of the text
};

struct CheckFinding {
    CheckedText text = CheckedText::Latin;
    std::size_t line = 0;    // 1-based; CR LF, LF and a lone CR each end a line
    FindingKind kind = FindingKind::MissingInOther;
    std::string marker;      // Windows-1252, brackets included; empty for a stray bracket
    std::string other;       // OutOfOrder: the marker it follows
    std::size_t otherLine = 0;  // Duplicate: first occurrence; OutOfOrder: the marker before
};

struct ReferenceCheck {
    std::vector<CheckFinding> findings;  // Latin first, then French, each in text order
    std::size_t latinMarkers = 0;        // markers counted, duplicates included
    std::size_t frenchMarkers = 0;
    bool agree() const noexcept { return findings.empty(); }
};

// A marker is a "[", the characters after it and the "]" that closes it. `french` null
// checks the Latin text alone (no presence comparison).
ReferenceCheck checkReferences(std::string_view latin, const std::string_view* french);

// A marker whose inside, blanks around it aside, is numbers joined by points ("[12]",
// "[1.10]"); such markers are compared part by part, so "[1.10]" comes after "[1.9]".
bool isNumericMarker(std::string_view marker) noexcept;
// Negative, zero or positive as a sorts before, with or after b; both must be numeric.
int compareNumericMarkers(std::string_view a, std::string_view b) noexcept;

} // namespace quorvex
