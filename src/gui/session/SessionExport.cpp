// The list's exports, in quorvex-cli's --format and --kwic core calls for the same options:
// the searched table and its text, the other text of the pair, the lemmata column of a lemma
// search and, with a French text beside a Latin list, the equivalents column.

#include "session/Session.h"

#include "lexicon/Lexicon.h"
#include "output/ExportFormats.h"
#include "output/KwicLines.h"
#include "output/TmxExport.h"
#include "platform/TextCodec.h"

#include <new>
#include <sstream>
#include <stdexcept>
#include <unordered_map>

namespace quorvex {

FileError Session::exportList(const std::string& outputPath, ListExport kind, const SaveControl& control)
{
    return writtenOrOutOfMemory(outputPath, [&] { return exportListOrThrow(outputPath, kind, control); });
}

FileError Session::exportListOrThrow(const std::string& outputPath, ListExport kind, const SaveControl& control)
{
    const WordTable& table = searchedWords();
    const bool frenchNamed = !m_frenchPath.isEmpty();
    // The other text of the pair: the Latin one beside a French list, else the French one.
    const std::string* other = nullptr;
    if (m_listFrenchSide) {
        other = &words().text();
    } else if (frenchNamed) {
        if (useFrenchText() != SessionFailure::None)
            return m_frenchTextError;
    }
    const ResultList& list = results();

    const std::string title = toCp1252(m_title);
    const std::string query = m_listByLemma ? m_result.form() : m_typedForm;
    ExportHeading heading{title, query, {}, m_listFrenchSide, table.letterSet()};
    if (m_listByLemma && m_lexicon && m_result.textLemmata()) {
        heading.byLemma = true;
        heading.lemmata = [this](const Attestation& hit) { return m_result.lemmataColumn(hit.first); };
        // The window reads every word in its sentence: its lemma lists carry the analyses, as
        // --analyses writes them.
        if (m_result.tagging())
            heading.analyses = [this](const Attestation& hit) { return m_result.analysisColumn(hit.first); };
    }
    // Beside a Latin list the French text gives each hit the words aligned to it, as
    // --equivalents does; the translation memory has no such column.
    if (exportHasRenderings(kind)) {
        FileError error;
        if (!equivalents(&error) && error)
            return error;
        heading.equivalents = [this](const Attestation& hit) {
            if (!m_alignment || hit.words == 0 || !m_alignment->paired(hit.first))
                return std::string();
            return renderingText(m_alignment->renderingOf(hit), frenchText());
        };
    }
    // Taken once the renderings are there: the French lemmas move the text into its word table.
    if (frenchNamed && !m_listFrenchSide)
        other = &frenchText();

    const std::string latinPath = toPath(m_latinPath);
    const std::string frenchPath = toPath(m_frenchPath);
    // The translation memory and the KWIC lines are made whole before their size is known.
    std::string made;
    if (kind == ListExport::Tmx) {
        made = tmxDocument(table, list, table.text(), other, QUORVEX_VERSION);
    } else if (kind == ListExport::Kwic) {
        std::ostringstream lines;
        writeKwicLines(lines, table, list, kDefaultKwicWidth);
        made = std::move(lines).str();
    }
    if (kind == ListExport::Tmx || kind == ListExport::Kwic)
        return saveSizedOutput(
            outputPath, made.size(),
            [&](std::ostream& out) { out.write(made.data(), static_cast<std::streamsize>(made.size())); },
            latinPath, frenchPath, control);

    const ExportFormat format = kind == ListExport::Csv ? ExportFormat::Csv
        : kind == ListExport::Html                     ? ExportFormat::Html
                                                       : ExportFormat::Tsv;
    const std::uint64_t size = attestationExportSize(format, table, list, table.text(), other, heading);
    return saveSizedOutput(
        outputPath, size,
        [&](std::ostream& out) { writeAttestationExport(out, format, table, list, table.text(), other, heading); },
        latinPath, frenchPath, control);
}

} // namespace quorvex
