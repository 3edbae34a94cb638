#include "cli/CommandCommon.h"
#include "cli/LemmaSearch.h"
#include "cli/SearchRun.h"
#include "output/ExportFormats.h"

#include <unordered_map>

namespace quorvex {

int writeExport(const SearchRun& run, std::ostream& out, std::ostream& err)
{
    const CliOptions& o = run.options;
    if (o.format == ExportFormat::Tmx)
        return writeTmx(o, out, err, run.table(), run.results(), run.other());
    std::string picture;
    if (o.plotPath) {
        picture = plotSvg(run);
        if (const int code = writePlotFile(run, picture, out, err))
            return code;
    }
    ExportHeading heading{o.title, run.form(), picture, o.search.frenchSide, run.letters()};
    std::unordered_map<std::string, std::string> lemmataByForm;
    if (run.lemmata()) {
        // A form's lemmata depend on its spelling only: one column text per form.
        for (const Attestation& a : run.results()) {
            auto [it, added] = lemmataByForm.try_emplace(std::string(run.table().form(a.first)));
            if (added)
                it->second = lemmataColumn(*run.lexicon, *run.lemmata(), a.first);
        }
        heading.byLemma = true;
        heading.lemmata = [&lemmataByForm](std::string_view form) {
            const auto it = lemmataByForm.find(std::string(form));
            return it == lemmataByForm.end() ? std::string() : it->second;
        };
    }
    if (o.equivalents)
        heading.equivalents = [&run](const Attestation& hit) { return run.rendering(hit); };
    const ExportFormat format = o.format.value_or(ExportFormat::Tsv);
    return writeOutput(
        o, out, err,
        [&] { return attestationExportSize(format, run.table(), run.results(), run.table().text(), run.other(), heading); },
        [&](std::ostream& to) {
            writeAttestationExport(to, format, run.table(), run.results(), run.table().text(), run.other(), heading);
        });
}

} // namespace quorvex
