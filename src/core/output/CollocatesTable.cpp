#include "output/CollocatesTable.h"

#include "output/EquivalentsTable.h"

#include <cstdio>

namespace quorvex {

// The programs never set a locale, so printf's is "C".
std::string collocateScore(double score)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3f", score);
    return buf;
}

std::string collocatesTable(ExportFormat format, const std::vector<Collocate>& collocates, bool utf8Keys)
{
    std::string out;
    appendRecord(out, format, {"collocate", "cooccurrences", "frequency", "mi", "log_likelihood"});
    for (const Collocate& c : collocates) {
        const std::string o = std::to_string(c.cooccurrences);
        const std::string f = std::to_string(c.frequency);
        const std::string mi = collocateScore(c.mi);
        const std::string ll = collocateScore(c.logLikelihood);
        if (utf8Keys) {
            // The numbers are the same bytes in either encoding.
            appendUtf8Field(out, format, c.form);
            out += format == ExportFormat::Csv ? ',' : '\t';
            appendRecord(out, format, {o, f, mi, ll});
        } else {
            appendRecord(out, format, {c.form, o, f, mi, ll});
        }
    }
    return out;
}

} // namespace quorvex
