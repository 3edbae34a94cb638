#include "translation/WordAlignment.h"

#include "system/CacheFolder.h"
#include "system/SideBySide.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

namespace quorvex {

void SentencePairs::add(const std::vector<std::uint32_t>& latinIds, const std::vector<std::uint32_t>& frenchIds)
{
    for (const std::uint32_t id : latinIds) {
        latin.push_back(id);
        latinTypes = std::max(latinTypes, id + 1);
    }
    for (const std::uint32_t id : frenchIds) {
        french.push_back(id);
        frenchTypes = std::max(frenchTypes, id + 1);
    }
    latinStart.push_back(static_cast<std::uint32_t>(latin.size()));
    frenchStart.push_back(static_cast<std::uint32_t>(french.size()));
}

namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFFu;

// Every cell of every trained sentence pair, Latin-major: cell (i, j) of pair k stands for
// the type pair (type of Latin token i, type of French token j). Type pairs are numbered
// Latin type after Latin type, so a Latin type's pairs form one row, and a cell holds the
// pair's place in its row: two bytes while no row can pass 65,536 French types, which halves
// the largest array of the training.
struct CellTable {
    std::vector<std::size_t> start;       // by sentence pair, one more; an untrained pair has none
    std::vector<std::uint16_t> narrow;    // by cell, when rows are short
    std::vector<std::uint32_t> wide;      // by cell, otherwise
    bool isNarrow = true;
    std::vector<std::uint32_t> rowStart;  // by Latin type, one more: its type pairs
    // By type pair, its French type: two bytes too when the cells are.
    std::vector<std::uint16_t> narrowFrench;
    std::vector<std::uint32_t> wideFrench;

    std::uint32_t place(std::size_t cell) const noexcept { return isNarrow ? narrow[cell] : wide[cell]; }
    std::uint32_t frenchOf(std::size_t typePair) const noexcept
    {
        return isNarrow ? narrowFrench[typePair] : wideFrench[typePair];
    }
    std::size_t typePairs() const noexcept { return isNarrow ? narrowFrench.size() : wideFrench.size(); }
    std::size_t size() const noexcept { return start.back(); }
};

struct PairShape {
    std::uint32_t latinFirst, frenchFirst, m, n;  // m Latin words, n French words
};

PairShape shapeOf(const SentencePairs& pairs, std::size_t k)
{
    return {pairs.latinStart[k], pairs.frenchStart[k], pairs.latinStart[k + 1] - pairs.latinStart[k],
            pairs.frenchStart[k + 1] - pairs.frenchStart[k]};
}

bool trained(const PairShape& s, const AlignmentSettings& settings)
{
    return s.m > 0 && s.n > 0 && s.m <= settings.longestSide && s.n <= settings.longestSide;
}

CellTable buildCells(const SentencePairs& pairs, const AlignmentSettings& settings)
{
    CellTable t;
    const std::size_t count = pairs.size();
    t.start.assign(count + 1, 0);
    // The trained Latin tokens by type, each with its pair, so that one Latin type's pairs
    // are numbered together.
    std::vector<std::uint32_t> byTypeStart(std::size_t(pairs.latinTypes) + 1, 0);
    for (std::size_t k = 0; k < count; ++k) {
        const PairShape s = shapeOf(pairs, k);
        const bool used = trained(s, settings);
        t.start[k + 1] = t.start[k] + (used ? std::size_t(s.m) * s.n : 0);
        if (used)
            for (std::uint32_t i = 0; i < s.m; ++i)
                ++byTypeStart[pairs.latin[s.latinFirst + i] + 1];
    }
    for (std::size_t e = 0; e < pairs.latinTypes; ++e)
        byTypeStart[e + 1] += byTypeStart[e];
    std::vector<std::uint32_t> tokens(byTypeStart.back()), pairOfToken(byTypeStart.back());
    {
        std::vector<std::uint32_t> next(byTypeStart.begin(), byTypeStart.end() - 1);
        for (std::size_t k = 0; k < count; ++k) {
            const PairShape s = shapeOf(pairs, k);
            if (!trained(s, settings))
                continue;
            for (std::uint32_t i = 0; i < s.m; ++i) {
                const std::uint32_t slot = next[pairs.latin[s.latinFirst + i]]++;
                tokens[slot] = s.latinFirst + i;
                pairOfToken[slot] = static_cast<std::uint32_t>(k);
            }
        }
    }

    t.isNarrow = pairs.frenchTypes <= 0x10000u;
    if (t.isNarrow)
        t.narrow.resize(t.size());
    else
        t.wide.resize(t.size());
    t.rowStart.assign(std::size_t(pairs.latinTypes) + 1, 0);
    std::vector<std::uint32_t> stamp(pairs.frenchTypes, kNone), place(pairs.frenchTypes, 0);
    std::uint32_t typePairs = 0;
    for (std::uint32_t e = 0; e < pairs.latinTypes; ++e) {
        std::uint32_t rowLength = 0;
        for (std::uint32_t o = byTypeStart[e]; o < byTypeStart[e + 1]; ++o) {
            const std::size_t k = pairOfToken[o];
            const PairShape s = shapeOf(pairs, k);
            const std::size_t row = t.start[k] + std::size_t(tokens[o] - s.latinFirst) * s.n;
            for (std::uint32_t j = 0; j < s.n; ++j) {
                const std::uint32_t f = pairs.french[s.frenchFirst + j];
                if (stamp[f] != e) {
                    stamp[f] = e;
                    place[f] = rowLength++;
                    if (t.isNarrow)
                        t.narrowFrench.push_back(static_cast<std::uint16_t>(f));
                    else
                        t.wideFrench.push_back(f);
                }
                if (t.isNarrow)
                    t.narrow[row + j] = static_cast<std::uint16_t>(place[f]);
                else
                    t.wide[row + j] = place[f];
            }
        }
        typePairs += rowLength;
        t.rowStart[e + 1] = typePairs;
    }
    // Grown by doubling: the spare quarter would stay through the training.
    t.narrowFrench.shrink_to_fit();
    t.wideFrench.shrink_to_fit();
    return t;
}

// The diagonal prior of one sentence pair: the weight of source position s for target
// position t is exp(-tension * |(s+1)/m - (t+1)/n|), made of two precomputed factors so
// that a cell costs one product.
class DiagonalPrior {
public:
    void reset(std::uint32_t sources, std::uint32_t targets, double tension)
    {
        m_tension = tension;
        m_targets = targets;
        m_up.resize(sources);
        m_down.resize(sources);
        m_position.resize(sources);
        for (std::uint32_t s = 0; s < sources; ++s) {
            m_position[s] = double(s + 1) / double(sources);
            m_up[s] = std::exp(tension * m_position[s]);
            m_down[s] = std::exp(-tension * m_position[s]);
        }
    }
    // Fills weights[s] for target position t (unnormalised) and returns their sum.
    double weights(std::uint32_t t, std::vector<double>& weights) const
    {
        const double b = double(t + 1) / double(m_targets);
        const double up = std::exp(m_tension * b), down = std::exp(-m_tension * b);
        double sum = 0;
        weights.resize(m_up.size());
        for (std::size_t s = 0; s < m_up.size(); ++s) {
            weights[s] = m_position[s] <= b ? m_up[s] * down : m_down[s] * up;
            sum += weights[s];
        }
        return sum;
    }

private:
    double m_tension = 0;
    std::uint32_t m_targets = 1;
    std::vector<double> m_up, m_down, m_position;
};

// By type pair: the target's probability given the source, and its expected count this round,
// side by side since each cell reads one and adds to the other. Once trained, the
// probabilities are packed into the first half of the same block, which is given back: a new
// array would stand beside the other direction's, still training, at the peak.
class TypePairTable {
public:
    struct Entry {
        float prob;
        float count;
    };

