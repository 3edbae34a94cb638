#include "output/DispersionPlot.h"

#include "output/ExportFormats.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <utility>
#include <unordered_map>

namespace quorvex {

namespace {

// The first part of a dotted reference, or false when it holds no dot (or is cut short).
bool firstPart(std::string_view ref, std::string_view& part)
{
    const std::size_t dot = ref.find('.');
    if (dot == std::string_view::npos)
        return false;
    const std::size_t from = !ref.empty() && ref[0] == '[' ? 1 : 0;
    part = ref.substr(from, dot - from);
    return true;
}

std::string number(double v, int decimals)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    std::string s = buf;
    for (char& c : s)
        if (c == '.')
            c = ',';  // French decimal comma
    return s;
}

// "126 772": French digit groups, a no-break space between them.
std::string grouped(std::size_t n)
{
    std::string digits = std::to_string(n);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += "\xC2\xA0";
        out += digits[i];
    }
    return out;
}

// Tens of thousands of ticks for a frequent form make printf the bulk of the picture, so
// tenths are rounded by hand, and printf is left only the values close to a half tenth,
// where the double's own rounding could decide.
} // namespace

void appendCoord(std::string& out, double v)
{
    const double tenths = v * 10;
    const double below = std::floor(tenths);
    if (v >= 0 && tenths < 1e9 && std::fabs(tenths - below - 0.5) > 1e-6) {
        const auto t = static_cast<unsigned long>(tenths - below < 0.5 ? below : below + 1);
        char buf[24];
        char* p = buf + sizeof buf;
        *--p = static_cast<char>('0' + t % 10);
        *--p = '.';
        unsigned long whole = t / 10;
        do {
            *--p = static_cast<char>('0' + whole % 10);
            whole /= 10;
        } while (whole != 0);
        out.append(p, static_cast<std::size_t>(buf + sizeof buf - p));
        return;
    }
    char buf[64];
    const int n = std::snprintf(buf, sizeof buf, "%.1f", v);
    out.append(buf, static_cast<std::size_t>(n));
}

namespace {

std::string coord(double v)
{
    std::string out;
    appendCoord(out, v);
    return out;
}

std::string escaped(std::string_view cp1252)
{
    std::string out;
    appendField(out, ExportFormat::Html, cp1252);
    return out;
}

} // namespace

std::vector<DispersionBand> dispersionBands(const WordTable& table, const ResultList& attestations)
{
    const std::size_t n = table.size();
    bool dotted = false;
    std::string_view part;
    for (std::size_t id = 0; id < table.referenceCount() && !dotted; ++id) {
        const std::string ref = table.referenceText(static_cast<WordTable::ReferenceId>(id));
        dotted = firstPart(ref, part);
    }

    std::vector<DispersionBand> bands;
    // The attestations' first words in text order (a sorted list comes in another order),
    // each with its place in the list: one walk through the words finds their bands and
    // positions, and the ticks go in in the list's order.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> order(attestations.size());
    for (std::size_t k = 0; k < attestations.size(); ++k)
        order[k] = {attestations[k].first, static_cast<std::uint32_t>(k)};
    if (!std::is_sorted(order.begin(), order.end()))
        std::sort(order.begin(), order.end());
    std::vector<std::pair<std::uint32_t, std::size_t>> placed(attestations.size());  // band, position
    std::size_t next = 0;

    std::unordered_map<std::string, std::size_t> byPart;
    std::size_t current = 0;
    WordTable::ReferenceId lastId = 0;
    std::string ref;
    bool started = false;
    for (std::size_t i = 0; i < n; ++i) {
        const WordTable::ReferenceId id = table.referenceId(i);
        // Consecutive words share a reference: the band can only change where it does.
        if (!started || id != lastId) {
            ref.clear();
            table.appendReferenceText(id, ref);
            if (dotted && firstPart(ref, part)) {
                const auto [it, added] = byPart.emplace(std::string(part), bands.size());
                if (added)
                    bands.push_back(DispersionBand{std::string(part), 0, {}});
                current = it->second;
            } else if (bands.empty()) {
                bands.push_back(DispersionBand{});  // the whole text, or what stands before the first marker
            }
            lastId = id;
            started = true;
        }
        for (; next < order.size() && order[next].first == i; ++next)
            placed[order[next].second] = {static_cast<std::uint32_t>(current), bands[current].words};
        ++bands[current].words;
    }
    if (bands.empty())
        bands.push_back(DispersionBand{});
    for (const auto& [band, position] : placed)
        bands[band].ticks.push_back(position);
    return bands;
}

std::string bandLabel(const std::vector<DispersionBand>& bands, std::size_t k)
{
    return bands[k].label.empty() && bands.size() == 1 ? std::string("texte") : bands[k].label;
}

std::string bandRate(const DispersionBand& band)
{
    const double perTenThousand = band.words == 0
        ? 0.0
        : 10000.0 * static_cast<double>(band.ticks.size()) / static_cast<double>(band.words);
    return number(perTenThousand, 1);
}

