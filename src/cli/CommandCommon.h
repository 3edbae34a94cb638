#pragma once
// What the commands share with one another: the texts read, the Latin text segmented with the
// typed form beside it, the search sorted as asked, and the French messages for a file that
// fails or an output that cannot be written.

#include "cli/CliOptions.h"
#include "concordance/GridModel.h"
#include "text/TextFile.h"
#include "concordance/WordTable.h"

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>

namespace quorvex {

struct LatinSearch {
    WordTable table;         // keeps the Latin text
    std::string form;        // the form typed, Windows-1252
    bool searchable = true;  // false when the form holds a character the texts cannot hold
};

// Reads the Latin text and converts the form (warning, as the concordance does, when the code
// page lacks one of its characters). Returns kExitOk, or kExitFileError after the message.
int loadLatinSearch(const CliOptions& options, std::ostream& err, LatinSearch& into);

// The same on a Latin text already read.
LatinSearch prepareSearch(const CliOptions& options, std::string latinText, std::ostream& err);

// The search window's search into `grid`, then the "Formes" sort when asked.
void searchSorted(const LatinSearch& search, SortOrder sort, GridModel& grid);

// Reads the Latin text, then the French one when a path is given and `withFrench` holds, both
// before any output so that a bad path leaves nothing half written. Returns kExitOk, or
// kExitFileError after the message.
int readTexts(const CliOptions& options, std::ostream& err, TextReadResult& latin,
              TextReadResult& french, bool withFrench = true);

// Prints the French sentence of `error` and returns kExitFileError.
int reportFileError(std::ostream& err, const FileError& error);

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
