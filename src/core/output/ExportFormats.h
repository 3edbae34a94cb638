#pragma once
// The attestations as data for other programs: TSV, CSV (RFC 4180) or one standalone HTML
// page, one record per attestation with its form, reference and the same Latin and French
// passages as the result file. Everything written is UTF-8; what comes in is Windows-1252.

#include "concordance/ResultList.h"
#include "concordance/WordTable.h"

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

// Tmx: the translation memory of output/TmxExport.h; a field of it is escaped as HTML's.
enum class ExportFormat { Tsv, Csv, Html, Tmx };

// One field of a record, Windows-1252 in, UTF-8 out.
//  - TSV: "\" "tab" LF CR become \\ \t \n \r, so a record stays on one line;
//  - CSV: a field holding a quote, a comma, CR or LF is quoted, its quotes doubled;
//  - HTML: & < > " as entities; control characters other than tab, CR and LF, which an
//    HTML page may not hold, as U+FFFD.
void appendField(std::string& out, ExportFormat format, std::string_view cp1252);

// Fields joined by a tab (TSV, record ended by LF) or a comma (CSV, ended by CR LF).
void appendRecord(std::string& out, ExportFormat format,
                  const std::vector<std::string_view>& cp1252Fields);

struct ExportHeading {
    std::string_view title;  // Windows-1252; the page's heading, the program's name if empty
    std::string_view query;  // Windows-1252, as typed
    std::string_view picture = {};  // HTML only: an SVG picture (UTF-8) set under the heading
    bool frenchSearched = false;  // the French text was searched: its passage comes first
    LetterSet letters = LetterSet::Window;  // HTML only: how the searched text was cut into words
    // When set, a column "équivalents" after the reference: what it gives for the row's
    // attestation (UTF-8).
    std::function<std::string(const Attestation& hit)> equivalents = {};
    // A search by lemma: the count line says so, and a column "lemmes" follows the reference
    // (before "équivalents"): the candidate lemmata of the row's word, the likeliest in its
    // sentence first (UTF-8).
    bool byLemma = false;
    std::function<std::string(const Attestation& hit)> lemmata = {};
    // When set, a column "analyse" after "lemmes": the likeliest analysis of the row's word and
    // its probability (UTF-8).
    std::function<std::string(const Attestation& hit)> analyses = {};
};

// A header record, then one record per attestation of `results`, in their order: form,
// reference, Latin passage, French passage (empty without a French text), or the two passages
// the other way round when the French text was searched. `latinText` is the searched text and
// `frenchText` the other one.
// The HTML page marks every occurrence of the row's form in the Latin passage; the form of a
// phrase is marked word by word (phraseMarks).
void writeAttestationExport(std::ostream& out, ExportFormat format, const WordTable& table,
                            const ResultList& results, std::string_view latinText,
                            const std::string* frenchText, const ExportHeading& heading);

// The number of bytes writeAttestationExport writes, known before a byte is written.
std::uint64_t attestationExportSize(ExportFormat format, const WordTable& table,
                                    const ResultList& results, std::string_view latinText,
                                    const std::string* frenchText, const ExportHeading& heading);

} // namespace quorvex
