#include "passages/ReferenceCheck.h"

#include "text/MarkerReader.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace quorvex {

namespace {

struct Marker {
    std::string_view text;  // brackets included
    std::size_t offset;
    std::size_t line;
    bool holdsLetters;
};

struct Bracket {
    FindingKind kind;  // StrayClose or UnclosedOpen
    std::size_t offset;
    std::size_t line;
};

struct Scan {
    std::vector<Marker> markers;
    std::vector<Bracket> brackets;
};

// One pass with the markers' reader: the markers, the brackets that belong to none, and the
// line of each. A marker is a "[" and the "]" that closes its group; a group that a "[" or
// the end of the text cuts off is no marker.
Scan scanMarkers(std::string_view text)
{
    Scan scan;
    const std::size_t n = text.size();
    const auto* t = reinterpret_cast<const unsigned char*>(text.data());
    MarkerReader reader(LetterSet::Window);
    std::size_t line = 1;
    std::size_t openLine = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char c = t[i];
        if (c == '\n' || (c == '\r' && (i + 1 == n || t[i + 1] != '\n')))
            ++line;
        if (reader.leavesUnchanged(c))
            continue;
        const bool wasOpen = reader.inGroup();
        if (c == '[' && wasOpen)
            scan.brackets.push_back(Bracket{FindingKind::UnclosedOpen, reader.parts().markerOffset, openLine});
        if (c == ']' && !wasOpen)
            scan.brackets.push_back(Bracket{FindingKind::StrayClose, i, line});
        reader.feed(c, i);
        if (c == '[') {
            openLine = line;
        } else if (c == ']' && wasOpen) {
            const ReferenceParts& m = reader.parts();
            scan.markers.push_back(Marker{text.substr(m.markerOffset, m.markerLength), m.markerOffset,
                                          openLine, m.keyLength != m.markerLength});
        }
    }
    if (reader.inGroup())
        scan.brackets.push_back(Bracket{FindingKind::UnclosedOpen, reader.parts().markerOffset, openLine});
    return scan;
}

// The inside of a numeric marker without its surrounding blanks.
std::string_view numericInside(std::string_view marker) noexcept
{
    if (marker.size() < 2 || marker.front() != '[' || marker.back() != ']')
        return {};
    std::string_view inside = marker.substr(1, marker.size() - 2);
    while (!inside.empty() && inside.front() == ' ')
        inside.remove_prefix(1);
    while (!inside.empty() && inside.back() == ' ')
        inside.remove_suffix(1);
    return inside;
}

// Splits off the next point-separated part.
std::string_view nextPart(std::string_view& rest) noexcept
{
    const std::size_t dot = rest.find('.');
    const std::string_view part = rest.substr(0, dot);
    rest = dot == std::string_view::npos ? std::string_view() : rest.substr(dot + 1);
    return part;
}

void appendScanFindings(std::vector<CheckFinding>& out, CheckedText which, const Scan& scan,
                        const std::unordered_set<std::string_view>* other)
{
    struct Placed {
        std::size_t offset;
        CheckFinding finding;
    };
    std::vector<Placed> placed;
    std::unordered_map<std::string_view, std::size_t> firstLine;
    const Marker* previousNumeric = nullptr;
    for (const Marker& m : scan.markers) {
        auto add = [&](FindingKind kind) -> CheckFinding& {
            placed.push_back(Placed{m.offset, CheckFinding{}});
            CheckFinding& f = placed.back().finding;
            f.text = which;
            f.line = m.line;
            f.kind = kind;
            f.marker = std::string(m.text);
            return f;
        };
        const auto [first, fresh] = firstLine.try_emplace(m.text, m.line);
        if (!fresh)
            add(FindingKind::Duplicate).otherLine = first->second;
        else if (other && other->count(m.text) == 0)
            add(FindingKind::MissingInOther);
        if (isNumericMarker(m.text)) {
            if (previousNumeric && compareNumericMarkers(m.text, previousNumeric->text) < 0) {
                CheckFinding& f = add(FindingKind::OutOfOrder);
                f.other = std::string(previousNumeric->text);
                f.otherLine = previousNumeric->line;
            }
            previousNumeric = &m;
        } else if (m.holdsLetters) {
            add(FindingKind::HoldsLetters);
        }
    }
    for (const Bracket& b : scan.brackets) {
        placed.push_back(Placed{b.offset, CheckFinding{}});
        CheckFinding& f = placed.back().finding;
        f.text = which;
        f.line = b.line;
        f.kind = b.kind;
    }
    std::stable_sort(placed.begin(), placed.end(),
                     [](const Placed& a, const Placed& b) { return a.offset < b.offset; });
    for (Placed& p : placed)
        out.push_back(std::move(p.finding));
}

std::unordered_set<std::string_view> markerSet(const Scan& scan)
{
    std::unordered_set<std::string_view> set;
    set.reserve(scan.markers.size());
    for (const Marker& m : scan.markers)
        set.insert(m.text);
    return set;
}

} // namespace

bool isNumericMarker(std::string_view marker) noexcept
{
    const std::string_view inside = numericInside(marker);
    bool partHasDigit = false;
    for (char c : inside) {
        if (c == '.') {
            if (!partHasDigit)
                return false;
            partHasDigit = false;
        } else if (c >= '0' && c <= '9') {
            partHasDigit = true;
        } else {
            return false;
        }
    }
    return partHasDigit;
}

int compareNumericMarkers(std::string_view a, std::string_view b) noexcept
{
    std::string_view ra = numericInside(a);
    std::string_view rb = numericInside(b);
    for (;;) {
        if (ra.empty() || rb.empty())
            return ra.empty() == rb.empty() ? 0 : (ra.empty() ? -1 : 1);
        std::string_view pa = nextPart(ra);
        std::string_view pb = nextPart(rb);
        // Any number of digits: compare without leading zeros, by length, then digit by digit.
        while (pa.size() > 1 && pa.front() == '0')
            pa.remove_prefix(1);
        while (pb.size() > 1 && pb.front() == '0')
            pb.remove_prefix(1);
        if (pa.size() != pb.size())
            return pa.size() < pb.size() ? -1 : 1;
        if (const int c = pa.compare(pb); c != 0)
            return c;
    }
}

ReferenceCheck checkReferences(std::string_view latin, const std::string_view* french)
{
    ReferenceCheck check;
    const Scan latinScan = scanMarkers(latin);
    check.latinMarkers = latinScan.markers.size();
    if (!french) {
        appendScanFindings(check.findings, CheckedText::Latin, latinScan, nullptr);
        return check;
    }
    const Scan frenchScan = scanMarkers(*french);
    check.frenchMarkers = frenchScan.markers.size();
    const auto latinSet = markerSet(latinScan);
    const auto frenchSet = markerSet(frenchScan);
    appendScanFindings(check.findings, CheckedText::Latin, latinScan, &frenchSet);
    appendScanFindings(check.findings, CheckedText::French, frenchScan, &latinSet);
    return check;
}

} // namespace quorvex
