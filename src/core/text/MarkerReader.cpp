#include "text/MarkerReader.h"

namespace quorvex {

namespace {

// The bytes of a key one by one: the marker's non-letters, then the stray "]".
class KeyBytes {
public:
    KeyBytes(std::string_view text, const ReferenceParts& r, LetterSet letters) noexcept
        : m_p(reinterpret_cast<const unsigned char*>(text.data()) + r.markerOffset),
          m_end(m_p + r.markerLength), m_strays(r.strays), m_letters(letterTable(letters))
    {
    }
    // The next marker byte, or -1 once only stray "]" remain.
    int nextMarkerByte() noexcept
    {
        while (m_p < m_end) {
            const unsigned char c = *m_p++;
            if (!m_letters[c])
                return c;
        }
        return -1;
    }
    std::uint32_t strays() const noexcept { return m_strays; }

private:
    const unsigned char* m_p;
    const unsigned char* m_end;
    std::uint32_t m_strays;
    const std::array<bool, 256>& m_letters;
};

// "]" x run against `first` and the bytes left in `rest`.
int compareRunWithRest(std::uint32_t run, int first, KeyBytes& rest) noexcept
{
    for (int c = first; c >= 0; c = rest.nextMarkerByte()) {
        if (run == 0)
            return -1;
        if (c != ']')
            return ']' < c ? -1 : 1;
        --run;
    }
    return run < rest.strays() ? -1 : (run > rest.strays() ? 1 : 0);
}

} // namespace

bool MarkerReader::hashOfKey(std::string_view reference, LetterSet letters, std::uint64_t& hash) noexcept
{
    const auto& isLetterByte = letterTable(letters);
    std::size_t keyEnd = 0;  // the marker's part; the rest must be stray "]"
    std::uint64_t h = kEmpty;
    if (!reference.empty() && reference.front() == '[') {
        h = kSeed;
        for (;;) {
            const auto c = static_cast<unsigned char>(reference[keyEnd]);
            if (isLetterByte[c] || (c == '[' && keyEnd > 0))
                return false;
            h = step(h, c);
            ++keyEnd;
            if (c == ']' || keyEnd == reference.size())
                break;
        }
    }
    for (std::size_t i = keyEnd; i < reference.size(); ++i)
        if (reference[i] != ']')
            return false;
    hash = combine(h, static_cast<std::uint32_t>(reference.size() - keyEnd));
    return true;
}

void appendKey(std::string_view text, const ReferenceParts& parts, LetterSet letters, std::string& out)
{
    if (parts.keyLength == parts.markerLength) {
        out.append(text.data() + parts.markerOffset, parts.markerLength);
    } else {
        KeyBytes bytes(text, parts, letters);
        for (int c = bytes.nextMarkerByte(); c >= 0; c = bytes.nextMarkerByte())
            out += static_cast<char>(c);
    }
    out.append(parts.strays, ']');
}

std::string keyOf(std::string_view text, const ReferenceParts& parts, LetterSet letters)
{
    std::string out;
    appendKey(text, parts, letters, out);
    return out;
}

std::size_t copyKeyPrefix(std::string_view text, const ReferenceParts& parts, LetterSet letters,
                          char* out, std::size_t max) noexcept
{
    KeyBytes bytes(text, parts, letters);
    std::size_t n = 0;
    for (int c; n < max && (c = bytes.nextMarkerByte()) >= 0;)
        out[n++] = static_cast<char>(c);
    for (std::uint32_t k = 0; n < max && k < parts.strays; ++k)
        out[n++] = ']';
    return n;
}

void appendMarker(std::string_view text, const ReferenceParts& parts, std::string& out)
{
    out.append(text.data() + parts.markerOffset, parts.markerLength);
    out.append(parts.strays, ']');
}

bool keyEquals(std::string_view text, const ReferenceParts& parts, LetterSet letters,
               std::string_view reference) noexcept
{
    if (parts.textLength() != reference.size())
        return false;
    KeyBytes bytes(text, parts, letters);
    std::size_t i = 0;
    for (int c = bytes.nextMarkerByte(); c >= 0; c = bytes.nextMarkerByte())
        if (static_cast<unsigned char>(reference[i++]) != c)
            return false;
    for (; i < reference.size(); ++i)
        if (reference[i] != ']')
            return false;
    return true;
}

int compareReferences(std::string_view aText, const ReferenceParts& a,
                      std::string_view bText, const ReferenceParts& b,
                      LetterSet letters) noexcept
{
    KeyBytes x(aText, a, letters);
    KeyBytes y(bText, b, letters);
    for (;;) {
        const int cx = x.nextMarkerByte();
        const int cy = y.nextMarkerByte();
        if (cx >= 0 && cy >= 0) {
            if (cx != cy)
                return cx < cy ? -1 : 1;
            continue;
        }
        // Once a marker runs out only its "]" run is left: two runs compare by length, so a
        // long run costs nothing.
        if (cx < 0 && cy < 0)
            return x.strays() < y.strays() ? -1 : (x.strays() > y.strays() ? 1 : 0);
        if (cx < 0)
            return compareRunWithRest(x.strays(), cy, y);
        return -compareRunWithRest(y.strays(), cx, x);
    }
}

} // namespace quorvex
