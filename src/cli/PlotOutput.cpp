#include "cli/CommandCommon.h"
#include "cli/SearchRun.h"
#include "output/DispersionPlot.h"
#include "system/SystemFiles.h"

namespace quorvex {

std::string plotSvg(const SearchRun& run)
{
    return dispersionSvg(dispersionBands(run.table(), run.results()), run.form());
}

int writePlotFile(const SearchRun& run, const std::string& svg, std::ostream& out, std::ostream& err)
{
    const CliOptions& options = run.options;
    if (*options.plotPath == "-") {
        out << svg;
        return finishOutput(out, err);
    }
    WriteControl control;
    control.expectedSize = static_cast<std::int64_t>(svg.size());
    control.latinPath = options.latinPath;
    control.frenchPath = options.frenchPath;
    const FileError e = writeFileReplacing(*options.plotPath, [&svg](std::ostream& file) {
        file << svg;
        return static_cast<bool>(file);
    }, control);
    return e ? reportFileError(err, e) : kExitOk;
}

int writePlot(const SearchRun& run, std::ostream& out, std::ostream& err)
{
    return writePlotFile(run, plotSvg(run), out, err);
}

} // namespace quorvex
