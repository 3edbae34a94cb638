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

    struct Counts {
        std::size_t cooccurrences = 0;
        std::size_t frequency = 0;
    };
    // Folding once per distinct form as written, not once per word.
    std::unordered_map<std::string_view, Counts*> byWritten;
    std::unordered_map<std::string, Counts> byFolded;
    std::string key;
    std::int64_t running = 0;
    for (std::size_t i = 0; i < w; ++i) {
        running += cover[i];
        const std::string_view form = table.form(i);
        auto it = byWritten.find(form);
        if (it == byWritten.end()) {
            key.clear();
            appendFolded(key, form, folding);
            it = byWritten.emplace(form, &byFolded[key]).first;
        }
        Counts& counts = *it->second;
        ++counts.frequency;
        counts.cooccurrences += static_cast<std::size_t>(running);
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
    const auto shown = [](double v) { return std::llround(v * 1000); };
    std::sort(out.begin(), out.end(), [&shown](const Collocate& a, const Collocate& b) {
        if (shown(a.logLikelihood) != shown(b.logLikelihood))
            return shown(a.logLikelihood) > shown(b.logLikelihood);
        return a.form < b.form;
    });
    return out;
}

} // namespace quorvex
