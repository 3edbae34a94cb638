#pragma once
// What the commands share with one another: the texts read, the Latin text segmented with the
// typed form beside it, the search sorted as asked, and the French messages for a file that
// fails, an output that cannot be written, or memory that runs short.

#include "cli/CliOptions.h"
#include "concordance/ResultList.h"
#include "concordance/WordTable.h"
#include "text/TextFile.h"

#include <new>
#include <ostream>
#include <stdexcept>
#include <string>

namespace quorvex {

struct LatinSearch {
    WordTable table;         // keeps the Latin text
    std::string form;        // the form typed, Windows-1252
    bool searchable = true;  // false when the form holds a character the texts cannot hold
};

// Reads the Latin text, segments it and converts the form (warning, as the concordance does,
// when the code page lacks one of its characters). Returns kExitOk, or kExitFileError after
// the message.
int loadLatinSearch(const CliOptions& options, std::ostream& err, LatinSearch& into);

// The same on a Latin text already read.
int prepareSearch(const CliOptions& options, std::string latinText, std::ostream& err,
                  LatinSearch& into);

// The search window's search, then the "Formes" sort when asked (keys up to the reference
// column, where the search leaves the current cell). Returns kExitOk, or kExitFileError after
// the message when memory runs short.
int searchSorted(const LatinSearch& search, const CliOptions& options, std::ostream& err,
                 ResultList& into);

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

// Reads the Latin text, then the French one when a path is given and `withFrench` holds, both
// before any output so that a bad path leaves nothing half written. Returns kExitOk, or
// kExitFileError after the message.
int readTexts(const CliOptions& options, std::ostream& err, TextReadResult& latin,
              TextReadResult& french, bool withFrench = true);

// Prints the French sentence of `error` and returns kExitFileError. A text that fails to
// load for want of memory (the reader says "too large" for both) gets the memory message.
int reportFileError(std::ostream& err, const FileError& error);

// "mémoire insuffisante pour <what>." Returns kExitFileError.

// What the messages call the texts, the search and the output (UTF-8).
std::string loadingWhat(const std::string& path);
std::string searchWhat(const CliOptions& options);
std::string writingWhat(const CliOptions& options);

// Flushes `out`; kExitOk, or kExitFileError with a message when writing failed (a full disk).
int finishOutput(std::ostream& out, std::ostream& err);

} // namespace quorvex
