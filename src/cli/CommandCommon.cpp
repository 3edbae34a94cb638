#include "cli/CommandCommon.h"

#include <filesystem>

namespace quorvex {

namespace {
constexpr const char* kProgram = "quorvex-cli : ";
} // namespace

int loadLatinSearch(const CliOptions& options, std::ostream& err, LatinSearch& into)
{
    TextReadResult latin = readText(options.latinPath);
    if (latin.error)
        return reportFileError(err, latin.error);
    return prepareSearch(options, std::move(latin.text), err, into);
}

int prepareSearch(const CliOptions& options, std::string latinText, std::ostream& err,
                  LatinSearch& into)
{
    const ArgumentConversion form = argumentToCp1252(options.operands.front());
    if (!form.missingChar.empty())
        err << kProgram << "attention : la forme contient le caractère « " << form.missingChar
            << " », absent du codage Windows-1252 des textes ; elle ne peut rien trouver.\n";
    into.form = form.bytes;
    into.searchable = form.missingChar.empty();
    return unlessMemoryRunsShort(err, loadingWhat(options.latinPath), [&] {
        into.table = WordTable();  // the old table goes before the new one is built
        into.table = WordTable::segment(std::move(latinText));
        return kExitOk;
    });
}

int searchSorted(const LatinSearch& search, const CliOptions& options, std::ostream& err,
                 ResultList& into)
{
    return unlessMemoryRunsShort(err, searchWhat(options), [&] {
        into = ResultList();
        if (!search.searchable)
            return kExitOk;
        into = findForms(search.table, search.form);
        if (options.sort == SortOrder::Forms)
            sortResults(search.table, into, SortKeys::FormThenReference);
        return kExitOk;
    });
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
    if (error.kind == FileErrorKind::TooLarge) {
        std::error_code ec;
        const auto size = std::filesystem::file_size(error.path, ec);
        if (!ec && size <= kDefaultMaxTextBytes)
            return reportMemoryShort(err, loadingWhat(error.path));
    }
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
    return "charger le texte « " + path + " »";
}

std::string searchWhat(const CliOptions& options)
{
    return "la recherche de « " + options.operands.front() + " »";
}

std::string writingWhat(const CliOptions& options)
{
    return options.outputPath ? "écrire le fichier « " + *options.outputPath + " »"
                              : std::string("écrire le résultat");
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

} // namespace quorvex
