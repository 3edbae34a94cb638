#include "cli/TranslationsCommand.h"

#include "cli/CommandCommon.h"
#include "cli/ReaderSearch.h"
#include "output/EquivalentsTable.h"
#include "text/Cp1252.h"
#include "translation/Equivalents.h"
#include "translation/FunctionWords.h"

namespace quorvex {

int openFrenchLemmas(const CliOptions& options, std::ostream& err, FrenchLemmaSource& into)
{
    const bool named = options.dictionaryPath.has_value();
    const std::string path = named ? *options.dictionaryPath : std::string(kDefaultFrenchDictionary);
    OpenedStemmer opened = openHunspellStemmer(path);
    switch (opened.status) {
    case DictionaryStatus::Opened:
        into.stemmer = std::move(opened.stemmer);
        break;
    case DictionaryStatus::NotBuiltIn:
        err << "quorvex-cli : ce programme est construit sans Hunspell : chaque mot français "
               "compte pour lui-même, en minuscules.\n";
        break;
    case DictionaryStatus::Missing:
        if (named)
            return reportFileError(err, opened.error);
        err << "quorvex-cli : dictionnaire français introuvable (" << path
            << ", paquet hunspell-fr) : chaque mot français compte pour lui-même, en minuscules.\n";
        break;
    }
    into.lemmas = std::make_unique<FrenchLemmas>(into.stemmer.get());
    return kExitOk;
}

bool withFunctionWords(const CliOptions& options, std::string_view cp1252Query)
{
    return options.allWords || isLatinFunctionLemma(cp1252Query);
}

int runTranslationsCommand(const CliOptions& options, std::ostream& out, std::ostream& err)
{
    ReaderSearch search;
    if (const int code = loadReaderSearch(options, err, search))
        return code;
    FrenchLemmaSource& french = search.french;
    // A form the texts cannot hold left the search before the dictionary was opened.
    if (!french.lemmas) {
        if (const int code = openFrenchLemmas(options, err, french))
            return code;
    }

    ResultList hits;
    hits.reserve(search.attestations.size());
    for (const Span& s : search.attestations)
        hits.push_back(static_cast<WordIndex>(s.first));
    const Equivalents equivalents = findEquivalents(search.table, hits, search.otherText,
                                                    *french.lemmas,
                                                    withFunctionWords(options, search.form));
    if (!equivalents.missingInFrench().empty()) {
        std::string refs;
        for (const WordTable::ReferenceId id : equivalents.missingInFrench()) {
            if (!refs.empty())
                refs += ", ";
            search.table.appendReferenceText(id, refs);
        }
        err << "quorvex-cli : " << equivalents.missingInFrench().size()
            << " référence(s) de la recherche sans passage français, comptée(s) nulle part : "
            << cp1252ToUtf8(refs) << "\n";
    }

    const std::string table = equivalentsTable(options.format.value_or(ExportFormat::Tsv),
                                               equivalents, *french.lemmas, options.top);
    return writeOutput(
        options, out, err, [&] { return std::uint64_t(table.size()); },
        [&](std::ostream& to) { to.write(table.data(), static_cast<std::streamsize>(table.size())); });
}

} // namespace quorvex
