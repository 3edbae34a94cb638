#include "cli/CommandCommon.h"
#include "cli/SearchRun.h"
#include "concordance/Collocates.h"
#include "output/EquivalentsTable.h"
#include "output/ExportFormats.h"
#include "output/OutputBuffer.h"

#include <cstdio>

namespace quorvex {

namespace {

// Three decimals and a point whatever the locale: the program never sets one, so printf's
// is "C".
std::string decimals3(double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3f", v);
    return buf;
}

} // namespace

int writeCollocates(const SearchRun& run, std::ostream& out, std::ostream& err)
{
    // By lemma, each form once under its likeliest lemma; else under its folded form.
    const CollocateKeys keys = run.lemmata ? lemmaKeys(run.table, *run.lemmata, *run.lexicon)
                                           : foldedFormKeys(run.table, run.folding);
    const std::vector<Collocate> found =
        findCollocates(run.table, run.results, run.options.collocateWindow, keys);
    const ExportFormat format = run.options.format.value_or(ExportFormat::Tsv);
    OutputBuffer lines(out);
    std::string& buf = lines.buffer();
    appendRecord(buf, format, {"collocate", "cooccurrences", "frequency", "mi", "log_likelihood"});
    for (const Collocate& c : found) {
        const std::string o = std::to_string(c.cooccurrences);
        const std::string f = std::to_string(c.frequency);
        const std::string mi = decimals3(c.mi);
        const std::string ll = decimals3(c.logLikelihood);
        if (keys.utf8) {
            // The numbers are the same bytes in either encoding.
            appendUtf8Field(buf, format, c.form);
            buf += format == ExportFormat::Csv ? ',' : '\t';
            appendRecord(buf, format, {o, f, mi, ll});
        } else {
            appendRecord(buf, format, {c.form, o, f, mi, ll});
        }
        lines.flushIfFull();
    }
    lines.flush();
    return finishOutput(out, err);
}

} // namespace quorvex
