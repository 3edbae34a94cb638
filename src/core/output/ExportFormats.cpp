#include "output/ExportFormats.h"

#include "text/Cp1252.h"
#include "output/AttestationRows.h"
#include "output/EquivalentsTable.h"
#include "output/OutputBuffer.h"
#include "passages/FormMarking.h"

#include <array>
#include <unordered_map>

namespace quorvex {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// What a byte becomes in a field, or empty to keep it (converted to UTF-8).
std::string_view tsvEscape(char c)
{
    switch (c) {
    case '\\': return "\\\\";
    case '\t': return "\\t";
    case '\n': return "\\n";
    case '\r': return "\\r";
    default: return {};
    }
}

std::string_view htmlEscape(char c)
{
    switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '"': return "&quot;";
    case '\t':
    case '\n':
    case '\r': return {};
    default: break;
    }
    const auto b = static_cast<unsigned char>(c);
    // C0 controls, DEL, and the five codes the code page leaves unassigned (C1 controls).
    if (b < 0x20 || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D)
        return kReplacement;
    return {};
}

// The UTF-8 of every Windows-1252 byte, so fields convert byte by byte without allocating.
struct Utf8Table {
    std::array<std::string, 256> of;
    Utf8Table()
    {
        for (int b = 0; b < 256; ++b)
            of[static_cast<std::size_t>(b)] = unicodeToUtf8(cp1252ToUnicode(static_cast<unsigned char>(b)));
    }
};

template <typename Escape>
void appendConverted(std::string& out, std::string_view s, Escape escape)
{
    static const Utf8Table utf8;
    for (const char c : s) {
        const std::string_view e = escape(c);
        if (!e.empty())
            out += e;
        else if (static_cast<unsigned char>(c) < 0x80)
            out += c;
        else
            out += utf8.of[static_cast<unsigned char>(c)];
    }
}

void appendCsvField(std::string& out, std::string_view s)
{
    if (s.find_first_of("\",\r\n") == std::string_view::npos) {
        appendConverted(out, s, [](char) { return std::string_view(); });
        return;
    }
    out += '"';
    appendConverted(out, s, [](char c) { return c == '"' ? std::string_view("\"\"") : std::string_view(); });
    out += '"';
}

// Headers are written in Windows-1252 like the data, so every field takes one road.
std::vector<std::string_view> headerFields(const ExportHeading& heading)
{
    std::vector<std::string_view> fields = {"forme", "r\xE9" "f\xE9" "rence"};
    if (heading.lemmata)
        fields.push_back("lemmes");
    if (heading.analyses)
        fields.push_back("analyse");
    if (heading.equivalents)
        fields.push_back("\xE9" "quivalents");
    const std::string_view latin = "passage latin", french = "passage fran\xE7" "ais";
    fields.push_back(heading.frenchSearched ? french : latin);
    fields.push_back(heading.frenchSearched ? latin : french);
    return fields;
}

// A UTF-8 field (the equivalents): TSV and CSV as the other fields, HTML with its entities.
void appendUtf8(std::string& out, ExportFormat format, std::string_view utf8)
{
    if (format == ExportFormat::Tsv || format == ExportFormat::Csv) {
        appendUtf8Field(out, format, utf8);
        return;
    }
    for (const char c : utf8) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
}

void writeHtmlHead(std::string& buf, const ExportHeading& heading, std::size_t count)
{
    const std::string_view title = heading.title.empty() ? "Veltrano - Quorvex" : heading.title;
    buf += "<!DOCTYPE html>\n<html lang=\"fr\">\n<head>\n<meta charset=\"utf-8\">\n<title>";
    appendField(buf, ExportFormat::Html, title);
    buf += "</title>\n<style>\n"
           "body { font-family: \"Times New Roman\", serif; background: #ffffc0; margin: 1em 2em; }\n"
           "h1 { background: #8080ff; color: #fff; text-align: center; padding: 0.2em; }\n"
           "p.compte { color: #0000c0; font-style: italic; font-weight: bold; }\n"
           "table { border-collapse: collapse; background: #fff; }\n"
           "th, td { border: 1px solid #c0c0c0; padding: 0.2em 0.5em; text-align: left;"
           " vertical-align: top; }\n"
           "th { background: #ffff80; color: #0000a0; }\n"
           "td.passage { white-space: pre-wrap; }\n"
           "mark { background: none; color: #c00000; font-weight: bold; }\n"
           "</style>\n</head>\n<body>\n<h1>";
    appendField(buf, ExportFormat::Html, title);
    buf += "</h1>\n";
    if (!heading.picture.empty()) {
        buf += "<figure>\n";
        buf += heading.picture;
        buf += "</figure>\n";
    }
    buf += "<p class=\"compte\">Nombre d'attestation(s) pour : ";
    appendField(buf, ExportFormat::Html, heading.query);
    if (heading.byLemma)
        buf += " (lemme)";
    buf += " = " + std::to_string(count) + "</p>\n<table>\n<thead>\n<tr>";
    for (std::string_view h : headerFields(heading)) {
        buf += "<th>";
        appendField(buf, ExportFormat::Html, h);
        buf += "</th>";
    }
    buf += "</tr>\n</thead>\n<tbody>\n";
}

