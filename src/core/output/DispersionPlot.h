#pragma once
// A dispersion picture: where the attestations of a form stand in the text, one band per book
// when the markers are dotted ([12.3.4]: the book is "12"), one band for the whole text
// otherwise, a tick per attestation placed by its word's position among the band's words.

#include "concordance/PhraseQuery.h"
#include "concordance/WordTable.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

struct DispersionBand {
    std::string label;               // Windows-1252; the first part of the markers, "" for the whole text
    std::size_t words = 0;           // the words of the text that fall in the band
    std::vector<std::size_t> ticks;  // per attestation, its first word's position among them
};

// The markers are dotted when some word's reference holds a "."; a word then belongs to the
// band of the last dotted reference before it (a word touching a "[" has a reference cut
// short and stays in the band it was in). Bands in the order their first word stands; a part
// met again later adds to its band.
std::vector<DispersionBand> dispersionBands(const WordTable& table, const ResultList& attestations);

// What the picture writes beside band k: its label (Windows-1252), "texte" for a text in one
// band; and its attestations per 10,000 words, one decimal and a comma.
std::string bandLabel(const std::vector<DispersionBand>& bands, std::size_t k);
std::string bandRate(const DispersionBand& band);

// A standalone SVG picture (UTF-8): the title names the form (Windows-1252) and the total;
// each band has its label on the left, its ticks, and on the right its count and its
// frequency per 10,000 words. Bands have a fixed height, so any number stays legible; the
// picture grows downwards.
std::string dispersionSvg(const std::vector<DispersionBand>& bands, std::string_view form);

// An SVG coordinate, one decimal being finer than a pixel: `v` as printf's "%.1f" writes it.
void appendCoord(std::string& out, double v);

} // namespace quorvex