    explicit TypePairTable(std::size_t size)
        : m_block(std::calloc(std::max<std::size_t>(size, 1), sizeof(Entry))), m_size(size)
    {
        if (!m_block)
            throw std::bad_alloc();
    }
    TypePairTable(const TypePairTable&) = delete;
    TypePairTable& operator=(const TypePairTable&) = delete;
    ~TypePairTable() { std::free(m_block); }

    std::size_t size() const noexcept { return m_size; }
    // While training.
    Entry& operator[](std::size_t typePair) noexcept { return static_cast<Entry*>(m_block)[typePair]; }
    float probability(std::size_t typePair) const noexcept
    {
        return m_packed ? static_cast<const float*>(m_block)[typePair]
                        : static_cast<const Entry*>(m_block)[typePair].prob;
    }
    void keepProbabilitiesOnly()
    {
        // Float p lands at byte 4p, in an entry already read (entry p starts at byte 8p).
        const Entry* entries = static_cast<const Entry*>(m_block);
        float* probabilities = static_cast<float*>(m_block);
        for (std::size_t p = 0; p < m_size; ++p) {
            const float value = entries[p].prob;
            probabilities[p] = value;
        }
        if (void* shrunk = std::realloc(m_block, std::max<std::size_t>(m_size, 1) * sizeof(float)))
            m_block = shrunk;
        m_packed = true;
    }

private:
    void* m_block = nullptr;
    std::size_t m_size = 0;
    bool m_packed = false;
};

// The training's progress, told by the thread that started it; the other thread only looks
// whether it was told to stop. Both look every so many pairs.
class Stopper {
public:
    static constexpr std::size_t kPairsBetweenLooks = 1024;

    Stopper(const AlignmentProgress& progress, std::uint64_t total) : m_progress(progress), m_total(total) {}

