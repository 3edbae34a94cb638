#pragma once
// The two printouts as plain lists of printer operations: the attestation list (the result
// grid's two columns, a fixed number of lines a page) and the context (the Latin and French
// passages under their headings). The lists are data, so the page rules are testable without
// a printer; a printing surface plays them on the real one.

#include "concordance/ResultList.h"

#include <cstddef>
#include <string>
#include <vector>

namespace quorvex {

enum class PrintOp {
    SetType,      // name, pointSize, bold, underline
    Text,         // print text and stay on the line (line breaks inside it start new lines)
    SetX,         // horizontal print position, twips from the left edge of the printable area
    EndLine,      // back to the left edge, down by the height of the current type
    NewPage,
    EndDocument,  // sends the document to the printer
};

struct PrintOperation {
    PrintOp op = PrintOp::EndLine;
    std::string text;    // Text: Windows-1252 bytes; SetType: the type name
    int pointSize = 0;   // SetType
    bool bold = false;   // SetType
    bool underline = false;  // SetType
    int twips = 0;       // SetX

    bool operator==(const PrintOperation& other) const;
    bool operator!=(const PrintOperation& other) const { return !(*this == other); }
};

using PrintOperations = std::vector<PrintOperation>;

namespace printlayout {
inline constexpr const char* kTypeName = "verdana";
inline constexpr int kHeaderPointSize = 12;
inline constexpr int kBodyPointSize = 9;
inline constexpr int kSecondColumnTwips = 5000;
// The header line counts as the first line of the first page; the separator does not.
inline constexpr int kLinesPerPage = 68;
// A French line is ended only at a space that makes the buffer longer than this.
inline constexpr std::size_t kFrenchLineLength = 80;
inline constexpr const char* kSeparator =
    "------------------------------------------------------------";
inline constexpr const char* kLatinHeading = "Texte latin:";
inline constexpr const char* kFrenchHeading = "Texte francais:";
} // namespace printlayout

// The attestation list: the grid's header row in 12-point bold, a separator, then one row per
// attestation in 9 point, every cell without its trailing spaces, the reference at 5000 twips.
PrintOperations attestationListLayout(const WordTable& table, const ResultList& results);

// The context: both headings bold and underlined, the Latin pane's text as one piece, the
// French pane's text broken at spaces once a line holds more than 80 characters. Both texts
// are the panes' plain text in Windows-1252, line breaks as CR LF.
PrintOperations contextLayout(const std::string& latin, const std::string& french);

// A text as a pane holds it: every line break (CR LF, a lone CR, a lone LF) as CR LF.
std::string paneLineBreaks(const std::string& text);

// One operation a line, texts quoted in UTF-8 with C escapes (for tests and the CLI).
std::string describePrintOperations(const PrintOperations& operations);

// The number of pages the list asks for (explicit page breaks only).
std::size_t countPages(const PrintOperations& operations);

} // namespace quorvex
