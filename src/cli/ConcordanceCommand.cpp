#include "cli/ConcordanceCommand.h"

#include "cli/CommandCommon.h"
#include "cli/PrintListCommand.h"
#include "output/OutputBuffer.h"
#include "output/ResultFile.h"
#include "text/Cp1252.h"

#include <ctime>
#include <optional>

namespace quorvex {

namespace {

// "form<TAB>reference" per attestation, UTF-8.
void writeList(std::ostream& out, const WordTable& table, const ResultList& results)
{
    OutputBuffer buf(out);
    std::string cell;
    for (const WordIndex w : results) {
        buf.buffer() += cp1252ToUtf8(table.form(w));
        buf.buffer() += '\t';
        cell.clear();
        table.appendReference(w, cell);
        buf.buffer() += cp1252ToUtf8(cell);
        buf.buffer() += '\n';
        buf.flushIfFull();
    }
    buf.flush();
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
        // The texts were read a moment ago: the file is written from them, its passages found
        // once whether it is sized first or not.
        std::optional<ResultFileWriter> writer;
        const auto prepared = [&]() -> const ResultFileWriter& {
            if (!writer)
                writer.emplace(search.table, results, options.title, date, search.table.text(),
                               frenchText);
            return *writer;
        };
        return writeOutput(
            options, out, err, [&] { return prepared().size(); },
            [&](std::ostream& to) { prepared().write(to); });
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
    case CliAction::Translations:
        break;
    }
    return kExitOk;
}

} // namespace quorvex