    // On the thread that started the training.
    void tell(std::uint64_t done)
    {
        if (m_progress && !m_progress(done, m_total))
            m_stopped.store(true, std::memory_order_relaxed);
        look();
    }
    // On either thread.
    void look() const
    {
        if (m_stopped.load(std::memory_order_relaxed))
            throw AlignmentStopped();
    }
    // Whichever thread fails first stops the other.
    void stop() { m_stopped.store(true, std::memory_order_relaxed); }

private:
    const AlignmentProgress& m_progress;
    std::uint64_t m_total;
    std::atomic<bool> m_stopped{false};
};

// Where a thread stands in the steps of the training (one a pair): it tells them, or only
// looks, every so many steps.
struct StepsOf {
    Stopper& stopper;
    bool tells;
    std::uint64_t first;  // the step its work starts at

    void at(std::uint64_t step) const
    {
        if (step % Stopper::kPairsBetweenLooks != 0)
            return;
        if (tells)
            stopper.tell(first + step);
        else
            stopper.look();
    }
};

// What one thread needs to read a pair's posteriors: the pair's diagonal prior and its Latin
// words' rows of type pairs, made once for the pair.
struct PairScratch {
    DiagonalPrior prior;
    std::size_t pair = kNone;
    std::vector<std::uint32_t> latinRows;  // by Latin token of the pair
    std::vector<std::uint32_t> ids;        // by source: its type pair
};

// One direction of the model: target words drawn from source words (or from the empty word).
// Direction 0 draws French from Latin, direction 1 Latin from French.
class DirectionModel {
public:
    DirectionModel(const SentencePairs& pairs, const CellTable& cells, const AlignmentSettings& settings,
                   int direction)
        : m_pairs(pairs), m_cells(cells), m_settings(settings), m_frenchFromLatin(direction == 0),
          m_table(cells.typePairs())
    {
        const std::size_t typePairs = m_table.size();
        const std::uint32_t targetTypes = m_frenchFromLatin ? pairs.frenchTypes : pairs.latinTypes;
        m_emptyProb.assign(targetTypes, targetTypes ? float(1.0 / targetTypes) : 0.0f);
        m_emptyCount.resize(targetTypes);
        // Uniform over the targets each source meets.
        if (m_frenchFromLatin) {
            for (std::size_t e = 0; e + 1 < cells.rowStart.size(); ++e) {
                const std::uint32_t a = cells.rowStart[e], b = cells.rowStart[e + 1];
                for (std::uint32_t p = a; p < b; ++p)
                    m_table[p].prob = float(1.0 / (b - a));
            }
        } else {
            std::vector<std::uint32_t> met(pairs.frenchTypes, 0);
            for (std::size_t p = 0; p < typePairs; ++p)
                ++met[cells.frenchOf(p)];
            for (std::size_t p = 0; p < typePairs; ++p)
                m_table[p].prob = float(1.0 / met[cells.frenchOf(p)]);
        }
    }

    // Steps: one a pair a round.
    static std::uint64_t steps(const SentencePairs& pairs, const AlignmentSettings& settings)
    {
        return std::uint64_t(pairs.size()) * std::uint64_t(std::max(0, settings.model1Rounds)
                                                           + std::max(0, settings.diagonalRounds));
    }

    void train(const StepsOf& steps)
    {
        const std::uint64_t pairs = m_pairs.size();
        std::uint64_t done = 0;
        for (int r = 0; r < m_settings.model1Rounds; ++r, done += pairs)
            m_cells.isNarrow ? round(false, m_cells.narrow.data(), steps, done)
                             : round(false, m_cells.wide.data(), steps, done);
        for (int r = 0; r < m_settings.diagonalRounds; ++r, done += pairs)
            m_cells.isNarrow ? round(true, m_cells.narrow.data(), steps, done)
                             : round(true, m_cells.wide.data(), steps, done);
        // The counts are of no more use: the probabilities alone stay while the links are chosen.
        m_table.keepProbabilitiesOnly();
        std::vector<double>().swap(m_emptyCount);
    }

    // Readies `scratch` for pair k: its Latin words' rows, and its prior when `diagonal`.
    void enterPair(std::size_t k, const PairShape& s, bool diagonal, PairScratch& scratch) const
    {
        if (scratch.pair == k)
            return;
        scratch.pair = k;
        scratch.latinRows.resize(s.m);
        const std::uint32_t* latinTypes = m_pairs.latin.data() + s.latinFirst;
        for (std::uint32_t i = 0; i < s.m; ++i)
            scratch.latinRows[i] = m_cells.rowStart[latinTypes[i]];
        if (diagonal)
            scratch.prior.reset(m_frenchFromLatin ? s.m : s.n, m_frenchFromLatin ? s.n : s.m,
                                m_settings.diagonalTension);
    }