void appendMarkedPassage(std::string& buf, std::string_view passage, std::string_view form,
                         LetterSet letters, std::string_view after)
{
    std::size_t done = 0;
    for (const MarkRange& m : phraseMarks(passage, form, letters, after)) {
        appendField(buf, ExportFormat::Html, passage.substr(done, m.start - done));
        buf += "<mark>";
        appendField(buf, ExportFormat::Html, passage.substr(m.start, m.length));
        buf += "</mark>";
        done = m.start + m.length;
    }
    appendField(buf, ExportFormat::Html, passage.substr(done));
}

} // namespace

void appendField(std::string& out, ExportFormat format, std::string_view cp1252)
{
    switch (format) {
    case ExportFormat::Tsv:
        appendConverted(out, cp1252, tsvEscape);
        return;
    case ExportFormat::Csv:
        appendCsvField(out, cp1252);
        return;
    case ExportFormat::Html:
    case ExportFormat::Tmx:
        appendConverted(out, cp1252, htmlEscape);
        return;
    }
}

void appendRecord(std::string& out, ExportFormat format,
                  const std::vector<std::string_view>& cp1252Fields)
{
    const char separator = format == ExportFormat::Csv ? ',' : '\t';
    for (std::size_t i = 0; i < cp1252Fields.size(); ++i) {
        if (i > 0)
            out += separator;
        appendField(out, format, cp1252Fields[i]);
    }
    out += format == ExportFormat::Csv ? "\r\n" : "\n";
}

namespace {

// The columns of a record that depend on the hit itself, not on its form and passage: the
// same form twice in a passage may be read two ways, and aligned to two words.
struct HitColumns {
    std::string lemmata, analyses, equivalents;

