#include "output/KwicLines.h"

#include "output/OutputBuffer.h"
#include "text/Cp1252.h"

#include <algorithm>
#include <string>

namespace quorvex {

namespace {

// Control characters, DEL and the code page's five unassigned codes would break the columns.
constexpr bool showsAsBlank(unsigned char c) noexcept
{
    return c < 0x20 || c == 0x7F || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90
        || c == 0x9D;
}

char shown(char c) noexcept
{
    return showsAsBlank(static_cast<unsigned char>(c)) ? ' ' : c;
}

// `s` with every line break as one blank; returns the number of characters appended.
std::size_t appendShown(std::string& out, std::string_view s)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < s.size(); ++i, ++count) {
        if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n')
            ++i;
        out += shown(s[i]);
    }
    return count;
}

struct KwicHit {
    std::string_view reference;  // Windows-1252
    std::size_t offset = 0;      // where the form stands in the text
    std::size_t length = 0;
};

// `hitAt(k, scratch)` gives hit k as a KwicHit whose reference may live in `scratch`.
template <typename HitAt>
void writeLines(std::ostream& out, std::string_view text, std::size_t count, HitAt hitAt,
                std::size_t width)
{
    std::size_t refWidth = 0;
    std::string scratch;
    std::string shownRef;
    for (std::size_t k = 0; k < count; ++k) {
        shownRef.clear();
        refWidth = std::max(refWidth, appendShown(shownRef, hitAt(k, scratch).reference));
    }

    std::string line;
    std::string left;
    OutputBuffer buf(out);
    for (std::size_t k = 0; k < count; ++k) {
        const KwicHit h = hitAt(k, scratch);
        line.clear();
        if (refWidth > 0) {
            const std::size_t w = appendShown(line, h.reference);
            line.append(refWidth - w + 2, ' ');
        }

        // Walk back from the form: a CR LF pair is one character.
        left.clear();
        std::size_t i = h.offset;
        while (i > 0 && left.size() < width) {
            --i;
            if (text[i] == '\n' && i > 0 && text[i - 1] == '\r')
                --i;
            left += shown(text[i]);
        }
        line.append(width - left.size(), ' ');
        line.append(left.rbegin(), left.rend());

        appendShown(line, text.substr(h.offset, h.length));  // a phrase may span a line break

        std::size_t j = h.offset + h.length;
        for (std::size_t taken = 0; j < text.size() && taken < width; ++j, ++taken) {
            if (text[j] == '\r' && j + 1 < text.size() && text[j + 1] == '\n')
                ++j;
            line += shown(text[j]);
        }
        while (!line.empty() && line.back() == ' ')
            line.pop_back();

        buf.buffer() += cp1252ToUtf8(line);
        buf.buffer() += '\n';
        buf.flushIfFull();
    }
    buf.flush();
}

} // namespace

void writeKwicLines(std::ostream& out, const WordTable& table, const ResultList& results,
                    std::size_t width)
{
    const auto hitAt = [&](std::size_t k, std::string& scratch) {
        const Attestation& a = results[k];
        scratch.clear();
        appendAttestationReference(table, a, scratch);
        return KwicHit{scratch, attestationOffset(table, a), attestationLength(table, a)};
    };
    writeLines(out, table.text(), results.size(), hitAt, width);
}

} // namespace quorvex