    // The posterior of each source of target position t in pair k (empty word last), into
    // `post`, and the best source, or kNone for the empty word. Reads the trained model only:
    // threads may call it at once, each with its own scratch.
    std::uint32_t posterior(std::size_t k, std::uint32_t t, std::vector<double>& post, PairScratch& scratch) const
    {
        const PairShape s = shapeOf(m_pairs, k);
        const std::uint32_t sources = m_frenchFromLatin ? s.m : s.n;
        const bool diagonal = m_settings.diagonalRounds > 0;
        enterPair(k, s, diagonal, scratch);
        const double z = m_cells.isNarrow ? scores(m_cells.narrow.data(), k, s, t, diagonal, scratch, post)
                                          : scores(m_cells.wide.data(), k, s, t, diagonal, scratch, post);
        for (double& p : post)
            p /= z;
        std::uint32_t best = kNone;
        double bestScore = post[sources];
        for (std::uint32_t src = 0; src < sources; ++src)
            if (post[src] > bestScore) {
                bestScore = post[src];
                best = src;
            }
        return best;
    }

    // The translation probability of cell (latin, french) of pair k, in this direction, the
    // Latin word's row read from `scratch` (entered for the pair).
    double translation(std::size_t k, const PairShape& s, std::uint32_t latin, std::uint32_t french,
                       const PairScratch& scratch) const
    {
        const std::size_t cell = m_cells.start[k] + std::size_t(latin) * s.n + french;
        return double(m_table.probability(scratch.latinRows[latin] + m_cells.place(cell)));
    }

    std::vector<double> likelihoods;

private:
    std::uint32_t targetType(const PairShape& s, std::uint32_t t) const
    {
        return m_frenchFromLatin ? m_pairs.french[s.frenchFirst + t] : m_pairs.latin[s.latinFirst + t];
    }

    // The unnormalised share of each source in target position t (empty word last) and their
    // sum, with each source's type pair in scratch.ids; the scratch must be entered for the pair.
    template <typename Place>
    double scores(const Place* places, std::size_t k, const PairShape& s, std::uint32_t t, bool diagonal,
                  PairScratch& scratch, std::vector<double>& out) const
    {
        const std::uint32_t sources = m_frenchFromLatin ? s.m : s.n;
        const double p0 = m_settings.emptyWordShare;
        double norm = 0;
        if (diagonal) {
            norm = scratch.prior.weights(t, out);
        } else {
            out.assign(sources, 1.0);
            norm = sources;
        }
        out.resize(sources + 1);
        scratch.ids.resize(sources);
        // Cells are Latin-major: French from Latin walks a column, each source with its own
        // row; Latin from French walks a row, the target's.
        const Place* first = places + m_cells.start[k] + (m_frenchFromLatin ? std::size_t(t) : std::size_t(t) * s.n);
        const double share = (1.0 - p0) / norm;
        double* weight = out.data();
        std::uint32_t* ids = scratch.ids.data();
        double z = 0;
        if (m_frenchFromLatin) {
            const std::uint32_t* rows = scratch.latinRows.data();
            const std::size_t stride = s.n;
            for (std::uint32_t src = 0; src < sources; ++src) {
                const std::uint32_t id = rows[src] + first[src * stride];
                ids[src] = id;
                weight[src] *= share * double(m_table.probability(id));
                z += weight[src];
            }
        } else {
            const std::uint32_t row = scratch.latinRows[t];
            for (std::uint32_t src = 0; src < sources; ++src) {
                const std::uint32_t id = row + first[src];
                ids[src] = id;
                weight[src] *= share * double(m_table.probability(id));
                z += weight[src];
            }
        }
        out[sources] = p0 * double(m_emptyProb[targetType(s, t)]);
        return z + out[sources];
    }

    template <typename Place>
    void round(bool diagonal, const Place* places, const StepsOf& steps, std::uint64_t done)
    {
        for (std::size_t p = 0; p < m_table.size(); ++p)
            m_table[p].count = 0.0f;
        std::fill(m_emptyCount.begin(), m_emptyCount.end(), 0.0);
        double likelihood = 0;
        std::vector<double> share;
        PairScratch scratch;
        for (std::size_t k = 0; k < m_pairs.size(); ++k) {
            steps.at(done + k);
            if (m_cells.start[k] == m_cells.start[k + 1])
                continue;
            const PairShape s = shapeOf(m_pairs, k);
            const std::uint32_t sources = m_frenchFromLatin ? s.m : s.n;
            const std::uint32_t targets = m_frenchFromLatin ? s.n : s.m;
            enterPair(k, s, diagonal, scratch);
            for (std::uint32_t t = 0; t < targets; ++t) {
                const double z = scores(places, k, s, t, diagonal, scratch, share);
                if (!(z > 0))
                    continue;
                likelihood += std::log(z);
                const double inverse = 1.0 / z;
                const std::uint32_t* ids = scratch.ids.data();
                for (std::uint32_t src = 0; src < sources; ++src)
                    m_table[ids[src]].count += float(share[src] * inverse);
                m_emptyCount[targetType(s, t)] += share[sources] * inverse;
            }
        }
        likelihoods.push_back(likelihood);
        normalise();
    }

