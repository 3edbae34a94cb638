// The result file and the exports over any list of words of a random text (not only what a
// search finds: any order, repeats), written through the file writer into a real file: the
// size known in advance is the size written, the file holds what the stream would, and the
// exports are UTF-8.

#include "FuzzInput.h"

#include "concordance/ResultList.h"
#include "concordance/WordTable.h"
#include "output/ExportFormats.h"
#include "output/ResultFile.h"
#include "text/Cp1252.h"
#include "text/TextFile.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <unistd.h>

using namespace quorvex;

namespace {

std::string fileName()
{
    static const std::string name = [] {
        const char* folder = std::getenv("TMPDIR");
        return std::string(folder ? folder : "/tmp") + "/quorvex-fuzz-" + std::to_string(::getpid()) + ".txt";
    }();
    return name;
}

// Writes `bytes` through the safe writer, with its size announced, and reads the file back.
void checkWritten(const std::string& bytes, std::uint64_t announced)
{
    fuzz::check(announced == bytes.size(), "the size known in advance is the size written");
    WriteControl control;
    control.expectedSize = static_cast<std::int64_t>(announced);
    const FileError e = writeFileReplacing(fileName(), [&](std::ostream& out) {
        out << bytes;
        return static_cast<bool>(out);
    }, control);
    fuzz::check(!e, "the writer writes");
    std::ifstream in(fileName(), std::ios::binary);
    fuzz::check(std::string(std::istreambuf_iterator<char>(in), {}) == bytes, "the file holds the bytes");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::FuzzInput in(data, size);
    const std::string title = in.field();
    const std::string french = in.field();
    const std::string picks = in.field();
    const std::string latin = in.rest();
    const WordTable table = WordTable::segment(latin);
    const std::string* frenchText = french.empty() ? nullptr : &french;

    ResultList results;
    if (table.size() > 0)
        for (std::size_t i = 0; i + 1 < picks.size(); i += 2)
            results.push_back(Attestation{static_cast<WordIndex>(
                (static_cast<unsigned char>(picks[i]) * 256u + static_cast<unsigned char>(picks[i + 1]))
                % table.size()), 1});
    if (!picks.empty() && (picks[0] & 1))
        sortResults(table, results, SortKeys::FormThenReference);

    std::ostringstream file;
    writeResultFile(file, table, results, title, "06/12/2026", latin, frenchText);
    checkWritten(file.str(), resultFileSize(table, results, title, "06/12/2026", latin, frenchText));

    for (const ExportFormat format : {ExportFormat::Tsv, ExportFormat::Csv, ExportFormat::Html}) {
        const ExportHeading heading{title, title};
        std::ostringstream out;
        writeAttestationExport(out, format, table, results, latin, frenchText, heading);
        fuzz::check(isValidUtf8(out.str()), "exports are UTF-8");
        checkWritten(out.str(), attestationExportSize(format, table, results, latin, frenchText, heading));
    }
    return 0;
}
