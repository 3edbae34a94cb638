#include "output/EquivalentsTable.h"

#include <cmath>
#include <initializer_list>

namespace quorvex {

std::string fixedDecimals(double value, int decimals)
{
    long long scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    long long units = std::llround(value * double(scale));
    std::string out;
    if (units < 0) {
        out += '-';
        units = -units;
    }
    out += std::to_string(units / scale);
    if (decimals > 0) {
        std::string fraction = std::to_string(units % scale);
        out += '.';
        out.append(static_cast<std::size_t>(decimals) - fraction.size(), '0');
        out += fraction;
    }
    return out;
}

void appendUtf8Field(std::string& out, ExportFormat format, std::string_view utf8)
{
    if (format == ExportFormat::Csv) {
        if (utf8.find_first_of("\",\r\n") == std::string_view::npos) {
            out += utf8;
            return;
        }
        out += '"';
        for (const char c : utf8) {
            if (c == '"')
                out += '"';
            out += c;
        }
        out += '"';
        return;
    }
    for (const char c : utf8) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
}

std::string equivalentsTable(ExportFormat format, const Equivalents& equivalents,
                             const FrenchLemmas& lemmas, std::size_t top)
{
    const char separator = format == ExportFormat::Csv ? ',' : '\t';
    const char* const end = format == ExportFormat::Csv ? "\r\n" : "\n";
    const bool aligned = equivalents.byAlignment();
    std::string out;
    auto header = [&](std::initializer_list<const char*> names) {
        for (const char* h : names) {
            if (out.size())
                out += separator;
            out += h;
        }
    };
    if (aligned)
        header({"french", "aligned", "share", "passages", "frequency", "log_likelihood", "dice"});
    else
        header({"french", "passages", "share", "frequency", "log_likelihood", "dice"});
    out += end;
    const auto& rows = equivalents.rows();
    for (std::size_t r = 0; r < rows.size() && r < top; ++r) {
        const EquivalentRow& row = rows[r];
        appendUtf8Field(out, format, lemmas.lemmaText(row.lemma));
        out += separator;
        if (aligned) {
            out += std::to_string(row.aligned);
            out += separator;
            out += fixedDecimals(equivalents.hitShare(row.aligned), 1);
            out += separator;
            out += std::to_string(row.a);
        } else {
            out += std::to_string(row.a);
            out += separator;
            out += fixedDecimals(row.share(), 1);
        }
        out += separator;
        out += std::to_string(row.frequency());
        out += separator;
        out += fixedDecimals(row.logLikelihood, 3);
        out += separator;
        out += fixedDecimals(row.dice, 3);
        out += end;
    }
    if (aligned && equivalents.pairedHits() > 0) {
        // The hits the alignment gives no French word, whatever the rows shown; none to count
        // when no hit has a French passage.
        out += kUntranslatedRow;
        out += separator;
        out += std::to_string(equivalents.unrenderedHits());
        out += separator;
        out += fixedDecimals(equivalents.hitShare(equivalents.unrenderedHits()), 1);
        out.append(4, separator);
        out += end;
    }
    return out;
}

} // namespace quorvex
