#include "cli/CommandCommon.h"
#include "cli/SearchRun.h"
#include "output/EquivalentsTable.h"
#include "text/Cp1252.h"
#include "translation/Equivalents.h"

namespace quorvex {

// --translations: the French lemmas that render the searched Latin word, ranked by the hits
// aligned to them.
int writeTranslations(const SearchRun& run, std::ostream& out, std::ostream& err)
{
    const CliOptions& options = run.options;
    const FrenchLemmaSource& french = run.french;
    const bool allWords = withFunctionWords(options, run.form(), run.lexicon.get());
    // The French text's table, cut when its lemmas were read.
    const std::shared_ptr<const WordTable> frenchWords = run.texts.tableIfCut(true, Folding::Case);
    const Equivalents equivalents =
        frenchWords ? findEquivalents(run.table(), run.results(), *frenchWords, *french.lemmas, allWords,
                                      run.alignment.get())
                    : findEquivalents(run.table(), run.results(), run.otherText(), *french.lemmas, allWords,
                                      run.alignment.get());
    if (!equivalents.missingInFrench().empty()) {
        std::string refs;
        for (const WordTable::ReferenceId id : equivalents.missingInFrench()) {
            if (!refs.empty())
                refs += ", ";
            run.table().appendReferenceText(id, refs);
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
