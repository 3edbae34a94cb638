#include "cli/CommandCommon.h"
#include "cli/LemmaSearch.h"
#include "cli/SearchRun.h"
#include "output/ExportFormats.h"


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
    if (run.lemmata()) {
        heading.byLemma = true;
        heading.lemmata = [&run](const Attestation& hit) { return run.result.lemmataColumn(hit.first); };
        if (o.search.analyses)
            heading.analyses = [&run](const Attestation& hit) { return run.result.analysisColumn(hit.first); };
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
