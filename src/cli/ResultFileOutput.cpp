#include "cli/CommandCommon.h"
#include "cli/SearchRun.h"
#include "output/ResultFile.h"

#include <ctime>
#include <optional>

namespace quorvex {

int writeResultFileOutput(const SearchRun& run, std::ostream& out, std::ostream& err)
{
    const CliOptions& o = run.options;
    const std::string date = o.date ? *o.date : defaultDateText(std::time(nullptr));
    // The texts were read a moment ago: the file is written from them, its passages found
    // once whether it is sized first or not.
    std::optional<ResultFileWriter> writer;
    const auto prepared = [&]() -> const ResultFileWriter& {
        if (!writer)
            writer.emplace(run.table(), run.results(), o.title, date, run.table().text(), run.other());
        return *writer;
    };
    return writeOutput(
        o, out, err, [&] { return prepared().size(); },
        [&](std::ostream& to) { prepared().write(to); });
}

} // namespace quorvex