    void normalise()
    {
        const std::size_t typePairs = m_table.size();
        if (m_frenchFromLatin) {
            for (std::size_t e = 0; e + 1 < m_cells.rowStart.size(); ++e) {
                const std::uint32_t a = m_cells.rowStart[e], b = m_cells.rowStart[e + 1];
                double sum = 0;
                for (std::uint32_t p = a; p < b; ++p)
                    sum += m_table[p].count;
                if (sum > 0)
                    for (std::uint32_t p = a; p < b; ++p)
                        m_table[p].prob = float(m_table[p].count / sum);
            }
        } else {
            std::vector<double> sums(m_pairs.frenchTypes, 0.0);
            for (std::size_t p = 0; p < typePairs; ++p)
                sums[m_cells.frenchOf(p)] += m_table[p].count;
            for (std::size_t p = 0; p < typePairs; ++p) {
                const double sum = sums[m_cells.frenchOf(p)];
                if (sum > 0)
                    m_table[p].prob = float(m_table[p].count / sum);
            }
        }
        double total = 0;
        for (const double c : m_emptyCount)
            total += c;
        if (total > 0)
            for (std::size_t f = 0; f < m_emptyProb.size(); ++f)
                m_emptyProb[f] = float(m_emptyCount[f] / total);
    }

    const SentencePairs& m_pairs;
    const CellTable& m_cells;
    const AlignmentSettings& m_settings;
    bool m_frenchFromLatin;
    TypePairTable m_table;
    std::vector<float> m_emptyProb;   // by target type
    std::vector<double> m_emptyCount; // by target type
};

// grow-diag-final over one pair's m x n grid: `latinBest[i]` and `frenchBest[j]` are each
// direction's best link (kNone for the empty word); the links come back in `grid`.
void growDiagFinal(std::uint32_t m, std::uint32_t n, const std::vector<std::uint32_t>& latinBest,
                   const std::vector<std::uint32_t>& frenchBest, std::vector<char>& grid)
{
    grid.assign(std::size_t(m) * n, 0);
    std::vector<char> latinLinked(m, 0), frenchLinked(n, 0);
    auto inUnion = [&](std::uint32_t i, std::uint32_t j) { return latinBest[i] == j || frenchBest[j] == i; };
    auto link = [&](std::uint32_t i, std::uint32_t j) {
        grid[std::size_t(i) * n + j] = 1;
        latinLinked[i] = 1;
        frenchLinked[j] = 1;
    };
    for (std::uint32_t i = 0; i < m; ++i)
        if (latinBest[i] != kNone && frenchBest[latinBest[i]] == i)
            link(i, latinBest[i]);
    for (bool grown = true; grown;) {
        grown = false;
        for (std::uint32_t i = 0; i < m; ++i)
            for (std::uint32_t j = 0; j < n; ++j) {
                if (!grid[std::size_t(i) * n + j])
                    continue;
                for (int di = -1; di <= 1; ++di)
                    for (int dj = -1; dj <= 1; ++dj) {
                        const long ii = long(i) + di, jj = long(j) + dj;
                        if ((di == 0 && dj == 0) || ii < 0 || jj < 0 || ii >= long(m) || jj >= long(n))
                            continue;
                        const auto a = std::uint32_t(ii), b = std::uint32_t(jj);
                        if (grid[std::size_t(a) * n + b] || !inUnion(a, b) || (latinLinked[a] && frenchLinked[b]))
                            continue;
                        link(a, b);
                        grown = true;
                    }
            }
    }
    for (std::uint32_t i = 0; i < m; ++i) {
        const std::uint32_t j = latinBest[i];
        if (j != kNone && (!latinLinked[i] || !frenchLinked[j]))
            link(i, j);
    }
    for (std::uint32_t j = 0; j < n; ++j) {
        const std::uint32_t i = frenchBest[j];
        if (i != kNone && (!latinLinked[i] || !frenchLinked[j]))
            link(i, j);
    }
}

// Chooses the links of a run of sentence pairs from the two trained directions.
struct PairLinker {
    const SentencePairs& pairs;
    const CellTable& cells;
    const DirectionModel& frenchFromLatin;
    const DirectionModel& latinFromFrench;
    const std::vector<std::uint32_t>& fixedLinks;

