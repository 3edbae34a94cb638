#include "translation/SentenceAlignment.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace quorvex {

namespace {

struct BeadKind {
    std::uint8_t latin, french;
    double cost;  // -log of its prior
};

// Gale and Church's priors, each category shared equally by its two kinds.
const BeadKind kBeads[] = {
    {1, 1, -std::log(0.89)},       {1, 0, -std::log(0.0099 / 2)}, {0, 1, -std::log(0.0099 / 2)},
    {2, 1, -std::log(0.089 / 2)},  {1, 2, -std::log(0.089 / 2)},  {2, 2, -std::log(0.011)},
};

// -log of the two-sided tail of the standard normal law beyond |z|, read from a table: a
// passage of thousands of sentences asks for it tens of millions of times.
double tailCost(double z)
{
    constexpr int kSteps = 64;       // a table entry every 1/64
    constexpr double kLast = 38.0;   // past it, the law's asymptote
    static const std::vector<double> table = [] {
        std::vector<double> t(static_cast<std::size_t>(kLast * kSteps) + 2);
        for (std::size_t k = 0; k < t.size(); ++k)
            t[k] = -std::log(std::erfc(double(k) / kSteps / std::sqrt(2.0)));
        return t;
    }();
    z = std::fabs(z);
    if (z >= kLast)
        return z * z / 2 + std::log(z * std::sqrt(3.14159265358979323846 / 2));
    const double at = z * kSteps;
    const auto k = static_cast<std::size_t>(at);
    return table[k] + (at - double(k)) * (table[k + 1] - table[k]);
}

// How unlikely a French length is for a Latin length, given the French characters a Latin
// character takes in this passage: the difference follows a normal law whose variance grows
// with the length (6.8 a character, Gale and Church's figure).
double lengthCost(double latin, double french, double ratio)
{
    if (latin == 0 && french == 0)
        return 0;
    const double mean = (latin + french / ratio) / 2;
    return tailCost((ratio * latin - french) / std::sqrt(6.8 * mean));
}

// The least-cost beads within `band` sentences of the diagonal (of the longer side), and how
// near the path came to the band's edge (its largest distance from the diagonal, in the same
// sentences).
std::vector<SentenceBead> beadsWithin(const std::vector<double>& latinBefore, const std::vector<double>& frenchBefore,
                                      double ratio, std::int64_t band, std::int64_t& farthest)
{
    const auto sl = static_cast<std::int64_t>(latinBefore.size() - 1);
    const auto sf = static_cast<std::int64_t>(frenchBefore.size() - 1);
    // Cell (i, j), i Latin and j French sentences paired, lies in the band when
    // |i*sf - j*sl| <= band * max(sl, sf): every row then reaches the next one.
    const std::int64_t longer = std::max(sl, sf);
    std::vector<std::int64_t> lo(static_cast<std::size_t>(sl + 1)), hi(static_cast<std::size_t>(sl + 1));
    std::vector<std::size_t> rowAt(static_cast<std::size_t>(sl + 2), 0);
    for (std::int64_t i = 0; i <= sl; ++i) {
        const std::int64_t below = i * sf - band * longer, above = i * sf + band * longer;
        lo[std::size_t(i)] = below <= 0 ? 0 : (below + sl - 1) / sl;
        hi[std::size_t(i)] = std::min<std::int64_t>(sf, above / sl);
        rowAt[std::size_t(i) + 1] = rowAt[std::size_t(i)] + std::size_t(hi[std::size_t(i)] - lo[std::size_t(i)] + 1);
    }
    const double unreachable = std::numeric_limits<double>::infinity();
    std::vector<float> cost(rowAt.back(), float(unreachable));
    std::vector<std::uint8_t> came(rowAt.back(), 0xFF);
    const auto cell = [&](std::int64_t i, std::int64_t j) -> std::ptrdiff_t {
        if (i < 0 || j < lo[std::size_t(i)] || j > hi[std::size_t(i)])
            return -1;
        return std::ptrdiff_t(rowAt[std::size_t(i)] + std::size_t(j - lo[std::size_t(i)]));
    };
    cost[0] = 0;
    for (std::int64_t i = 0; i <= sl; ++i)
        for (std::int64_t j = lo[std::size_t(i)]; j <= hi[std::size_t(i)]; ++j) {
            const std::ptrdiff_t here = cell(i, j);
            double best = cost[std::size_t(here)];
            for (std::uint8_t k = 0; k < sizeof kBeads / sizeof kBeads[0]; ++k) {
                const BeadKind& b = kBeads[k];
                if (b.latin > i || b.french > j)
                    continue;
                const std::ptrdiff_t from = cell(i - b.latin, j - b.french);
                if (from < 0)
                    continue;
                const double before = double(cost[std::size_t(from)]) + b.cost;
                if (!(before < best))
                    continue;  // the length can only add to it
                const double c = before
                    + lengthCost(latinBefore[std::size_t(i)] - latinBefore[std::size_t(i - b.latin)],
                                 frenchBefore[std::size_t(j)] - frenchBefore[std::size_t(j - b.french)], ratio);
                if (c < best) {
                    best = c;
                    came[std::size_t(here)] = k;
                }
            }
            cost[std::size_t(here)] = float(best);
        }
    std::vector<SentenceBead> beads;
    farthest = 0;
    for (std::int64_t i = sl, j = sf; i > 0 || j > 0;) {
        farthest = std::max(farthest, std::abs(i * sf - j * sl) / longer);
        const BeadKind& b = kBeads[came[std::size_t(cell(i, j))]];
        beads.push_back(SentenceBead{b.latin, b.french});
        i -= b.latin;
        j -= b.french;
    }
    std::reverse(beads.begin(), beads.end());
    return beads;
}

} // namespace

