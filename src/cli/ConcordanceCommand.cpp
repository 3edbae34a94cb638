#include "cli/ConcordanceCommand.h"

#include "cli/CommandCommon.h"
#include "cli/PrintListCommand.h"
#include "output/ResultFile.h"
#include "system/SystemFiles.h"
#include "text/Cp1252.h"

#include <ctime>

namespace quorvex {

namespace {

// "form<TAB>reference" per attestation, UTF-8.
void writeList(std::ostream& out, const WordTable& table, const ResultList& results)
{
    constexpr std::size_t kFlushAt = std::size_t(1) << 20;
    std::string buf;
    std::string cell;
    for (const WordIndex w : results) {
        buf += cp1252ToUtf8(table.form(w));
        buf += '\t';
        cell.clear();
        table.appendReference(w, cell);
        buf += cp1252ToUtf8(cell);
        buf += '\n';
        if (buf.size() >= kFlushAt) {
            out.write(buf.data(), static_cast<std::streamsize>(buf.size()));
            buf.clear();
        }
    }
    out.write(buf.data(), static_cast<std::streamsize>(buf.size()));
}

} // namespace

int runConcordanceCommand(const CliOptions& options, std::ostream& out, std::ostream& err)
{
    // Only the result file takes passages from the French text.
    TextReadResult latin, french;
    if (const int read = readTexts(options, err, latin, french,
                                   options.action == CliAction::ResultFile);
        read != kExitOk)
        return read;

    if (options.action == CliAction::Count) {
        // Counting needs no word table, no list and no order: one pass of the text.
        std::string form;
        bool searchable = true;
        convertForm(options, err, form, searchable);
        out << (searchable ? countForms(latin.text, form) : 0) << '\n';
        return finishOutput(out, err);
    }

    // The table keeps the text: the result file takes its Latin passages there.
    LatinSearch search;
    if (const int code = prepareSearch(options, std::move(latin.text), err, search))
        return code;

    ResultList results;
    if (const int code = searchSorted(search, options, err, results))
        return code;

    switch (options.action) {
    case CliAction::List:
        if (const int code = unlessMemoryRunsShort(err, writingWhat(options), [&] {
                writeList(out, search.table, results);
                return kExitOk;
            }))
            return code;
        return finishOutput(out, err);
    case CliAction::ResultFile: {
        const std::string date = options.date ? *options.date : defaultDateText(std::time(nullptr));
        const std::string* frenchText = options.frenchPath.empty() ? nullptr : &french.text;
        if (options.outputPath) {
            // The texts were read a moment ago: the file is written from them. Its size
            // first, so that a file its disk cannot hold is refused before a byte is written.
            std::uint64_t size = 0;
            if (const int code = unlessMemoryRunsShort(err, writingWhat(options), [&] {
                    size = resultFileSize(search.table, results, options.title, date,
                                          search.table.text(), frenchText);
                    return kExitOk;
                }))
                return code;
            bool memoryShort = false;
            FileError e;
            {
                SaveProgress progress(err, *options.outputPath, sys::stderrIsTerminal());
                WriteControl control;
                control.expectedSize = static_cast<std::int64_t>(size);
                control.progress = [&](std::uint64_t written) { return progress.update(written, size); };
                e = writeFileReplacing(*options.outputPath, [&](std::ostream& file) {
                    try {
                        writeResultFile(file, search.table, results, options.title, date,
                                        search.table.text(), frenchText);
                        return static_cast<bool>(file);
                    } catch (const std::bad_alloc&) {
                    } catch (const std::length_error&) {
                    }
                    memoryShort = true;
                    return false;
                }, control);
            }
            if (memoryShort)
                return reportMemoryShort(err, writingWhat(options));
            return e ? reportFileError(err, e) : kExitOk;
        }
        if (const int code = unlessMemoryRunsShort(err, writingWhat(options), [&] {
                writeResultFile(out, search.table, results, options.title, date,
                                search.table.text(), frenchText);
                return kExitOk;
            }))
            return code;
        return finishOutput(out, err);
    }
    case CliAction::PrintList:
        if (const int code = unlessMemoryRunsShort(err, writingWhat(options), [&] {
                writePrintList(search.table, results, out);
                return kExitOk;
            }))
            return code;
        return finishOutput(out, err);
    case CliAction::Count:
    case CliAction::Help:
    case CliAction::Version:
    case CliAction::Show:
    case CliAction::PrintContext:
    case CliAction::Kwic:
    case CliAction::Export:
    case CliAction::Frequencies:
    case CliAction::Check:
    case CliAction::Collocates:
    case CliAction::Plot:
        break;
    }
    return kExitOk;
}

} // namespace quorvex
