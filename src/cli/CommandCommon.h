#pragma once
// What the commands share with one another: the texts read, the Latin text segmented with the
// typed form beside it, and the French messages for a file that
// fails, an output that cannot be written, or memory that runs short.

#include "cli/CliOptions.h"
#include "concordance/WordTable.h"
#include "text/TextFile.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <new>
#include <ostream>
#include <stdexcept>
#include <string>

namespace quorvex {

class SearchTexts;

struct LatinSearch {
    WordTable table;         // keeps the Latin text
    std::string form;        // the form typed, Windows-1252
    bool searchable = true;  // false when the form holds a character the texts cannot hold
};

// Reads the Latin text, segments it and converts the form (warning, as the concordance does,
// when the code page lacks one of its characters). Returns kExitOk, or kExitFileError after
// the message.
int loadLatinSearch(const CliOptions& options, std::ostream& err, LatinSearch& into);

// The typed form in Windows-1252, with the warning when the code page lacks one of its
// characters (then `searchable` is false).
void convertForm(const CliOptions& options, std::ostream& err, std::string& form, bool& searchable);

// The same on a Latin text already read.
int prepareSearch(const CliOptions& options, std::string latinText, std::ostream& err,
                  LatinSearch& into);

// "mémoire insuffisante pour <what>." Returns kExitFileError.
int reportMemoryShort(std::ostream& err, const std::string& what);

// Runs `work` (returning an exit code); an allocation failure inside it ends with "mémoire
// insuffisante pour <what>." and kExitFileError instead of an abort. `what` is UTF-8.
template <typename Work>
int unlessMemoryRunsShort(std::ostream& err, const std::string& what, Work&& work)
{
    try {
        return work();
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    return reportMemoryShort(err, what);
}

// Reads the text at `path` into `text`: the one way the commands read a text, so that every
// failure has the same message. Returns kExitOk, or kExitFileError after the message (what
// `text` held stays).
int readTextFile(const std::string& path, std::ostream& err, std::string& text);

// The same for a text read in one pass, mapped where the system allows.
int openTextFile(const std::string& path, std::ostream& err, OnePassText& text);

// Reads the Latin text when `latin` holds, then the French one when `french` holds, both
// before any output so that a bad path leaves nothing half written. Returns kExitOk, or
// kExitFileError after the message.
int readTexts(const CliOptions& options, std::ostream& err, SearchTexts& texts, bool latin, bool french);
// Both texts, the French one when a path is given.
int readTexts(const CliOptions& options, std::ostream& err, SearchTexts& texts);

// Prints the French sentence of `error` and returns kExitFileError. A text that fails to
// load for want of memory (the reader says "too large" for both) gets the memory message.
int reportFileError(std::ostream& err, const FileError& error);

// Whether --output names a file: "-", as everywhere, is standard output.
bool writesFile(const CliOptions& options);

// What the messages call the texts, the search and the output (UTF-8).
std::string loadingWhat(const std::string& path);
std::string searchWhat(const CliOptions& options);
std::string writingWhat(const CliOptions& options);

// Writes a command's output with `write`: to the --output file through a safe replacement,
// its size first (`size`, the bytes `write` gives) so that a file its disk cannot hold is
// refused before a byte is written, with the progress on a terminal; else to `out`. Memory
// that runs short, a failed file or a failed standard output end with their message.
int writeOutput(const CliOptions& options, std::ostream& out, std::ostream& err,
                const std::function<std::uint64_t()>& size,
                const std::function<void(std::ostream&)>& write);

// The list as a TMX translation memory, written as writeOutput writes.
int writeTmx(const CliOptions& options, std::ostream& out, std::ostream& err, const WordTable& table,
             const ResultList& results, const std::string* frenchText);

// Flushes `out`; kExitOk, or kExitFileError with a message when writing failed (a full disk).
int finishOutput(std::ostream& out, std::ostream& err);

// The progress of a save on standard error: nothing for a save that ends within `after`, then
// one line redrawn ("\r") as the bytes go out, ended when the object goes. Only when
// `terminal` holds: a redirected standard error gets no progress.
class SaveProgress {
public:
    SaveProgress(std::ostream& err, std::string path, bool terminal,
                 std::chrono::milliseconds after = std::chrono::seconds(1));
    ~SaveProgress();
    SaveProgress(const SaveProgress&) = delete;
    SaveProgress& operator=(const SaveProgress&) = delete;
    bool update(std::uint64_t written, std::uint64_t total);

private:
    std::ostream& m_err;
    std::string m_path;
    bool m_terminal;
    std::chrono::steady_clock::time_point m_start, m_last;
    std::chrono::milliseconds m_after;
    bool m_shown = false;
};

} // namespace quorvex
