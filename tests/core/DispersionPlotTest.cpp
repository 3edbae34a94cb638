// The dispersion picture: bands, ticks, and an SVG that an XML parser accepts.

#include "output/DispersionPlot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace quorvex {
namespace {

// A minimal XML well-formedness check: one root element, tags nested and closed, quoted
// attribute values, entities among the five predefined or numeric ones, no stray "<" or "&".
// Returns "" or what is wrong.
std::string xmlProblem(const std::string& xml)
{
    std::vector<std::string> open;
    bool rootSeen = false;
    std::size_t i = 0;
    const auto nameAt = [&xml](std::size_t& at) {
        const std::size_t from = at;
        while (at < xml.size() && (std::isalnum(static_cast<unsigned char>(xml[at])) || xml[at] == '-'
                                   || xml[at] == ':' || xml[at] == '_' || xml[at] == '.'))
            ++at;
        return xml.substr(from, at - from);
    };
    const auto entityOk = [&xml](std::size_t at) {
        const std::size_t semi = xml.find(';', at);
        if (semi == std::string::npos)
            return false;
        const std::string name = xml.substr(at + 1, semi - at - 1);
        return name == "amp" || name == "lt" || name == "gt" || name == "quot" || name == "apos"
            || (name.size() > 1 && name[0] == '#');
    };
    while (i < xml.size()) {
        const char c = xml[i];
        if (c == '&') {
            if (!entityOk(i))
                return "bad entity at " + std::to_string(i);
            ++i;
            continue;
        }
        if (c != '<') {
            if (open.empty() && !std::isspace(static_cast<unsigned char>(c)))
                return "text outside the root at " + std::to_string(i);
            ++i;
            continue;
        }
        if (xml.compare(i, 4, "<!--") == 0) {
            const std::size_t end = xml.find("-->", i);
            if (end == std::string::npos)
                return "comment not closed";
            i = end + 3;
            continue;
        }
        if (xml.compare(i, 2, "</") == 0) {
            i += 2;
            const std::string name = nameAt(i);
            if (open.empty() || open.back() != name || i >= xml.size() || xml[i] != '>')
                return "bad end tag " + name;
            open.pop_back();
            ++i;
            continue;
        }
        ++i;
        const std::string name = nameAt(i);
        if (name.empty())
            return "stray < at " + std::to_string(i);
        if (open.empty() && rootSeen)
            return "second root " + name;
        rootSeen = true;
        for (;;) {
            while (i < xml.size() && std::isspace(static_cast<unsigned char>(xml[i])))
                ++i;
            if (i >= xml.size())
                return "tag not closed";
            if (xml[i] == '>') {
                open.push_back(name);
                ++i;
                break;
            }
            if (xml.compare(i, 2, "/>") == 0) {
                i += 2;
                break;
            }
            const std::string attr = nameAt(i);
            if (attr.empty() || i + 1 >= xml.size() || xml[i] != '=' || xml[i + 1] != '"')
                return "bad attribute in " + name;
            const std::size_t close = xml.find('"', i + 2);
            if (close == std::string::npos)
                return "attribute not closed";
            const std::string value = xml.substr(i + 2, close - i - 2);
            if (value.find('<') != std::string::npos)
                return "< in attribute";
            for (std::size_t a = value.find('&'); a != std::string::npos; a = value.find('&', a + 1))
                if (!entityOk(i + 2 + a))
                    return "bad entity in attribute";
            i = close + 1;
        }
    }
    if (!open.empty())
        return "element not closed: " + open.back();
    return rootSeen ? "" : "no root";
}

std::size_t countOf(const std::string& s, const std::string& what)
{
    std::size_t n = 0;
    for (std::size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1))
        ++n;
    return n;
}