    // Appends the links of pairs [first, end) to `links` and writes each of their Latin tokens'
    // end, counted from `linksAt`, at ends[endsAt + token - firstToken + 1]. `ends` may be
    // `links` itself: it is written by index, so it may grow past its reserve (a pair of one
    // Latin word and many French ones links that word many times).
    void link(std::size_t first, std::size_t end, std::vector<std::uint32_t>& links, std::size_t linksAt,
              std::vector<std::uint32_t>& ends, std::size_t endsAt, std::size_t firstToken,
              const StepsOf& steps) const
    {
        const auto linkTotal = [&] { return static_cast<std::uint32_t>(links.size() - linksAt); };
        std::vector<double> post;
        std::vector<std::uint32_t> latinBest, frenchBest;
        std::vector<char> grid;
        std::vector<std::pair<double, std::uint32_t>> row;  // score, French position
        PairScratch frenchFromLatinScratch, latinFromFrenchScratch;
        for (std::size_t k = first; k < end; ++k) {
            steps.at(k - first);
            const PairShape s = shapeOf(pairs, k);
            if (cells.start[k] == cells.start[k + 1]) {
                for (std::uint32_t i = 0; i < s.m; ++i)
                    ends[endsAt + s.latinFirst - firstToken + i + 1] = linkTotal();
                continue;
            }
            latinBest.assign(s.m, kNone);
            frenchBest.assign(s.n, kNone);
            for (std::uint32_t i = 0; i < s.m; ++i)
                latinBest[i] = latinFromFrench.posterior(k, i, post, latinFromFrenchScratch);
            for (std::uint32_t j = 0; j < s.n; ++j)
                frenchBest[j] = frenchFromLatin.posterior(k, j, post, frenchFromLatinScratch);
            growDiagFinal(s.m, s.n, latinBest, frenchBest, grid);
            if (!fixedLinks.empty())
                for (std::uint32_t i = 0; i < s.m; ++i) {
                    const std::uint32_t fixed = fixedLinks[s.latinFirst + i];
                    if (fixed == kNoFixedLink || fixed < s.frenchFirst || fixed >= s.frenchFirst + s.n)
                        continue;
                    const std::uint32_t j = fixed - s.frenchFirst;
                    for (std::uint32_t other = 0; other < s.m; ++other)
                        grid[std::size_t(other) * s.n + j] = 0;
                    std::fill(grid.begin() + std::ptrdiff_t(i) * s.n, grid.begin() + std::ptrdiff_t(i + 1) * s.n, 0);
                    grid[std::size_t(i) * s.n + j] = 1;
                }
            // A linked cell's score is the product of the two directions' translation
            // probabilities, which ranks a Latin word's links once they are chosen: the place in
            // the pair has had its say, and a word that only one direction wants (a determiner
            // drawn from many nouns, a rare word that draws whatever stands beside it) ranks below
            // one both want. The Latin rows are the pair's in either direction's scratch.
            for (std::uint32_t i = 0; i < s.m; ++i) {
                row.clear();
                for (std::uint32_t j = 0; j < s.n; ++j)
                    if (grid[std::size_t(i) * s.n + j])
                        row.emplace_back(latinFromFrench.translation(k, s, i, j, latinFromFrenchScratch)
                                             * frenchFromLatin.translation(k, s, i, j, latinFromFrenchScratch),
                                         j);
                std::stable_sort(row.begin(), row.end(),
                                 [](const auto& a, const auto& b) { return a.first > b.first; });
                for (const auto& [score, j] : row)
                    links.push_back(s.frenchFirst + j);
                ends[endsAt + s.latinFirst - firstToken + i + 1] = linkTotal();
            }
        }
    }
};

} // namespace

WordAlignment alignSentencePairs(const SentencePairs& pairs, const AlignmentSettings& settings,
                                 const std::vector<std::uint32_t>& fixedLinks, const AlignmentProgress& progress)
{
    WordAlignment out;
    // This thread tells its own steps: one direction's training (both, on one thread), then
    // the links of its pairs.
    const std::uint64_t trainingSteps = DirectionModel::steps(pairs, settings);
    const std::size_t half = settings.twoThreads ? pairs.size() / 2 : pairs.size();
    Stopper stopper(progress, (settings.twoThreads ? 1 : 2) * trainingSteps + half);
    // The training's arrays live in this block only: the links are made compact after it.
    {
        const CellTable cells = buildCells(pairs, settings);
        out.m_typePairs = cells.typePairs();
        out.m_cells = cells.size();

        DirectionModel frenchFromLatin(pairs, cells, settings, 0);
        DirectionModel latinFromFrench(pairs, cells, settings, 1);
        if (settings.twoThreads) {
            runSideBySide([&] { frenchFromLatin.train(StepsOf{stopper, true, 0}); },
                          [&] { latinFromFrench.train(StepsOf{stopper, false, 0}); }, [&] { stopper.stop(); });
        } else {
            frenchFromLatin.train(StepsOf{stopper, true, 0});
            latinFromFrench.train(StepsOf{stopper, true, trainingSteps});
        }
        out.m_likelihoods[0] = std::move(frenchFromLatin.likelihoods);
        out.m_likelihoods[1] = std::move(latinFromFrench.likelihoods);

        // The starts first, then the links after them.
        const std::size_t tokens = pairs.latin.size();
        out.m_tokens = tokens;
        out.m_startAt = 0;
        out.m_linksAt = tokens + 1;
        out.m_store.assign(tokens + 1, 0);
        // Room for the links a text has (one or two a word), so that they rarely grow: growing
        // holds the old and the new array at once, at the peak; pages never written cost no
        // memory. A pair of one Latin word and a whole French sentence may still outgrow it.
        out.m_store.reserve(tokens + 1 + 4 * tokens);
        // The pairs' second half is linked on another thread, into its own array, and joined
        // after the first half's links; each Latin token's end is counted from its half's start.
        const std::size_t laterFirstToken = half < pairs.size() ? pairs.latinStart[half] : tokens;
        std::vector<std::uint32_t> laterLinks, laterEnds(tokens - laterFirstToken + 1, 0);
        laterLinks.reserve(4 * (tokens - laterFirstToken));  // as the links above
        const PairLinker linker{pairs, cells, frenchFromLatin, latinFromFrench, fixedLinks};
        const auto linkFirstHalf = [&] {
            linker.link(0, half, out.m_store, out.m_linksAt, out.m_store, out.m_startAt, 0,
                        StepsOf{stopper, true, (settings.twoThreads ? 1 : 2) * trainingSteps});
        };
        if (half < pairs.size())
            runSideBySide(linkFirstHalf,
                          [&] {
                              linker.link(half, pairs.size(), laterLinks, 0, laterEnds, 0, laterFirstToken,
                                          StepsOf{stopper, false, 0});
                          },
                          [&] { stopper.stop(); });
        else
            linkFirstHalf();
        if (half < pairs.size()) {
            const auto base = static_cast<std::uint32_t>(out.m_store.size() - out.m_linksAt);
            for (std::size_t token = laterFirstToken; token < tokens; ++token)
                out.m_store[token + 1] = base + laterEnds[token - laterFirstToken + 1];
            out.m_store.insert(out.m_store.end(), laterLinks.begin(), laterLinks.end());
        }
    }
    out.m_store.shrink_to_fit();
    return out;
}

