#include "cli/FrequencyCommand.h"

#include "cli/CommandCommon.h"
#include "text/Cp1252.h"
#include "concordance/FormFrequencies.h"
#include "output/ExportFormats.h"
#include "output/OutputBuffer.h"

#include <string>

namespace quorvex {

namespace {


// "amor 12 / Amor 3 — amor 15"
void appendLine(std::string& buf, const FrequencyGroup& g)
{
    for (std::size_t i = 0; i < g.variants.size(); ++i) {
        if (i > 0)
            buf += " / ";
        buf += cp1252ToUtf8(g.variants[i].form);
        buf += ' ';
        buf += std::to_string(g.variants[i].count);
    }
    buf += " \xE2\x80\x94 ";  // em dash
    buf += cp1252ToUtf8(g.folded);
    buf += ' ';
    buf += std::to_string(g.total);
    buf += '\n';
}

} // namespace

int runFrequencyCommand(const CliOptions& options, std::ostream& out, std::ostream& err)
{
    LatinSearch search;
    if (const int code = loadLatinSearch(options, err, search))
        return code;
    const std::vector<FrequencyGroup> groups = search.searchable
        ? formFrequencies(search.table, FormQuery::parse(search.form))
        : std::vector<FrequencyGroup>();

    OutputBuffer lines(out);
    std::string& buf = lines.buffer();
    if (options.format)
        appendRecord(buf, *options.format, {"forme", "nombre", "forme en minuscules", "total"});
    for (const FrequencyGroup& g : groups) {
        if (options.format) {
            const std::string total = std::to_string(g.total);
            for (const FormCount& v : g.variants)
                appendRecord(buf, *options.format,
                             {v.form, std::to_string(v.count), g.folded, total});
        } else {
            appendLine(buf, g);
        }
        lines.flushIfFull();
    }
    lines.flush();
    return finishOutput(out, err);
}

} // namespace quorvex
