#include "output/PrintLayout.h"

#include "text/Cp1252.h"

#include <cstdio>

namespace quorvex {

namespace {

// Only blanks go: a tab or a non-breaking space at the end of a cell is printed.
std::string withoutTrailingSpaces(std::string_view text)
{
    const std::size_t end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string() : std::string(text.substr(0, end + 1));
}

PrintOperation setType(int pointSize, bool bold, bool underline = false)
{
    PrintOperation o;
    o.op = PrintOp::SetType;
    o.text = printlayout::kTypeName;
    o.pointSize = pointSize;
    o.bold = bold;
    o.underline = underline;
    return o;
}

PrintOperation text(std::string bytes)
{
    PrintOperation o;
    o.op = PrintOp::Text;
    o.text = std::move(bytes);
    return o;
}

PrintOperation setX(int twips)
{
    PrintOperation o;
    o.op = PrintOp::SetX;
    o.twips = twips;
    return o;
}

PrintOperation simple(PrintOp op)
{
    PrintOperation o;
    o.op = op;
    return o;
}

void twoColumns(PrintOperations& out, std::string_view form, std::string_view reference)
{
    out.push_back(text(withoutTrailingSpaces(form)));
    out.push_back(setX(printlayout::kSecondColumnTwips));
    out.push_back(text(withoutTrailingSpaces(reference)));
    out.push_back(simple(PrintOp::EndLine));
}

// The header row, then `rows` rows of twoColumns given by rowAt.
template <typename RowAt>
PrintOperations listLayout(std::string_view formHeader, std::string_view referenceHeader,
                           std::size_t rows, RowAt rowAt)
{
    PrintOperations out;
    out.reserve(8 + 5 * (rows + 1) + rows / printlayout::kLinesPerPage);

    out.push_back(setType(printlayout::kHeaderPointSize, true));
    int lineOnPage = 1;  // the header line
    twoColumns(out, formHeader, referenceHeader);
    out.push_back(text(printlayout::kSeparator));
    out.push_back(simple(PrintOp::EndLine));

    out.push_back(setType(printlayout::kBodyPointSize, false));
    for (std::size_t r = 0; r < rows; ++r) {
        rowAt(out, r);
        if (++lineOnPage == printlayout::kLinesPerPage) {
            lineOnPage = 0;
            // A break right before the end of the document would only leave an empty page.
            if (r + 1 < rows)
                out.push_back(simple(PrintOp::NewPage));
        }
    }
    out.push_back(simple(PrintOp::EndDocument));
    return out;
}

void quoted(std::string& out, const std::string& cp1252)
{
    out += '"';
    for (const char c : cp1252) {
        const auto b = static_cast<unsigned char>(c);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        default:
            if (b < 0x20 || b == 0x7F) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02X", b);
                out += hex;
            } else {
                out += cp1252ToUtf8(std::string_view(&c, 1));
            }
        }
    }
    out += '"';
}

} // namespace

bool PrintOperation::operator==(const PrintOperation& other) const
{
    return op == other.op && text == other.text && pointSize == other.pointSize
           && bold == other.bold && underline == other.underline && twips == other.twips;
}

PrintOperations attestationListLayout(const WordTable& table, const ResultList& results)
{
    std::string form, reference;
    return listLayout(kFormsHeader, kReferencesHeader, results.size(),
                      [&](PrintOperations& out, std::size_t r) {
                          reference.clear();
                          appendAttestationReference(table, results[r], reference);
                          twoColumns(out, attestationForm(table, results[r], form), reference);
                      });
}

PrintOperations contextLayout(const std::string& latin, const std::string& french)
{
    PrintOperations out;
    out.reserve(16 + french.size() / printlayout::kFrenchLineLength * 2);

    const auto heading = [&out](const char* caption) {
        out.push_back(setType(printlayout::kBodyPointSize, true, true));
        out.push_back(text(caption));
        out.push_back(simple(PrintOp::EndLine));
        out.push_back(setType(printlayout::kBodyPointSize, false, false));
    };

    heading(printlayout::kLatinHeading);
    out.push_back(text(latin));
    out.push_back(simple(PrintOp::EndLine));

    heading(printlayout::kFrenchHeading);
    // Line breaks of the French text stay in the buffer like any character: they start a
    // new printed line but do not restart the count.
    std::string buffer;
    for (const char c : french) {
        buffer += c;
        if (c == ' ' && buffer.size() > printlayout::kFrenchLineLength) {
            out.push_back(text(std::move(buffer)));
            out.push_back(simple(PrintOp::EndLine));
            buffer.clear();
        }
    }
    out.push_back(text(std::move(buffer)));
    out.push_back(simple(PrintOp::EndLine));

    out.push_back(simple(PrintOp::EndDocument));
    return out;
}

std::string paneLineBreaks(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            out += "\r\n";
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += c;
        }
    }
    return out;
}

std::string describePrintOperations(const PrintOperations& operations)
{
    std::string out;
    for (const PrintOperation& o : operations) {
        switch (o.op) {
        case PrintOp::SetType:
            out += "type ";
            quoted(out, o.text);
            out += ' ' + std::to_string(o.pointSize);
            if (o.bold)
                out += " bold";
            if (o.underline)
                out += " underline";
            break;
        case PrintOp::Text:
            out += "text ";
            quoted(out, o.text);
            break;
        case PrintOp::SetX:
            out += "x " + std::to_string(o.twips);
            break;
        case PrintOp::EndLine: out += "endline"; break;
        case PrintOp::NewPage: out += "newpage"; break;
        case PrintOp::EndDocument: out += "enddoc"; break;
        }
        out += '\n';
    }
    return out;
}

std::size_t countPages(const PrintOperations& operations)
{
    std::size_t pages = 1;
    for (const PrintOperation& o : operations)
        if (o.op == PrintOp::NewPage)
            ++pages;
    return pages;
}

} // namespace quorvex
