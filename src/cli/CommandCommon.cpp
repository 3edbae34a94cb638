#include "cli/CommandCommon.h"

#include "concordance/FormSearch.h"
#include "system/SystemFiles.h"

namespace quorvex {

namespace {
constexpr const char* kProgram = "quorvex-cli : ";
} // namespace

int loadLatinSearch(const CliOptions& options, std::ostream& err, LatinSearch& into)
{
    TextReadResult latin = readText(options.latinPath);
    if (latin.error)
        return reportFileError(err, latin.error);
    into = prepareSearch(options, std::move(latin.text), err);
    return kExitOk;
}

LatinSearch prepareSearch(const CliOptions& options, std::string latinText, std::ostream& err)
{
    const ArgumentConversion form = argumentToCp1252(options.operands.front());
    if (!form.missingChar.empty())
        err << kProgram << "attention : la forme contient le caractère « " << form.missingChar
            << " », absent du codage Windows-1252 des textes ; elle ne peut rien trouver.\n";
    LatinSearch search;
    search.form = form.bytes;
    search.searchable = form.missingChar.empty();
    search.table = WordTable::segment(std::move(latinText));
    return search;
}

void searchSorted(const LatinSearch& search, SortOrder sort, GridModel& grid)
{
    const WordTable nothing;
    searchIntoGrid(search.searchable ? search.table : nothing, search.form, grid);
    if (sort == SortOrder::Forms) {
        // The "Formes" button: keys from column 0 to the current column.
        grid.setColSel(0);
        grid.sort();
    }
}

int readTexts(const CliOptions& options, std::ostream& err, TextReadResult& latin,
              TextReadResult& french, bool withFrench)
{
    latin = readText(options.latinPath);
    if (latin.error)
        return reportFileError(err, latin.error);
    if (withFrench && !options.frenchPath.empty()) {
        french = readText(options.frenchPath);
        if (french.error)
            return reportFileError(err, french.error);
    }
    return kExitOk;
}

int reportFileError(std::ostream& err, const FileError& error)
{
    err << kProgram << describeFileError(error) << '\n';
    return kExitFileError;
}

int finishOutput(std::ostream& out, std::ostream& err)
{
    out.flush();
    if (!out) {
        err << kProgram << "l'écriture sur la sortie standard a échoué.\n";
        return kExitFileError;
    }
    return kExitOk;
}

SaveProgress::SaveProgress(std::ostream& err, std::string path, bool terminal,
                           std::chrono::milliseconds after)
    : m_err(err), m_path(sys::escapeInvalidUtf8(path)), m_terminal(terminal),
      m_start(std::chrono::steady_clock::now()), m_last(m_start), m_after(after)
{
}

SaveProgress::~SaveProgress()
{
    if (m_shown) {
        m_err << '\n';
        m_err.flush();
    }
}

bool SaveProgress::update(std::uint64_t written, std::uint64_t total)
{
    if (!m_terminal)
        return true;
    const auto now = std::chrono::steady_clock::now();
    // Redrawn at most ten times a second, the last one always.
    if (now - m_start < m_after || (m_shown && written < total && now - m_last < std::chrono::milliseconds(100)))
        return true;
    m_last = now;
    m_shown = true;
    const unsigned percent = total ? static_cast<unsigned>(written * 100 / total) : 100;
    m_err << "\r" << kProgram << "écriture de « " << m_path << " » : " << percent << " % ("
          << formatByteSize(written) << " sur " << formatByteSize(total) << ")";
    m_err.flush();
    return true;
}

} // namespace quorvex