namespace {

constexpr std::string_view kAlignmentKind = "alignment";
// Changes whenever training or the bytes' layout change, so an older entry is not read.
constexpr std::uint32_t kAlignmentFormat = 1;

template <typename T>
void appendValue(std::string& out, const T& value)
{
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

template <typename T>
void appendArray(std::string& out, const std::vector<T>& values)
{
    appendValue(out, static_cast<std::uint64_t>(values.size()));
    out.append(reinterpret_cast<const char*>(values.data()), values.size() * sizeof(T));
}

// Reads what appendValue and appendArray wrote, failing on bytes too short.
struct ByteReader {
    std::string_view bytes;
    bool failed = false;

    template <typename T>
    T value()
    {
        T v{};
        if (bytes.size() < sizeof v) {
            failed = true;
            return v;
        }
        std::memcpy(&v, bytes.data(), sizeof v);
        bytes.remove_prefix(sizeof v);
        return v;
    }
    template <typename T>
    std::vector<T> array()
    {
        const auto n = value<std::uint64_t>();
        if (failed || n > bytes.size() / sizeof(T)) {
            failed = true;
            return {};
        }
        std::vector<T> v(static_cast<std::size_t>(n));
        std::memcpy(v.data(), bytes.data(), v.size() * sizeof(T));
        bytes.remove_prefix(v.size() * sizeof(T));
        return v;
    }
};

template <typename T>
std::uint64_t hashOf(const std::vector<T>& values)
{
    return contentHash(std::string_view(reinterpret_cast<const char*>(values.data()), values.size() * sizeof(T)));
}

// Everything the training reads, hashed: the same key means the same links.
std::string alignmentKey(const SentencePairs& pairs, const AlignmentSettings& settings,
                         const std::vector<std::uint32_t>& fixedLinks)
{
    std::string settingsBytes;
    appendValue(settingsBytes, kAlignmentFormat);
    appendValue(settingsBytes, settings.model1Rounds);
    appendValue(settingsBytes, settings.diagonalRounds);
    appendValue(settingsBytes, settings.diagonalTension);
    appendValue(settingsBytes, settings.emptyWordShare);
    appendValue(settingsBytes, settings.longestSide);
    appendValue(settingsBytes, pairs.latinTypes);
    appendValue(settingsBytes, pairs.frenchTypes);
    // The cache folder stores the key with its length, so the hashes go in as bytes.
    std::string key;
    for (const std::uint64_t h : {contentHash(settingsBytes), hashOf(pairs.latin), hashOf(pairs.latinStart),
                                  hashOf(pairs.french), hashOf(pairs.frenchStart), hashOf(fixedLinks)})
        appendValue(key, h);
    return key;
}

} // namespace

std::string WordAlignment::bytes() const
{
    // Every field a multiple of four bytes long, so that a reader holding the bytes in 32-bit
    // words finds the arrays on word boundaries.
    const std::size_t links = words()[m_startAt + m_tokens];
    std::string out;
    out.reserve(64 + (m_tokens + 1 + links) * sizeof(std::uint32_t));
    appendValue(out, static_cast<std::uint64_t>(m_typePairs));
    appendValue(out, static_cast<std::uint64_t>(m_cells));
    appendArray(out, m_likelihoods[0]);
    appendArray(out, m_likelihoods[1]);
    appendValue(out, static_cast<std::uint64_t>(m_tokens + 1));
    out.append(reinterpret_cast<const char*>(words() + m_startAt), (m_tokens + 1) * sizeof(std::uint32_t));
    appendValue(out, static_cast<std::uint64_t>(links));
    out.append(reinterpret_cast<const char*>(words() + m_linksAt), links * sizeof(std::uint32_t));
    return out;
}

std::optional<WordAlignment> WordAlignment::fromBytes(std::string_view bytes, std::size_t latinTokens,
                                                      std::size_t frenchTokens)
{
    std::vector<std::uint32_t> words((bytes.size() + 3) / 4);
    if (!bytes.empty())
        std::memcpy(words.data(), bytes.data(), bytes.size());
    return fromWords(std::move(words), 0, bytes.size(), latinTokens, frenchTokens);
}

bool WordAlignment::place(WordAlignment& a, const std::uint32_t* words, std::size_t wordCount, std::size_t first,
                          std::size_t byteCount, std::size_t latinTokens, std::size_t frenchTokens)
{
    if (first > wordCount || byteCount > (wordCount - first) * 4)
        return false;
    const char* base = reinterpret_cast<const char*>(words + first);
    ByteReader in{std::string_view(base, byteCount)};
    a.m_typePairs = static_cast<std::size_t>(in.value<std::uint64_t>());
    a.m_cells = static_cast<std::size_t>(in.value<std::uint64_t>());
    a.m_likelihoods[0] = in.array<double>();
    a.m_likelihoods[1] = in.array<double>();
    // The two arrays are left where they lie: only their places are read.
    const auto arrayAt = [&](std::size_t& at, std::uint64_t& count) {
        count = in.value<std::uint64_t>();
        if (in.failed || count > in.bytes.size() / sizeof(std::uint32_t)) {
            in.failed = true;
            return;
        }
        at = first + static_cast<std::size_t>(in.bytes.data() - base) / sizeof(std::uint32_t);
        in.bytes.remove_prefix(static_cast<std::size_t>(count) * sizeof(std::uint32_t));
    };
    std::uint64_t starts = 0, links = 0;
    arrayAt(a.m_startAt, starts);
    arrayAt(a.m_linksAt, links);
    if (in.failed || !in.bytes.empty() || starts != latinTokens + 1)
        return false;
    const std::uint32_t* start = words + a.m_startAt;
    if (start[0] != 0 || start[latinTokens] != links)
        return false;
    // Offsets that run backwards would read outside the links; a French token out of range
    // would be a fault of the entry, not of the texts.
    for (std::size_t t = 0; t < latinTokens; ++t)
        if (start[t] > start[t + 1])
            return false;
    const std::uint32_t* link = words + a.m_linksAt;
    for (std::size_t l = 0; l < links; ++l)
        if (link[l] >= frenchTokens)
            return false;
    a.m_tokens = latinTokens;
    return true;
}

std::optional<WordAlignment> WordAlignment::fromWords(std::vector<std::uint32_t> words, std::size_t first,
                                                      std::size_t byteCount, std::size_t latinTokens,
                                                      std::size_t frenchTokens)
{
    WordAlignment a;
    if (!place(a, words.data(), words.size(), first, byteCount, latinTokens, frenchTokens))
        return std::nullopt;
    a.m_store = std::move(words);
    return a;
}

std::optional<WordAlignment> WordAlignment::viewOf(const std::uint32_t* words, std::size_t byteCount,
                                                   std::size_t latinTokens, std::size_t frenchTokens,
                                                   std::shared_ptr<const void> keep)
{
    WordAlignment a;
    if (!place(a, words, (byteCount + 3) / 4, 0, byteCount, latinTokens, frenchTokens))
        return std::nullopt;
    a.m_store.clear();
    a.m_view = words;
    a.m_keep = std::move(keep);
    return a;
}

WordAlignment alignSentencePairs(const SentencePairs& pairs, const AlignmentSettings& settings,
                                 const std::vector<std::uint32_t>& fixedLinks, const CacheFolder& cache,
                                 bool* fromCache, const AlignmentProgress& progress)
{
    if (fromCache)
        *fromCache = false;
    if (!cache.enabled())
        return alignSentencePairs(pairs, settings, fixedLinks, progress);
    const std::string key = alignmentKey(pairs, settings, fixedLinks);
    if (std::optional<CachedWords> kept = cache.readWords(kAlignmentKind, key)) {
        if (std::optional<WordAlignment> read = WordAlignment::fromWords(
                std::move(kept->words), kept->first, kept->byteCount, pairs.latin.size(), pairs.french.size())) {
            if (fromCache)
                *fromCache = true;
            return std::move(*read);
        }
    }
    WordAlignment learnt = alignSentencePairs(pairs, settings, fixedLinks, progress);
    cache.write(kAlignmentKind, key, learnt.bytes());
    return learnt;
}

} // namespace quorvex
