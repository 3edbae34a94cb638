#include "output/KwicLines.h"

#include "text/Cp1252.h"

#include <algorithm>
#include <string>

namespace quorvex {

namespace {

constexpr std::size_t kFlushAt = std::size_t(1) << 20;

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

} // namespace

void writeKwicLines(std::ostream& out, std::string_view text, const std::vector<KwicHit>& hits,
                    std::size_t width)
{
    std::size_t refWidth = 0;
    std::string scratch;
    for (const KwicHit& h : hits) {
        scratch.clear();
        refWidth = std::max(refWidth, appendShown(scratch, h.reference));
    }

    std::string line;
    std::string left;
    std::string buf;
    buf.reserve(kFlushAt + 4096);
    for (const KwicHit& h : hits) {
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

        buf += cp1252ToUtf8(line);
        buf += '\n';
        if (buf.size() >= kFlushAt) {
            out.write(buf.data(), static_cast<std::streamsize>(buf.size()));
            buf.clear();
        }
    }
    out.write(buf.data(), static_cast<std::streamsize>(buf.size()));
}

} // namespace quorvex