    HitColumns(const ExportHeading& heading, const Attestation& hit)
    {
        if (heading.lemmata)
            lemmata = heading.lemmata(hit);
        if (heading.analyses)
            analyses = heading.analyses(hit);
        if (heading.equivalents)
            equivalents = heading.equivalents(hit);
    }
    bool any(const ExportHeading& heading) const { return heading.lemmata || heading.analyses || heading.equivalents; }
    // The fields in their order, each after `before` ("</td><td>" or a separator) or before
    // `after`.
    void append(std::string& buf, ExportFormat format, const ExportHeading& heading, std::string_view before,
                std::string_view after) const
    {
        const auto field = [&](bool wanted, const std::string& text) {
            if (!wanted)
                return;
            buf += before;
            appendUtf8(buf, format, text);
            buf += after;
        };
        field(static_cast<bool>(heading.lemmata), lemmata);
        field(static_cast<bool>(heading.analyses), analyses);
        field(static_cast<bool>(heading.equivalents), equivalents);
    }
};

// One attestation record; the passages are already gathered. `textAfter` is the searched
// text after its passage, where a phrase cut by the passage's end goes on.
void appendAttestation(std::string& buf, ExportFormat format, std::string_view form,
                       std::string_view ref, std::string_view latinPassage,
                       std::string_view frenchPassage, const ExportHeading& heading,
                       const HitColumns& columns, std::string_view textAfter = {})
{
    const bool frenchSearched = heading.frenchSearched;
    if (format == ExportFormat::Html) {
        buf += "<tr><td>";
        appendField(buf, format, form);
        buf += "</td><td>";
        appendField(buf, format, ref);
        columns.append(buf, format, heading, "</td><td>", {});
        // The searched text's passage comes first and is marked; lang says which is Latin.
        buf += frenchSearched ? "</td><td class=\"passage\">" : "</td><td class=\"passage\" lang=\"la\">";
        appendMarkedPassage(buf, latinPassage, form, heading.letters, textAfter);
        buf += frenchSearched ? "</td><td class=\"passage\" lang=\"la\">" : "</td><td class=\"passage\">";
        appendField(buf, format, frenchPassage);
        buf += "</td></tr>\n";
    } else if (columns.any(heading)) {
        const std::string_view separator = format == ExportFormat::Csv ? "," : "\t";
        appendField(buf, format, form);
        buf += separator;
        appendField(buf, format, ref);
        buf += separator;
        columns.append(buf, format, heading, {}, separator);
        appendField(buf, format, latinPassage);
        buf += separator;
        appendField(buf, format, frenchPassage);
        buf += format == ExportFormat::Csv ? "\r\n" : "\n";
    } else {
        appendRecord(buf, format, {form, ref, latinPassage, frenchPassage});
    }
}

void startExport(std::string& buf, ExportFormat format, const ExportHeading& heading,
                 std::size_t count)
{
    if (format == ExportFormat::Html)
        writeHtmlHead(buf, heading, count);
    else
        appendRecord(buf, format, headerFields(heading));
}

constexpr std::string_view kHtmlTail = "</tbody>\n</table>\n</body>\n</html>\n";

// A row's passages and reference, gathered for its record; reused from row to row.
struct RecordScratch {
    std::string reference, latin, french;
};

template <typename Rows>
void appendRowRecord(std::string& buf, ExportFormat format, const Rows& rows,
                     const typename Rows::Row& row, const ExportHeading& heading,
                     RecordScratch& scratch, const HitColumns& columns)
{
    const std::string_view ref = rows.reference(row, scratch.reference);
    scratch.latin.clear();
    rows.appendLatin(scratch.latin, row);
    scratch.french.clear();
    if (rows.withFrench())
        rows.appendFrench(scratch.french, row);
    appendAttestation(buf, format, rows.form(row), ref, scratch.latin, scratch.french, heading, columns,
                      rows.latinTextAfter(row));
}

template <typename Rows>
void writeExport(std::ostream& out, ExportFormat format, const Rows& rows,
                 const ExportHeading& heading)
{
    OutputBuffer buf(out);
    startExport(buf.buffer(), format, heading, rows.count());
    RecordScratch scratch;
    bool complete = true;
    rows.forEachRow([&](const auto& row) {
        appendRowRecord(buf.buffer(), format, rows, row, heading, scratch, HitColumns(heading, row.attestation));
        buf.flushIfFull();
        // Failed or cancelled: the rest would be built for nothing.
        complete = static_cast<bool>(out);
        return complete;
    });
    if (!complete)
        return;
    if (format == ExportFormat::Html)
        buf.append(kHtmlTail);
    buf.flush();
}

// The bytes of an export before and after its records.
std::uint64_t headAndTailSize(ExportFormat format, const ExportHeading& heading, std::size_t count)
{
    std::string buf;
    startExport(buf, format, heading, count);
    return buf.size() + (format == ExportFormat::Html ? kHtmlTail.size() : 0);
}

// A record's bytes depend on its reference, form and hit's own columns only: each is rendered
// once, so a text whose one passage is huge costs one rendering, not one per row.
class RecordSizes {
public:
    template <typename Render>
    std::uint64_t of(std::string_view referenceKey, std::string_view form, const HitColumns& columns,
                     Render&& render)
    {
        m_key.assign(referenceKey);
        for (std::string_view part : {form, std::string_view(columns.lemmata), std::string_view(columns.analyses),
                                      std::string_view(columns.equivalents)}) {
            m_key += '\0';
            m_key += part;
        }
        auto it = m_sizes.find(m_key);
        if (it == m_sizes.end()) {
            m_buf.clear();
            render(m_buf);
            it = m_sizes.emplace(m_key, m_buf.size()).first;
        }
        return it->second;
    }

private:
    std::unordered_map<std::string, std::uint64_t> m_sizes;
    std::string m_key, m_buf;
};

template <typename Rows>
std::uint64_t exportSize(ExportFormat format, const Rows& rows, const ExportHeading& heading)
{
    std::uint64_t n = headAndTailSize(format, heading, rows.count());
    RecordSizes sizes;
    RecordScratch scratch;
    std::string key;
    rows.forEachRow([&](const auto& row) {
        const HitColumns columns(heading, row.attestation);
        n += sizes.of(rows.referenceKey(row, key), rows.form(row), columns, [&](std::string& buf) {
            appendRowRecord(buf, format, rows, row, heading, scratch, columns);
        });
        return true;
    });
    return n;
}

} // namespace

void writeAttestationExport(std::ostream& out, ExportFormat format, const WordTable& table,
                            const ResultList& results, std::string_view latinText,
                            const std::string* frenchText, const ExportHeading& heading)
{
    writeExport(out, format, AttestationRows(table, results, latinText, frenchText), heading);
}

std::uint64_t attestationExportSize(ExportFormat format, const WordTable& table,
                                    const ResultList& results, std::string_view latinText,
                                    const std::string* frenchText, const ExportHeading& heading)
{
    return exportSize(format, AttestationRows(table, results, latinText, frenchText), heading);
}

} // namespace quorvex
