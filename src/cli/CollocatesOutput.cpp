#include "cli/CommandCommon.h"
#include "cli/SearchRun.h"
#include "concordance/Collocates.h"
#include "concordance/FormTally.h"
#include "output/CollocatesTable.h"
#include "text/TextFile.h"

#include <memory>

namespace quorvex {

namespace {

int writeTable(const CliOptions& options, const std::vector<Collocate>& found, bool utf8, std::ostream& out,
               std::ostream& err)
{
    const std::string table = collocatesTable(options.format.value_or(ExportFormat::Tsv), found, utf8);
    out.write(table.data(), static_cast<std::streamsize>(table.size()));
    return finishOutput(out, err);
}

} // namespace

int writeCollocates(const SearchRun& run, std::ostream& out, std::ostream& err)
{
    // By lemma, each form once under its likeliest lemma; else under its folded form.
    const CollocateKeys keys = run.lemmata() ? lemmaKeys(run.table(), *run.lemmata(), *run.lexicon)
                                           : foldedFormKeys(run.table(), run.folding());
    const std::vector<Collocate> found =
        findCollocates(run.table(), run.results(), run.options.collocateWindow, keys);
    return writeTable(run.options, found, keys.utf8, out, err);
}

int writeCollocatesInOnePass(const CliOptions& options, std::ostream& out, std::ostream& err)
{
    OnePassText latin;
    latin.open(options.latinPath);
    if (latin.error())
        return reportFileError(err, latin.error());
    bool searchable = true;
    std::string form;
    convertForm(options, err, form, searchable);
    const Folding folding = options.search.folding();
    // The letters the word table would cut the text with for this folding.
    const LetterSet letters = folding == Folding::Spelling ? LetterSet::Extended : LetterSet::Window;
    std::unique_ptr<FormTally> forms;
    if (const int code = unlessMemoryRunsShort(err, loadingWhat(options.latinPath), [&] {
            forms = std::make_unique<FormTally>(letters, true);
            latin.forEachPiece(letters, [&](std::string_view piece) { forms->add(piece); });
            if (!latin.intact()) {
                // Another program shortened the text while it was read: tallied again as it is now.
                const TextReadResult reread = readText(options.latinPath);
                if (reread.error)
                    return reportFileError(err, reread.error);
                forms = std::make_unique<FormTally>(letters, true);
                forms->add(reread.text);
            }
            return kExitOk;
        }))
        return code;
    std::vector<Collocate> found;
    if (const int code = unlessMemoryRunsShort(err, searchWhat(options), [&] {
            // The node's types, each form matched once.
            std::vector<std::uint8_t> node(forms->typeCount(), 0);
            if (searchable) {
                const WordPattern pattern(form, folding);
                for (FormTally::TypeId t = 0; t < forms->typeCount(); ++t)
                    node[t] = pattern.matches(forms->typeText(t)) ? 1 : 0;
            }
            found = findCollocates(*forms, node, options.collocateWindow, foldedFormKeys(*forms, folding));
            return kExitOk;
        }))
        return code;
    return writeTable(options, found, false, out, err);
}

} // namespace quorvex
