#include "cli/CommandCommon.h"
#include "cli/LemmaSearch.h"
#include "cli/SearchRun.h"
#include "concordance/PhraseQuery.h"
#include "concordance/WordWalk.h"
#include "output/OutputBuffer.h"
#include "text/Cp1252.h"
#include "text/TextFile.h"

#include <vector>

namespace quorvex {

// "form<TAB>reference" per attestation, UTF-8.
int writeList(const SearchRun& run, std::ostream& out, std::ostream& err)
{
    if (const int code = unlessMemoryRunsShort(err, writingWhat(run.options), [&] {
            OutputBuffer lines(out);
            std::string& buf = lines.buffer();
            std::string form, reference;
            for (const Attestation& a : run.results()) {
                appendCp1252AsUtf8(buf, attestationForm(run.table(), a, form));
                buf += '\t';
                reference.clear();
                appendAttestationReference(run.table(), a, reference);
                appendCp1252AsUtf8(buf, reference);
                if (run.lemmata()) {
                    buf += '\t';
                    buf += run.result.lemmataColumn(a.first);
                }
                if (run.options.search.analyses) {
                    buf += '\t';
                    buf += run.result.analysisColumn(a.first);
                }
                if (run.options.equivalents) {
                    buf += '\t';
                    buf += run.rendering(a);
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

namespace {

// The output held in pieces of a megabyte: it grows without ever being copied again.
class HeldOutput {
public:
    std::string& buffer()
    {
        if (m_pieces.empty() || m_pieces.back().size() >= kPiece) {
            m_pieces.emplace_back();
            m_pieces.back().reserve(kPiece + kPiece / 8);
        }
        return m_pieces.back();
    }
    void clear() { m_pieces.clear(); }
    void writeTo(std::ostream& out) const
    {
        for (const std::string& piece : m_pieces)
            out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
    }

private:
    static constexpr std::size_t kPiece = std::size_t(1) << 20;
    std::vector<std::string> m_pieces;
};

// The lines of the list of `form` in `text`, in text order, as writeList writes them.
void appendListLines(std::string_view text, std::string_view form, HeldOutput& lines)
{
    const WordPattern pattern(form, Folding::Case);
    std::string reference;
    forEachWordWithReference(text, LetterSet::Window,
                             [&](std::size_t offset, std::size_t length, const MarkerReader& key) {
                                 const std::string_view word = text.substr(offset, length);
                                 if (!pattern.matches(word))
                                     return;
                                 std::string& buf = lines.buffer();
                                 appendCp1252AsUtf8(buf, word);
                                 buf += '\t';
                                 reference.clear();
                                 appendKey(text, key.parts(), LetterSet::Window, reference);
                                 appendCp1252AsUtf8(buf, reference);
                                 buf += '\n';
                             });
}

} // namespace

int writeListInOnePass(const CliOptions& options, std::ostream& out, std::ostream& err)
{
    OnePassText latin;
    if (const int code = openTextFile(options.latinPath, err, latin))
        return code;
    std::string form;
    bool searchable = true;
    convertForm(options, err, form, searchable);
    if (!searchable)
        return finishOutput(out, err);
    if (const int code = unlessMemoryRunsShort(err, searchWhat(options), [&] {
            // Held until the pass is over: a text another program shortened meanwhile is
            // read again, and nothing of the first pass has gone out.
            HeldOutput lines;
            appendListLines(latin.bytes(), form, lines);
            if (!latin.intact()) {
                lines.clear();
                std::string again;
                if (const int code = readTextFile(options.latinPath, err, again))
                    return code;
                appendListLines(again, form, lines);
            }
            lines.writeTo(out);
            return kExitOk;
        }))
        return code;
    return finishOutput(out, err);
}

} // namespace quorvex
