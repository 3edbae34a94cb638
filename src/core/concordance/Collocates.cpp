#include "concordance/Collocates.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <unordered_map>

namespace quorvex {

double mutualInformation(double o, double w, double fn, double fc, double s)
{
    return std::log2(o * w / (fn * fc * s));
}

double logLikelihood(double o, double w, double fn, double fc, double s)
{
    const double a = o;
    const double b = fn * s - o;
    const double c = fc - o;
    const double d = w - a - b - c;
    const double row1 = a + b, row2 = c + d, col1 = a + c, col2 = b + d;
    const auto term = [w](double observed, double row, double col) {
        if (observed <= 0)
            return 0.0;
        const double expected = row * col / w;
        return expected > 0 ? observed * std::log(observed / expected) : 0.0;
    };
    return 2 * (term(a, row1, col1) + term(b, row1, col2) + term(c, row2, col1) + term(d, row2, col2));
}

std::vector<Collocate> findCollocates(const WordTable& table, const std::vector<Span>& attestations,
                                      std::size_t window, Folding folding)
{
    const std::size_t w = table.size();
    // How many windows cover each word, as a difference array: one pass whatever N is, so
    // "*" with N = 50 costs no more than a rare form.
    std::vector<std::int32_t> cover(w + 1, 0);
    for (const Span& s : attestations) {
        const std::size_t first = s.first;
        const std::size_t end = first + s.count;
        const std::size_t before = first >= window ? first - window : 0;
        cover[before] += 1;
        cover[first] -= 1;
        cover[std::min(end, w)] += 1;
        cover[std::min(end + window, w)] -= 1;
    }

    // Every word is counted under its form as written first, in a small open-addressing table
    // that stays in cache (a text has some tens of thousands of distinct forms); each distinct
    // form is folded once afterwards. A node-based map per word costs twice the whole search.
    struct Written {
        std::string_view form;
        std::size_t cooccurrences = 0;
        std::size_t frequency = 0;
    };
    std::vector<Written> written;
    std::vector<std::uint32_t> slots(1u << 12, 0);  // index into `written` + 1; 0: empty
    std::vector<std::uint32_t> slotHash(slots.size(), 0);
    const auto hashOf = [](std::string_view f) {
        std::uint32_t h = 2166136261u;  // FNV-1a
        for (const char c : f)
            h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
        return h;
    };
    const auto grow = [&] {
        std::vector<std::uint32_t> bigger(slots.size() * 2, 0);
        std::vector<std::uint32_t> biggerHash(bigger.size(), 0);
        const std::size_t mask = bigger.size() - 1;
        for (std::size_t k = 0; k < slots.size(); ++k) {
            if (slots[k] == 0)
                continue;
            std::size_t at = slotHash[k] & mask;
            while (bigger[at] != 0)
                at = (at + 1) & mask;
            bigger[at] = slots[k];
            biggerHash[at] = slotHash[k];
        }
        slots.swap(bigger);
        slotHash.swap(biggerHash);
    };
    std::int64_t running = 0;
    for (std::size_t i = 0; i < w; ++i) {
        running += cover[i];
        const std::string_view form = table.form(i);
        const std::uint32_t h = hashOf(form);
        std::size_t mask = slots.size() - 1;
        std::size_t at = h & mask;
        while (slots[at] != 0
               && (slotHash[at] != h || written[slots[at] - 1].form != form))
            at = (at + 1) & mask;
        if (slots[at] == 0) {
            written.push_back(Written{form, 0, 0});
            slots[at] = static_cast<std::uint32_t>(written.size());
            slotHash[at] = h;
            if (written.size() * 2 > slots.size())
                grow();
            Written& entry = written.back();
            ++entry.frequency;
            entry.cooccurrences += static_cast<std::size_t>(running);
            continue;
        }
        Written& entry = written[slots[at] - 1];
        ++entry.frequency;
        entry.cooccurrences += static_cast<std::size_t>(running);
    }

    struct Counts {
        std::size_t cooccurrences = 0;
        std::size_t frequency = 0;
    };
    std::unordered_map<std::string, Counts> byFolded;
    std::string key;
    for (const Written& entry : written) {
        key.clear();
        appendFolded(key, entry.form, folding);
        Counts& counts = byFolded[key];
        counts.frequency += entry.frequency;
        counts.cooccurrences += entry.cooccurrences;
    }

    std::vector<Collocate> out;
    const double fn = static_cast<double>(attestations.size());
    const double s = 2.0 * static_cast<double>(window);
    for (auto& [form, counts] : byFolded) {
        if (counts.cooccurrences == 0)
            continue;
        Collocate c;
        c.form = form;
        c.cooccurrences = counts.cooccurrences;
        c.frequency = counts.frequency;
        const double o = static_cast<double>(c.cooccurrences);
        const double fc = static_cast<double>(c.frequency);
        c.mi = mutualInformation(o, static_cast<double>(w), fn, fc, s);
        c.logLikelihood = logLikelihood(o, static_cast<double>(w), fn, fc, s);
        out.push_back(std::move(c));
    }
    // Compared as printed (three decimals), so that two scores shown alike go by form.
    std::vector<std::pair<long long, std::size_t>> order;
    order.reserve(out.size());
    for (std::size_t k = 0; k < out.size(); ++k)
        order.emplace_back(std::llround(out[k].logLikelihood * 1000), k);
    std::sort(order.begin(), order.end(), [&out](const auto& a, const auto& b) {
        if (a.first != b.first)
            return a.first > b.first;
        return out[a.second].form < out[b.second].form;
    });
    std::vector<Collocate> sorted;
    sorted.reserve(out.size());
    for (const auto& [shown, k] : order)
        sorted.push_back(std::move(out[k]));
    return sorted;
}

} // namespace quorvex
