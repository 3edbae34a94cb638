#include "output/ResultFile.h"

#include "output/AttestationRows.h"
#include "output/OutputBuffer.h"
#include "system/SystemFiles.h"

#include <vector>

namespace quorvex {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kRule =
    "--------------------------------------------------------------------------";
static_assert(kRule.size() == 74);
constexpr std::size_t kListColumn = 36;

void appendHeader(std::string& buf, std::string_view title, std::string_view date)
{
    buf += "R\xE9" "f\xE9" "rence(s) : ";
    buf += title;
    buf += kCrLf;
    buf += "Recherche effectu\xE9" "e le : ";
    buf += date;
    buf += kCrLf;
    buf += kRule;
    buf += kCrLf;
    buf += kCrLf;
}

// Fewer than 35 characters: pad so the reference starts in column 37. From 35 on, the
// reference follows directly.
void appendFormColumn(std::string& buf, std::string_view form)
{
    buf += form;
    if (form.size() < kListColumn - 1)
        buf.append(kListColumn - form.size(), ' ');
}

std::uint64_t headerSize(std::string_view title, std::string_view date)
{
    std::string buf;
    appendHeader(buf, title, date);
    return buf.size();
}

std::uint64_t formColumnSize(std::string_view form)
{
    return form.size() < kListColumn - 1 ? kListColumn : form.size();
}

} // namespace

namespace {

template <typename Rows>
void writeRows(std::ostream& out, const Rows& rows, std::string_view title, std::string_view date)
{
    OutputBuffer buf(out);
    appendHeader(buf.buffer(), title, date);
    appendFormColumn(buf.buffer(), rows.headerForm());
    buf.append(rows.headerReference());
    buf.append(kCrLf);
    rows.forEachRow([&](const auto& row) {
        appendFormColumn(buf.buffer(), rows.form(row));
        rows.appendReference(buf.buffer(), row);
        buf.append(kCrLf);
        return true;
    });

    const auto piece = [&buf](std::string_view p) { buf.append(p); };
    bool complete = true;
    rows.forEachRow([&](const auto& row) {
        buf.append(kRule);
        buf.append(kCrLf);
        rows.forEachLatinPiece(row, piece);
        buf.append(kCrLf);
        if (rows.withFrench()) {
            rows.forEachFrenchPiece(row, piece);
            buf.append(kCrLf);
        }
        // Failed or cancelled: the rest would be built for nothing.
        complete = static_cast<bool>(out);
        return complete;
    });
    if (complete)
        buf.flush();
}

// Mirrors writeRows line by line.
template <typename Rows>
std::uint64_t rowsSize(const Rows& rows, std::string_view title, std::string_view date)
{
    std::uint64_t n = headerSize(title, date) + formColumnSize(rows.headerForm())
        + rows.headerReference().size() + kCrLf.size();
    rows.forEachRow([&](const auto& row) {
        n += formColumnSize(rows.form(row)) + rows.referenceLength(row) + kCrLf.size();
        n += kRule.size() + kCrLf.size() + rows.latinLength(row) + kCrLf.size();
        if (rows.withFrench())
            n += rows.frenchLength(row) + kCrLf.size();
        return true;
    });
    return n;
}

} // namespace

ResultFileWriter::ResultFileWriter(const WordTable& table, const ResultList& results,
                                   std::string_view title, std::string_view date,
                                   std::string_view latinText, const std::string* frenchText)
    : m_rows(std::make_unique<AttestationRows>(table, results, latinText, frenchText)),
      m_title(title),
      m_date(date)
{
}

ResultFileWriter::~ResultFileWriter() = default;

std::uint64_t ResultFileWriter::size() const
{
    return rowsSize(*m_rows, m_title, m_date);
}

void ResultFileWriter::write(std::ostream& out) const
{
    writeRows(out, *m_rows, m_title, m_date);
}

void writeResultFile(std::ostream& out, const WordTable& table, const ResultList& results,
                     std::string_view title, std::string_view date, std::string_view latinText,
                     const std::string* frenchText)
{
    ResultFileWriter(table, results, title, date, latinText, frenchText).write(out);
}

std::uint64_t resultFileSize(const WordTable& table, const ResultList& results,
                             std::string_view title, std::string_view date,
                             std::string_view latinText, const std::string* frenchText)
{
    return ResultFileWriter(table, results, title, date, latinText, frenchText).size();
}

FileError saveSizedOutput(const std::string& outputPath, std::uint64_t bytes,
                          const std::function<void(std::ostream&)>& write,
                          const std::string& latinPath, const std::string& frenchPath,
                          const SaveControl& control)
{
    WriteControl writing;
    writing.expectedSize = static_cast<std::int64_t>(bytes);
    writing.latinPath = latinPath;
    writing.frenchPath = frenchPath;
    if (control.progress)
        writing.progress = [&](std::uint64_t written) { return control.progress(written, bytes); };
    // The size question comes after the free-space check, which opening the output makes.
    bool declined = false;
    FileError error = writeFileReplacing(outputPath, [&](std::ostream& out) {
        if (control.confirmSize && !control.confirmSize(bytes)) {
            declined = true;
            return false;
        }
        write(out);
        return static_cast<bool>(out);
    }, writing);
    if (declined)
        error = cancelledWrite(outputPath);
    return error;
}

namespace {

// Reads the texts, sizes the file, then writes it through a safe replacement.
template <typename Size, typename Write>
FileError saveFromPaths(const std::string& outputPath, const std::string& latinPath,
                        const std::string& frenchPath, const SaveControl& control, Size size,
                        Write write)
{
    TextReadResult latin = readText(latinPath);
    if (latin.error)
        return latin.error;
    TextReadResult french;
    if (!frenchPath.empty()) {
        french = readText(frenchPath);
        if (french.error)
            return french.error;
    }
    const std::string* frenchText = frenchPath.empty() ? nullptr : &french.text;
    const std::uint64_t bytes = size(latin.text, frenchText);
    return saveSizedOutput(
        outputPath, bytes, [&](std::ostream& out) { write(out, latin.text, frenchText); }, latinPath,
        frenchPath, control);
}

} // namespace

FileError saveResultFile(const std::string& outputPath, const WordTable& table,
                         const ResultList& results, std::string_view title,
                         std::string_view date, const std::string& latinPath,
                         const std::string& frenchPath)
{
    return saveResultFile(outputPath, table, results, title, date, latinPath, frenchPath,
                          SaveControl{});
}

FileError saveResultFile(const std::string& outputPath, const WordTable& table,
                         const ResultList& results, std::string_view title,
                         std::string_view date, const std::string& latinPath,
                         const std::string& frenchPath, const SaveControl& control)
{
    // The passages found for the size serve the writing too.
    std::unique_ptr<ResultFileWriter> writer;
    return saveFromPaths(
        outputPath, latinPath, frenchPath, control,
        [&](std::string_view latin, const std::string* french) {
            writer = std::make_unique<ResultFileWriter>(table, results, title, date, latin, french);
            return writer->size();
        },
        [&](std::ostream& out, std::string_view, const std::string*) { writer->write(out); });
}

std::string defaultDateText(std::time_t moment)
{
    std::tm local{};
    sys::localTime(moment, local);
    char buf[32];
    const bool midnight = local.tm_hour == 0 && local.tm_min == 0 && local.tm_sec == 0;
    std::strftime(buf, sizeof buf, midnight ? "%d/%m/%Y" : "%d/%m/%Y %H:%M:%S", &local);
    return buf;
}

} // namespace quorvex
