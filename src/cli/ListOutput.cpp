#include "cli/CommandCommon.h"
#include "cli/LemmaSearch.h"
#include "cli/SearchRun.h"
#include "output/OutputBuffer.h"
#include "text/Cp1252.h"

namespace quorvex {

// "form<TAB>reference" per attestation, UTF-8.
int writeList(const SearchRun& run, std::ostream& out, std::ostream& err)
{
    if (const int code = unlessMemoryRunsShort(err, writingWhat(run.options), [&] {
            OutputBuffer lines(out);
            std::string& buf = lines.buffer();
            std::string form, reference;
            for (const Attestation& a : run.results) {
                buf += cp1252ToUtf8(attestationForm(run.table, a, form));
                buf += '\t';
                reference.clear();
                appendAttestationReference(run.table, a, reference);
                buf += cp1252ToUtf8(reference);
                if (run.lemmata) {
                    buf += '\t';
                    buf += lemmataColumn(*run.lexicon, *run.lemmata, a.first);
                }
                if (run.options.equivalents) {
                    buf += '\t';
                    buf += run.rendering(reference);
                }
                buf += '\n';
                lines.flushIfFull();
            }
            lines.flush();
            return kExitOk;
        }))
        return code;
    return finishOutput(out, err);
}

} // namespace quorvex