TEST(XmlCheck, CatchesWhatItMust)
{
    EXPECT_EQ(xmlProblem("<a x=\"1\"><b/>t &amp; &#160;</a>"), "");
    for (const char* bad : {"<a><b></a></b>", "<a>", "<a/><b/>", "<a>&nbsp;</a>", "<a x=1/>",
                            "<a>1 < 2</a>"})
        EXPECT_NE(xmlProblem(bad), "") << bad;
}

struct BandCase {
    const char* name;
    std::string text;
    std::string form;
    // "label words ticks..." per band
    std::vector<std::string> bands;
};

class Dispersion : public ::testing::TestWithParam<BandCase> {};

TEST_P(Dispersion, OneBandPerBookTicksAtTheAttestations)
{
    const BandCase& c = GetParam();
    const WordTable table = WordTable::segment(c.text);
    const ResultList hits = PhraseQuery(c.form, true, Folding::Case).find(table);
    const std::vector<DispersionBand> bands = dispersionBands(table, hits);
    std::vector<std::string> got;
    for (const DispersionBand& b : bands) {
        std::string line = b.label + " " + std::to_string(b.words);
        for (const std::size_t t : b.ticks)
            line += " " + std::to_string(t);
        got.push_back(line);
    }
    EXPECT_EQ(got, c.bands);

    const std::string svg = dispersionSvg(bands, c.form);
    EXPECT_EQ(xmlProblem(svg), "") << svg;
    EXPECT_EQ(svg.rfind("<svg xmlns=\"http://www.w3.org/2000/svg\"", 0), 0u);
    EXPECT_EQ(countOf(svg, "<g class=\"band\">"), bands.size());
    // One "M x y v h" per tick; a band without any draws no path, since an empty one is
    // invalid path data to SVG readers (Qt's warns on standard error).
    EXPECT_EQ(countOf(svg, "v16.0"), hits.size());
    EXPECT_EQ(countOf(svg, "d=\"\""), 0u) << svg;
    const auto withTicks = std::count_if(bands.begin(), bands.end(), [](const DispersionBand& b) { return !b.ticks.empty(); });
    EXPECT_EQ(countOf(svg, "<path class=\"ticks\""), std::size_t(withTicks));
    EXPECT_NE(svg.find(" : " + std::to_string(hits.size()) + " attestation"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Bands, Dispersion,
    ::testing::Values(
        BandCase{"dottedMarkersOneBandPerFirstPart",
                 "[47.1.1] Deus meus\r\n[47.1.2] et Deus\r\n[48.1.1] nihil\r\n[49.1.1] Deus",
                 "deus", {"47 4 0 3", "48 1", "49 1 0"}},
        BandCase{"partMetAgainAddsToItsBand", "[1.1] a deus [2.1] b [1.2] deus", "deus",
                 {"1 3 1 2", "2 1"}},
        BandCase{"wordTouchingABracketStaysInItsBand", "[1.1] a deus[2.1] deus", "deus",
                 {"1 2 1", "2 1 0"}},
        BandCase{"undottedMarkersOneBand", "[1] deus a [2] b deus", "deus", {" 4 0 3"}},
        BandCase{"noMarkers", "a b deus", "deus", {" 3 2"}},
        BandCase{"phraseTickAtItsFirstWord", "[1.1] a deus meus b", "deus meus", {"1 4 1"}},
        BandCase{"emptyText", "", "deus", {" 0"}},
        BandCase{"escapedForm", "[1.1] a", "<&>", {"1 1"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DispersionSvg, HundredBandsDoNotOverlap)
{
    std::vector<DispersionBand> bands(100);
    for (std::size_t k = 0; k < bands.size(); ++k) {
        bands[k].label = std::to_string(k + 1);
        bands[k].words = 1000;
        bands[k].ticks = {k, 999};
    }
    const std::string svg = dispersionSvg(bands, "Deus");
    ASSERT_EQ(xmlProblem(svg), "");
    // Every band label's baseline at least a line (font size 13) below the one above.
    double last = -1e9;
    std::size_t labels = 0;
    for (std::size_t at = svg.find("text-anchor=\"end\">"); at != std::string::npos;
         at = svg.find("text-anchor=\"end\">", at + 1)) {
        const std::size_t y = svg.rfind(" y=\"", at);
        const std::size_t x = svg.rfind(" x=\"", at);
        if (std::stod(svg.substr(x + 4)) > 100)
            continue;  // the right-hand column
        const double value = std::stod(svg.substr(y + 4));
        EXPECT_GE(value - last, 18.0);
        last = value;
        ++labels;
    }
    EXPECT_EQ(labels, 100u);
    EXPECT_NE(svg.find(">20,0</text>"), std::string::npos) << "2 ticks in 1000 words";
}

TEST(DispersionSvg, AFrequentFormsTicksAreCutIntoPathsReadersDrawWhole)
{
    // Qt's SVG reader stops a path at 32,767 segments (two a tick) and drops the rest of the
    // band; other readers cap near there too.
    std::vector<DispersionBand> bands(2);
    bands[0] = {"1", 200000, {}};
    for (std::size_t p = 0; p < 40000; ++p)
        bands[0].ticks.push_back(p * 5);
    bands[1] = {"2", 10, {3}};
    const std::string svg = dispersionSvg(bands, "et");
    ASSERT_EQ(xmlProblem(svg), "");
    std::size_t ticks = 0, paths = 0;
    for (std::size_t at = svg.find(" d=\""); at != std::string::npos; at = svg.find(" d=\"", at + 1)) {
        const std::size_t end = svg.find('"', at + 4);
        const std::size_t inPath = static_cast<std::size_t>(std::count(svg.begin() + at, svg.begin() + end, 'M'));
        EXPECT_LE(2 * inPath, 32767u);
        EXPECT_GT(inPath, 0u);
        ticks += inPath;
        ++paths;
    }
    EXPECT_EQ(ticks, 40001u);
    EXPECT_GT(paths, 3u);
    EXPECT_NE(svg.find(">40\xC2\xA0" "000</text>"), std::string::npos) << "the band's count is its whole";
}

TEST(DispersionSvg, CoordinatesWrittenAsPrintfWritesThem)
{
    std::vector<double> values = {0.0, 0.05, 0.15, 0.25, 0.35, 0.45, 1.25, 2.5, 92.45, 999.95,
                                  1e9, 1e12 + 0.05, -0.04, -1.25, 0.049999999, 0.0500001};
    // The tick positions of bands from 1 to 3,000 words, every one.
    for (std::size_t words = 1; words <= 3000; words += 37)
        for (std::size_t p = 0; p < words; ++p)
            values.push_back(92 + 908 * (static_cast<double>(p) + 0.5) / static_cast<double>(words));
    for (const double v : values) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.1f", v);
        std::string got;
        appendCoord(got, v);
        ASSERT_EQ(got, expected) << v;
    }
}

TEST(Dispersion, TicksFollowTheListOrderWhenItIsNotTheTextOrder)
{
    const WordTable table = WordTable::segment("[1.1] b a [2.1] a c b [1.2] a b");
    // Words: b a | a c b | a b, the bands 1 2 1. The "b"s then the "a"s, as a list sorted by
    // form gives them.
    const ResultList hits = {{0, 1}, {4, 1}, {6, 1}, {1, 1}, {2, 1}, {5, 1}};
    const std::vector<DispersionBand> bands = dispersionBands(table, hits);
    ASSERT_EQ(bands.size(), 2u);
    EXPECT_EQ(bands[0].words, 4u);
    EXPECT_EQ(bands[0].ticks, (std::vector<std::size_t>{0, 3, 1, 2}));
    EXPECT_EQ(bands[1].words, 3u);
    EXPECT_EQ(bands[1].ticks, (std::vector<std::size_t>{2, 0}));
}

} // namespace
} // namespace quorvex