std::vector<SentenceBead> alignSentences(const std::vector<std::uint32_t>& latinLengths,
                                         const std::vector<std::uint32_t>& frenchLengths)
{
    const std::int64_t sl = static_cast<std::int64_t>(latinLengths.size());
    const std::int64_t sf = static_cast<std::int64_t>(frenchLengths.size());
    std::vector<SentenceBead> beads;
    if (sl == 0 || sf == 0) {
        beads.assign(static_cast<std::size_t>(sl + sf), SentenceBead{std::uint8_t(sl ? 1 : 0), std::uint8_t(sf ? 1 : 0)});
        return beads;
    }
    std::vector<double> latinBefore(latinLengths.size() + 1, 0), frenchBefore(frenchLengths.size() + 1, 0);
    for (std::size_t i = 0; i < latinLengths.size(); ++i)
        latinBefore[i + 1] = latinBefore[i] + latinLengths[i];
    for (std::size_t j = 0; j < frenchLengths.size(); ++j)
        frenchBefore[j + 1] = frenchBefore[j] + frenchLengths[j];
    const double ratio = latinBefore.back() > 0 && frenchBefore.back() > 0 ? frenchBefore.back() / latinBefore.back() : 1.0;

    // A narrow band first; a wider one when the path found pressed on its edge (a translation
    // whose sentences run ahead of the Latin ones for a while), as long as the cells stay few.
    constexpr std::int64_t kMostCells = 8'000'000;
    const std::int64_t longer = std::max(sl, sf);
    const std::int64_t widest = std::max<std::int64_t>(20, kMostCells / (2 * longer));
    std::int64_t band = std::min<std::int64_t>(std::clamp<std::int64_t>((sl + sf) / 10, 20, 64), widest);
    for (;;) {
        std::int64_t farthest = 0;
        beads = beadsWithin(latinBefore, frenchBefore, ratio, band, farthest);
        if (4 * farthest < 3 * band || band >= widest || band >= longer)
            return beads;
        band = std::min(4 * band, widest);
    }
}

namespace {

// The sentences of a side: the word count and the length in characters of each (a blank
// after every word).
void sentencesOf(const PassageSide& side, std::vector<std::uint32_t>& words, std::vector<std::uint32_t>& lengths)
{
    std::uint32_t count = 0, length = 0;
    for (std::uint32_t w = 0; w < side.words(); ++w) {
        ++count;
        length += side.wordLetters[w] + 1;
        if (side.endsSentence[w] || w + 1 == side.words()) {
            words.push_back(count);
            lengths.push_back(length);
            count = length = 0;
        }
    }
}

} // namespace

std::vector<PieceEnd> cutPassagePair(const PassageSide& latin, const PassageSide& french,
                                     const PassageCutting& cutting)
{
    const std::uint32_t m = latin.words(), n = french.words();
    if ((m <= cutting.cutAbove && n <= cutting.cutAbove) || m == 0 || n == 0)
        return {PieceEnd{m, n}};

    // Blocks of words that render one another: the beads, or the whole pair when a side is
    // one sentence (nothing to align then).
    std::vector<std::uint32_t> latinWords, latinLengths, frenchWords, frenchLengths;
    sentencesOf(latin, latinWords, latinLengths);
    sentencesOf(french, frenchWords, frenchLengths);
    std::vector<PieceEnd> blocks;
    if (latinWords.size() == 1 || frenchWords.size() == 1) {
        blocks.push_back(PieceEnd{m, n});
    } else {
        std::size_t i = 0, j = 0;
        for (const SentenceBead& b : alignSentences(latinLengths, frenchLengths)) {
            PieceEnd size;
            for (std::uint8_t k = 0; k < b.latin; ++k)
                size.latin += latinWords[i++];
            for (std::uint8_t k = 0; k < b.french; ++k)
                size.french += frenchWords[j++];
            blocks.push_back(size);
        }
    }

    const std::uint32_t piece = std::max<std::uint32_t>(cutting.pieceWords, 1);
    std::vector<PieceEnd> ends;
    PieceEnd done, open;  // words before the open piece, and in it
    const auto close = [&] {
        if (open.latin == 0 && open.french == 0)
            return;
        done.latin += open.latin;
        done.french += open.french;
        ends.push_back(done);
        open = PieceEnd{};
    };
    for (const PieceEnd& block : blocks) {
        if (block.latin > 2 * piece || block.french > 2 * piece) {
            close();
            const std::uint32_t parts = (std::max(block.latin, block.french) + piece - 1) / piece;
            for (std::uint32_t k = 1; k <= parts; ++k)
                ends.push_back(PieceEnd{done.latin + static_cast<std::uint32_t>(std::uint64_t(block.latin) * k / parts),
                                        done.french + static_cast<std::uint32_t>(std::uint64_t(block.french) * k / parts)});
            done = ends.back();
            continue;
        }
        if (open.latin + block.latin > piece || open.french + block.french > piece)
            close();
        open.latin += block.latin;
        open.french += block.french;
    }
    close();

    // A piece without words on a side joins the one before it (the first, the one after it).
    std::vector<PieceEnd> kept;
    std::uint32_t latinBefore = 0, frenchBefore = 0;
    for (const PieceEnd& end : ends) {
        const bool oneSided = end.latin == latinBefore || end.french == frenchBefore;
        if (oneSided && !kept.empty())
            kept.back() = end;
        else if (!oneSided)
            kept.push_back(end);
        latinBefore = end.latin;
        frenchBefore = end.french;
    }
    // One-sided pieces from the start on have been dropped: the next piece took their words.
    if (kept.empty())
        kept.push_back(PieceEnd{m, n});
    return kept;
}

} // namespace quorvex
