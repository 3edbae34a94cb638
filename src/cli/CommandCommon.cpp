#include "cli/CommandCommon.h"

#include "concordance/SearchResult.h"
#include "output/TmxExport.h"
#include "system/SystemFiles.h"


namespace quorvex {

namespace {
constexpr const char* kProgram = "quorvex-cli : ";
} // namespace

int loadLatinSearch(const CliOptions& options, std::ostream& err, LatinSearch& into)
{
    std::string latin;
    if (const int code = readTextFile(options.latinPath, err, latin))
        return code;
    return prepareSearch(options, std::move(latin), err, into);
}

void convertForm(const CliOptions& options, std::ostream& err, std::string& form, bool& searchable)
{
    const ArgumentConversion converted = argumentToCp1252(options.operands.front());
    if (!converted.missingChar.empty())
        err << kProgram << "attention : la forme contient le caractère « "
            << converted.missingChar
            << " », absent du codage Windows-1252 des textes ; elle ne peut rien trouver.\n";
    form = converted.bytes;
    searchable = converted.missingChar.empty();
}

int prepareSearch(const CliOptions& options, std::string latinText, std::ostream& err,
                  LatinSearch& into)
{
    convertForm(options, err, into.form, into.searchable);
    return unlessMemoryRunsShort(err, loadingWhat(options.latinPath), [&] {
        into.table = WordTable();  // the old table goes before the new one is built
        into.table = WordTable::segment(std::move(latinText));
        return kExitOk;
    });
}

int readTextFile(const std::string& path, std::ostream& err, std::string& text)
{
    TextReadResult read = readText(path);
    if (read.error)
        return reportFileError(err, read.error);
    text = std::move(read.text);
    return kExitOk;
}

int openTextFile(const std::string& path, std::ostream& err, OnePassText& text)
{
    text.open(path);
    return text.error() ? reportFileError(err, text.error()) : kExitOk;
}

int readTexts(const CliOptions& options, std::ostream& err, SearchTexts& texts, bool latin, bool french)
{
    std::string text;
    if (latin) {
        if (const int code = readTextFile(options.latinPath, err, text))
            return code;
        texts.setLatin(std::move(text));
    }
    if (french) {
        text = std::string();
        if (const int code = readTextFile(options.frenchPath, err, text))
            return code;
        texts.setFrench(std::move(text));
    }
    return kExitOk;
}

int readTexts(const CliOptions& options, std::ostream& err, SearchTexts& texts)
{
    return readTexts(options, err, texts, true, !options.frenchPath.empty());
}

int reportFileError(std::ostream& err, const FileError& error)
{
    if (error.kind == FileErrorKind::OutOfMemory)
        return reportMemoryShort(err, loadingWhat(error.path));
    err << kProgram << describeFileError(error) << '\n';
    return kExitFileError;
}

int reportMemoryShort(std::ostream& err, const std::string& what)
{
    err << kProgram << "mémoire insuffisante pour " << what << ".\n";
    return kExitFileError;
}

std::string loadingWhat(const std::string& path)
{
    return "charger le texte « " + sys::escapeInvalidUtf8(path) + " »";
}

std::string searchWhat(const CliOptions& options)
{
    return "la recherche de « " + options.operands.front() + " »";
}

bool writesFile(const CliOptions& options)
{
    return options.outputPath && *options.outputPath != "-";
}

std::string writingWhat(const CliOptions& options)
{
    return writesFile(options) ? "écrire le fichier « " + sys::escapeInvalidUtf8(*options.outputPath) + " »"
                               : std::string("écrire le résultat");
}

int writeTmx(const CliOptions& options, std::ostream& out, std::ostream& err, const WordTable& table,
             const ResultList& results, const std::string* frenchText)
{
    std::string document;
    if (const int code = unlessMemoryRunsShort(err, writingWhat(options), [&] {
            document = tmxDocument(table, results, table.text(), frenchText, QUORVEX_VERSION);
            return kExitOk;
        }))
        return code;
    return writeOutput(
        options, out, err, [&] { return std::uint64_t(document.size()); },
        [&](std::ostream& to) { to.write(document.data(), static_cast<std::streamsize>(document.size())); });
}

int writeOutput(const CliOptions& options, std::ostream& out, std::ostream& err,
                const std::function<std::uint64_t()>& size,
                const std::function<void(std::ostream&)>& write)
{
    if (writesFile(options)) {
        std::uint64_t bytes = 0;
        if (const int code = unlessMemoryRunsShort(err, writingWhat(options), [&] {
                bytes = size();
                return kExitOk;
            }))
            return code;
        bool memoryShort = false;
        FileError e;
        {
            SaveProgress progress(err, *options.outputPath, sys::stderrIsTerminal());
            WriteControl control;
            control.expectedSize = static_cast<std::int64_t>(bytes);
            control.progress = [&](std::uint64_t written) { return progress.update(written, bytes); };
            control.latinPath = options.latinPath;
            control.frenchPath = options.frenchPath;
            e = writeFileReplacing(*options.outputPath, [&](std::ostream& file) {
                try {
                    write(file);
                    return static_cast<bool>(file);
                } catch (const std::bad_alloc&) {
                } catch (const std::length_error&) {
                }
                memoryShort = true;
                return false;
            }, control);
        }
        if (memoryShort)
            return reportMemoryShort(err, writingWhat(options));
        return e ? reportFileError(err, e) : kExitOk;
    }
    if (const int code = unlessMemoryRunsShort(err, writingWhat(options), [&] {
            write(out);
            return kExitOk;
        }))
        return code;
    return finishOutput(out, err);
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
    if (now - m_start < m_after
        || (m_shown && written < total && now - m_last < std::chrono::milliseconds(100)))
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
