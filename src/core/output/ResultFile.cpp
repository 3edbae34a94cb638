#include "output/ResultFile.h"

#include "concordance/GridHeader.h"
#include "output/OutputBuffer.h"
#include "passages/PassageIndex.h"
#include "passages/ReferencePassages.h"

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

    appendHeader(buf, title, date);

    for (std::size_t r = 0; r < grid.rows(); ++r) {
        appendFormColumn(buf, grid.cell(r, 0));
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
    }
    out.write(buf.data(), static_cast<std::streamsize>(buf.size()));
}

void writeResultFile(std::ostream& out, const WordTable& table, const ResultList& results,
                     std::string_view title, std::string_view date, std::string_view latinText,
                     const std::string* frenchText)
{
    const bool withFrench = frenchText && !frenchText->empty();
    std::vector<WordTable::ReferenceId> refs;
    refs.reserve(results.size());
    for (const WordIndex w : results)
        refs.push_back(table.referenceId(w));
    const ReferencePassages latin(latinText, table, refs);
    const ReferencePassages french(withFrench ? std::string_view(*frenchText) : std::string_view(),
                                   table, withFrench ? refs : std::vector<WordTable::ReferenceId>());
    refs = {};

    OutputBuffer buf(out);
    appendHeader(buf.buffer(), title, date);
    appendFormColumn(buf.buffer(), kFormsHeader);
    buf.append(kReferencesHeader);
    buf.append(kCrLf);
    for (const WordIndex w : results) {
        appendFormColumn(buf.buffer(), table.form(w));
        table.appendReference(w, buf.buffer());
        buf.append(kCrLf);
    }

    const auto piece = [&buf](std::string_view p) { buf.append(p); };
    for (const WordIndex w : results) {
        const WordTable::ReferenceId ref = table.referenceId(w);
        buf.append(kRule);
        buf.append(kCrLf);
        latin.forEachPiece(ref, piece);
        buf.append(kCrLf);
        if (withFrench) {
            french.forEachPiece(ref, piece);
            buf.append(kCrLf);
        }
    }
    buf.flush();
}

FileError saveResultFile(const std::string& outputPath, const WordTable& table,
                         const ResultList& results, std::string_view title,
                         std::string_view date, const std::string& latinPath,
                         const std::string& frenchPath)
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
    return writeFileReplacing(outputPath, [&](std::ostream& out) {
        writeResultFile(out, table, results, title, date, latin.text,
                        frenchPath.empty() ? nullptr : &french.text);
        return static_cast<bool>(out);
    });
}

FileError saveResultFile(const std::string& outputPath, const GridModel& grid,
                         std::string_view title, std::string_view date,
                         const std::string& latinPath, const std::string& frenchPath)
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
    return writeFileReplacing(outputPath, [&](std::ostream& out) {
        writeResultFile(out, grid, title, date, latin.text,
                        frenchPath.empty() ? nullptr : &french.text);
        return static_cast<bool>(out);
    });
}

std::string defaultDateText(std::time_t moment)
{
    std::tm local{};
    localtime_r(&moment, &local);
    char buf[32];
    const bool midnight = local.tm_hour == 0 && local.tm_min == 0 && local.tm_sec == 0;
    std::strftime(buf, sizeof buf, midnight ? "%d/%m/%Y" : "%d/%m/%Y %H:%M:%S", &local);
    return buf;
}

} // namespace quorvex
