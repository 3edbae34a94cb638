#include "output/ResultFile.h"

#include "passages/PassageIndex.h"
#include "system/SystemFiles.h"

#include <vector>

namespace quorvex {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kRule =
    "--------------------------------------------------------------------------";
static_assert(kRule.size() == 74);
constexpr std::size_t kListColumn = 36;
constexpr std::size_t kFlushAt = std::size_t(1) << 20;

// The texts of the grid's column 1 below the header, each once.
std::vector<std::string_view> referencesOf(const GridModel& grid)
{
    std::vector<std::string_view> refs;
    refs.reserve(grid.rows());
    for (std::size_t r = 1; r < grid.rows(); ++r)
        refs.push_back(grid.cell(r, 1));
    return refs;
}

} // namespace

void writeResultFile(std::ostream& out, const GridModel& grid, std::string_view title,
                     std::string_view date, std::string_view latinText,
                     const std::string* frenchText)
{
    const bool withFrench = frenchText && !frenchText->empty();
    const std::vector<std::string_view> refs = referencesOf(grid);
    const PassageIndex latin(latinText, refs);
    const PassageIndex french(withFrench ? std::string_view(*frenchText) : std::string_view(),
                              withFrench ? refs : std::vector<std::string_view>());

    std::string buf;
    buf.reserve(kFlushAt + 4096);
    auto flushIfFull = [&] {
        if (buf.size() >= kFlushAt) {
            out.write(buf.data(), static_cast<std::streamsize>(buf.size()));
            buf.clear();
        }
    };
    // A failed or cancelled output stops the writing instead of building the rest for nothing.

    buf += "R\xE9" "f\xE9" "rence(s) : ";
    buf += title;
    buf += kCrLf;
    buf += "Recherche effectu\xE9" "e le : ";
    buf += date;
    buf += kCrLf;
    buf += kRule;
    buf += kCrLf;
    buf += kCrLf;

    for (std::size_t r = 0; r < grid.rows(); ++r) {
        const std::string& form = grid.cell(r, 0);
        buf += form;
        // Fewer than 35 characters: pad so the reference starts in column 37. From 35 on,
        // the reference follows directly.
        if (form.size() < kListColumn - 1)
            buf.append(kListColumn - form.size(), ' ');
        buf += grid.cell(r, 1);
        buf += kCrLf;
        flushIfFull();
    }

    for (std::size_t r = 1; r < grid.rows(); ++r) {
        const std::string& ref = grid.cell(r, 1);
        buf += kRule;
        buf += kCrLf;
        latin.writePassage(buf, ref);
        buf += kCrLf;
        if (withFrench) {
            french.writePassage(buf, ref);
            buf += kCrLf;
        }
        flushIfFull();
        if (!out)
            return;
    }
    out.write(buf.data(), static_cast<std::streamsize>(buf.size()));
}

std::uint64_t resultFileSize(const GridModel& grid, std::string_view title, std::string_view date,
                             std::string_view latinText, const std::string* frenchText)
{
    // Mirrors writeResultFile line by line.
    const bool withFrench = frenchText && !frenchText->empty();
    const std::vector<std::string_view> refs = referencesOf(grid);
    const PassageIndex latin(latinText, refs);
    const PassageIndex french(withFrench ? std::string_view(*frenchText) : std::string_view(),
                              withFrench ? refs : std::vector<std::string_view>());
    const std::uint64_t crlf = kCrLf.size();
    std::uint64_t n = std::string_view("R\xE9" "f\xE9" "rence(s) : ").size() + title.size() + crlf
        + std::string_view("Recherche effectu\xE9" "e le : ").size() + date.size() + crlf
        + kRule.size() + crlf + crlf;
    for (std::size_t r = 0; r < grid.rows(); ++r) {
        const std::size_t form = grid.cell(r, 0).size();
        n += form + (form < kListColumn - 1 ? kListColumn - form : 0) + grid.cell(r, 1).size() + crlf;
    }
    for (std::size_t r = 1; r < grid.rows(); ++r) {
        const std::string& ref = grid.cell(r, 1);
        n += kRule.size() + crlf + latin.passageLength(ref) + crlf;
        if (withFrench)
            n += french.passageLength(ref) + crlf;
    }
    return n;
}

FileError saveResultFile(const std::string& outputPath, const GridModel& grid,
                         std::string_view title, std::string_view date,
                         const std::string& latinPath, const std::string& frenchPath)
{
    return saveResultFile(outputPath, grid, title, date, latinPath, frenchPath, SaveControl{});
}

FileError saveResultFile(const std::string& outputPath, const GridModel& grid,
                         std::string_view title, std::string_view date,
                         const std::string& latinPath, const std::string& frenchPath,
                         const SaveControl& control)
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
    const std::uint64_t size = resultFileSize(grid, title, date, latin.text, frenchText);
    WriteControl write;
    write.expectedSize = static_cast<std::int64_t>(size);
    if (control.progress)
        write.progress = [&](std::uint64_t written) { return control.progress(written, size); };
    // The size question comes after the free-space check, which the first call makes.
    bool asked = false, declined = false;
    FileError error = writeFileReplacing(outputPath, [&](std::ostream& out) {
        if (control.confirmSize && !asked) {
            asked = true;
            if (!control.confirmSize(size)) {
                declined = true;
                return false;
            }
        }
        writeResultFile(out, grid, title, date, latin.text, frenchText);
        return static_cast<bool>(out);
    }, write);
    if (declined)
        error.kind = FileErrorKind::Cancelled;
    return error;
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
