#include "concordance/Collocates.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
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

namespace {

struct Counts {
    std::size_t cooccurrences = 0;
    std::size_t frequency = 0;
};

// Counts by form as written. The forms are slices of `text`, whose std::string keeps a '\0'
// after its last byte; no form holds a '\0'.
class FormCounter {
public:
    explicit FormCounter(const std::string& text) : m_text(text), m_slots(std::size_t(1) << 12) {}

    void add(std::string_view form, std::size_t cooccurrences)
    {
        if (form.size() > kShort) {
            Counts& c = m_long[form];
            ++c.frequency;
            c.cooccurrences += cooccurrences;
            return;
        }
        const Key key = keyOf(form);
        const std::uint64_t h = (key.lo ^ (key.hi * 0x9e3779b97f4a7c15ull)) * 0xbf58476d1ce4e5b9ull;
        std::size_t at = static_cast<std::size_t>(h >> m_shift);
        const std::size_t mask = m_slots.size() - 1;
        while (m_slots[at].key.lo != 0 && !(m_slots[at].key == key))
            at = (at + 1) & mask;
        Slot& slot = m_slots[at];
        if (slot.key.lo == 0) {
            slot.key = key;
            if (++m_used * 2 > m_slots.size()) {
                grow();
                add(form, cooccurrences);
                return;
            }
        }
        ++slot.counts.frequency;
        slot.counts.cooccurrences += cooccurrences;
    }

    template <class F>
    void forEach(F&& f) const
    {
        for (const Slot& slot : m_slots) {
            if (slot.key.lo == 0)
                continue;
            char bytes[2 * sizeof(std::uint64_t)];
            std::memcpy(bytes, &slot.key.lo, sizeof slot.key.lo);
            std::memcpy(bytes + sizeof slot.key.lo, &slot.key.hi, sizeof slot.key.hi);
            std::size_t length = 0;
            while (length < kShort && bytes[length] != '\0')
                ++length;
            f(std::string_view(bytes, length), slot.counts);
        }
        for (const auto& [form, counts] : m_long)
            f(form, counts);
    }

private:
    static constexpr std::size_t kShort = 2 * sizeof(std::uint64_t);

    // The form's bytes in memory order, zero after its end; never all zero.
    struct Key {
        std::uint64_t lo = 0;
        std::uint64_t hi = 0;
        friend bool operator==(const Key& a, const Key& b) { return a.lo == b.lo && a.hi == b.hi; }
    };
    struct Slot {
        Key key;
        Counts counts;
    };

    Key keyOf(std::string_view form) const noexcept
    {
        Key key;
        const std::size_t n = form.size();
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
        // Sixteen bytes read at once and the ones past the form cleared, where the text has
        // them (the '\0' after it counts).
        const std::size_t offset = static_cast<std::size_t>(form.data() - m_text.data());
        if (offset + kShort <= m_text.size() + 1) {
            std::memcpy(&key.lo, form.data(), sizeof key.lo);
            std::memcpy(&key.hi, form.data() + sizeof key.lo, sizeof key.hi);
            const auto low = [](std::size_t bytes) {
                return bytes >= 8 ? ~std::uint64_t(0) : (std::uint64_t(1) << (8 * bytes)) - 1;
            };
            key.lo &= low(n);
            key.hi = n > 8 ? key.hi & low(n - 8) : 0;
            return key;
        }
#endif
        char bytes[kShort] = {};
        std::memcpy(bytes, form.data(), n);
        std::memcpy(&key.lo, bytes, sizeof key.lo);
        std::memcpy(&key.hi, bytes + sizeof key.lo, sizeof key.hi);
        return key;
    }

    void grow()
    {
        std::vector<Slot> old(m_slots.size() * 2);
        old.swap(m_slots);
        --m_shift;
        const std::size_t mask = m_slots.size() - 1;
        for (const Slot& slot : old) {
            if (slot.key.lo == 0)
                continue;
            const std::uint64_t h
                = (slot.key.lo ^ (slot.key.hi * 0x9e3779b97f4a7c15ull)) * 0xbf58476d1ce4e5b9ull;
            std::size_t at = static_cast<std::size_t>(h >> m_shift);
            while (m_slots[at].key.lo != 0)
                at = (at + 1) & mask;
            m_slots[at] = slot;
        }
    }

    const std::string& m_text;
    std::vector<Slot> m_slots;
    unsigned m_shift = 64 - 12;  // the top bits of the hash pick the slot
    std::size_t m_used = 0;
    std::unordered_map<std::string_view, Counts> m_long;
};

} // namespace

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

    // Every word is counted under its form as written first; each distinct form is folded
    // once afterwards. Forms of up to 16 bytes, nearly all, are their own key: two words
    // held in an open-addressing table that stays in cache, so that no probe reads the text
    // again. Longer ones go to a map.
    FormCounter counter(table.text());
    std::int64_t running = 0;
    for (std::size_t i = 0; i < w; ++i) {
        running += cover[i];
        counter.add(table.form(i), static_cast<std::size_t>(running));
    }

    std::unordered_map<std::string, Counts> byFolded;
    std::string key;
    counter.forEach([&](std::string_view form, const Counts& counted) {
        key.clear();
        appendFolded(key, form, folding);
        Counts& counts = byFolded[key];
        counts.frequency += counted.frequency;
        counts.cooccurrences += counted.cooccurrences;
    });

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
