#pragma once
// The result file: a header, the attestations as a two-column list, then for every attestation
// the passage of its reference in the Latin text and, when there is one, in the French text.
// Windows-1252, CR LF line ends, the passages' bytes as they stand in the texts.

#include "concordance/ResultList.h"
#include "text/TextFile.h"

#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

namespace quorvex {

// The grid's header, then one row per attestation. `latinText` is the text the searched side's
// passages are taken from (usually table.text()); `frenchText` null or empty means no lines
// of the other side. `title` and `date` are Windows-1252 and written as given.
void writeResultFile(std::ostream& out, const WordTable& table, const ResultList& results,
                     std::string_view title, std::string_view date, std::string_view latinText,
                     const std::string* frenchText);

class AttestationRows;

// The result file of `results`, its passages found by one pass over each text, then sized
// and written from them: a save asks both. The table, the results and the texts must outlive
// it; `frenchText` null or empty means no French lines.
class ResultFileWriter {
public:
    ResultFileWriter(const WordTable& table, const ResultList& results, std::string_view title,
                     std::string_view date, std::string_view latinText,
                     const std::string* frenchText);
    ~ResultFileWriter();
    ResultFileWriter(const ResultFileWriter&) = delete;
    ResultFileWriter& operator=(const ResultFileWriter&) = delete;

    // The bytes write() gives.
    std::uint64_t size() const;
    void write(std::ostream& out) const;

private:
    std::unique_ptr<AttestationRows> m_rows;
    std::string m_title;
    std::string m_date;
};

// The number of bytes writeResultFile writes, from the passages' lengths: known before a
// byte is written, so that a save too large for its disk is refused at once.
std::uint64_t resultFileSize(const WordTable& table, const ResultList& results,
                             std::string_view title, std::string_view date,
                             std::string_view latinText, const std::string* frenchText);

// Reads the Latin text (and the French one when `frenchPath` is not empty) and writes the
// result file so that a failure leaves any older file of that name as it was. A read
// failure names the text file, a write failure the output file.
FileError saveResultFile(const std::string& outputPath, const WordTable& table,
                         const ResultList& results, std::string_view title,
                         std::string_view date, const std::string& latinPath,
                         const std::string& frenchPath);

// The same with a progress callback (see WriteControl; the size is computed here) and a last
// word once the size is known and fits: `confirmSize` returning false writes nothing and gives
// a Cancelled error. Either may be empty; without them the first is the save above.
struct SaveControl {
    std::function<bool(std::uint64_t size)> confirmSize;
    std::function<bool(std::uint64_t written, std::uint64_t size)> progress;
};
FileError saveResultFile(const std::string& outputPath, const WordTable& table,
                         const ResultList& results, std::string_view title,
                         std::string_view date, const std::string& latinPath,
                         const std::string& frenchPath, const SaveControl& control);
// Any other output of the list, `size` bytes made by `write`, saved as the result file is:
// through a safe replacement, the size question after the free-space check, the progress as
// it goes. The texts' paths only guard against writing over one of them.
FileError saveSizedOutput(const std::string& outputPath, std::uint64_t size,
                          const std::function<void(std::ostream&)>& write,
                          const std::string& latinPath, const std::string& frenchPath,
                          const SaveControl& control);
// "dd/MM/yyyy HH:mm:ss" in local time, the time left out at exactly midnight.
std::string defaultDateText(std::time_t moment);

} // namespace quorvex
