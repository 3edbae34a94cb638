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

} // namespace

KwicLines::KwicLines(const WordTable& table, const ResultList& results, std::size_t width)
    : m_table(table), m_results(results), m_width(width)
{
    std::string shownRef;
    for (const Attestation& a : results) {
        m_reference.clear();
        appendAttestationReference(table, a, m_reference);
        shownRef.clear();
        m_referenceWidth = std::max(m_referenceWidth, appendShown(shownRef, m_reference));
    }
}

void KwicLines::appendLine(std::size_t k, std::string& out) const
{
    const Attestation& a = m_results[k];
    const std::string_view text = m_table.text();
    const std::size_t offset = attestationOffset(m_table, a);
    const std::size_t length = attestationLength(m_table, a);
    std::string& line = m_line;
    line.clear();
    if (m_referenceWidth > 0) {
        m_reference.clear();
        appendAttestationReference(m_table, a, m_reference);
        const std::size_t w = appendShown(line, m_reference);
        line.append(m_referenceWidth - w + 2, ' ');
    }

    // Walk back from the form: a CR LF pair is one character.
    std::string& left = m_left;
    left.clear();
    std::size_t i = offset;
    while (i > 0 && left.size() < m_width) {
        --i;
        if (text[i] == '\n' && i > 0 && text[i - 1] == '\r')
            --i;
        left += shown(text[i]);
    }
    line.append(m_width - left.size(), ' ');
    line.append(left.rbegin(), left.rend());

    appendShown(line, text.substr(offset, length));  // a phrase may span a line break

    std::size_t j = offset + length;
    for (std::size_t taken = 0; j < text.size() && taken < m_width; ++j, ++taken) {
        if (text[j] == '\r' && j + 1 < text.size() && text[j + 1] == '\n')
            ++j;
        line += shown(text[j]);
    }
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    out += cp1252ToUtf8(line);
}

void writeKwicLines(std::ostream& out, const WordTable& table, const ResultList& results,
                    std::size_t width)
{
    const KwicLines lines(table, results, width);
    OutputBuffer buf(out);
    for (std::size_t k = 0; k < lines.size(); ++k) {
        lines.appendLine(k, buf.buffer());
        buf.buffer() += '\n';
        buf.flushIfFull();
    }
    buf.flush();
}

} // namespace quorvex