std::string dispersionSvg(const std::vector<DispersionBand>& bands, std::string_view form)
{
    constexpr double kWidth = 1200, kLabelRight = 84, kPlotLeft = 92, kPlotRight = 1000;
    constexpr double kCountRight = kPlotRight + 62;
    constexpr double kTop = 84, kBand = 22, kTick = 16, kBottom = 36;
    // Well below the path segment caps of SVG readers (two segments a tick).
    constexpr std::size_t kTicksPerPath = 4096;
    const double height = kTop + kBand * static_cast<double>(bands.size()) + kBottom;
    std::size_t total = 0;
    std::size_t words = 0;
    for (const DispersionBand& b : bands) {
        total += b.ticks.size();
        words += b.words;
    }

    std::string svg;
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + coord(kWidth) + "\" height=\""
        + coord(height) + "\" viewBox=\"0 0 " + coord(kWidth) + " " + coord(height)
        + "\" font-family=\"DejaVu Sans, Arial, sans-serif\" font-size=\"13\">\n";
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
    svg += "<text x=\"" + coord(kPlotLeft) + "\" y=\"30\" font-size=\"20\" font-weight=\"bold\">"
           "R\xC3\xA9partition de \xC2\xAB\xC2\xA0" + escaped(form) + "\xC2\xA0\xC2\xBB : "
        + grouped(total) + " attestation" + (total > 1 ? "s" : "") + " sur " + grouped(words)
        + " mots</text>\n";
    svg += "<text x=\"" + coord(kPlotLeft) + "\" y=\"52\" fill=\"#444444\">"
        + std::string(bands.size() > 1 ? "Une bande par livre (premi\xC3\xA8re partie des r\xC3\xA9"
                                         "f\xC3\xA9rences), dans l\xE2\x80\x99ordre du texte ; "
                                       : "Le texte entier ; ")
        + "un trait par attestation.</text>\n";
    svg += "<text x=\"" + coord(kCountRight) + "\" y=\"" + coord(kTop - 8)
        + "\" fill=\"#444444\" text-anchor=\"end\">nombre</text>\n";
    svg += "<text x=\"" + coord(kWidth - 12) + "\" y=\"" + coord(kTop - 8)
        + "\" fill=\"#444444\" text-anchor=\"end\">pour 10 000 mots</text>\n";

    const double plotWidth = kPlotRight - kPlotLeft;
    for (std::size_t k = 0; k < bands.size(); ++k) {
        const DispersionBand& b = bands[k];
        const double y = kTop + kBand * static_cast<double>(k);
        const double middle = y + kBand / 2 + 4.5;
        svg += "<g class=\"band\">\n";
        svg += "<rect x=\"" + coord(kPlotLeft) + "\" y=\"" + coord(y + 1) + "\" width=\""
            + coord(plotWidth) + "\" height=\"" + coord(kBand - 2) + "\" fill=\""
            + (k % 2 == 0 ? "#eef2f8" : "#f7f9fc") + "\" stroke=\"#c8d0dc\"/>\n";
        svg += "<text x=\"" + coord(kLabelRight) + "\" y=\"" + coord(middle)
            + "\" text-anchor=\"end\">" + escaped(bandLabel(bands, k))
            + "</text>\n";
        // No path for a band without ticks: empty path data is an error to SVG readers. A
        // frequent form's ticks are cut into several paths: readers cap a path's segments
        // (Qt's at 32,767, so beyond 16,383 ticks the rest of the band went undrawn).
        const std::string tickEnd = " " + coord(y + (kBand - kTick) / 2) + "v" + coord(kTick);
        for (std::size_t from = 0; from < b.ticks.size(); from += kTicksPerPath) {
            svg += "<path class=\"ticks\" stroke=\"#b00020\" stroke-width=\"1.2\" d=\"";
            const std::size_t to = std::min(b.ticks.size(), from + kTicksPerPath);
            // Tens of thousands of ticks for a frequent form: formatted in place.
            for (std::size_t t = from; t < to; ++t) {
                svg += 'M';
                appendCoord(svg, kPlotLeft + plotWidth * (static_cast<double>(b.ticks[t]) + 0.5)
                                     / static_cast<double>(b.words));
                svg += tickEnd;
            }
            svg += "\"/>\n";
        }
        svg += "<text x=\"" + coord(kCountRight) + "\" y=\"" + coord(middle)
            + "\" text-anchor=\"end\">" + grouped(b.ticks.size()) + "</text>\n";
        svg += "<text x=\"" + coord(kWidth - 12) + "\" y=\"" + coord(middle)
            + "\" text-anchor=\"end\">" + bandRate(b) + "</text>\n";
        svg += "</g>\n";
    }
    svg += "</svg>\n";
    return svg;
}

} // namespace quorvex
