#pragma once
// Distinct strings numbered 0, 1, 2... in the order they were first met: one arena for their
// bytes and one open-addressing table of (hash, number), so a lookup touches one slot and,
// on a hash match, the bytes. The lexicon's roots, spellings and forms number in the hundreds
// of thousands; node-based maps spend most of a load chasing pointers.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex::lexicon {

class StringTable {
public:
    static constexpr std::uint32_t npos = 0xFFFFFFFFu;

    std::size_t size() const noexcept { return m_starts.size(); }
    std::string_view at(std::uint32_t id) const noexcept
    {
        return std::string_view(m_bytes.data() + m_starts[id], m_lengths[id]);
    }

    void reserve(std::size_t count)
    {
        m_starts.reserve(count);
        m_lengths.reserve(count);
        if (count * 2 > m_slots.size())
            rehash(count * 2);
    }

    std::uint32_t find(std::string_view s) const noexcept
    {
        if (m_slots.empty())
            return npos;
        const std::uint32_t h = hash(s);
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = h & mask;; i = (i + 1) & mask) {
            const Slot& slot = m_slots[i];
            if (slot.id == npos)
                return npos;
            if (slot.hash == h && at(slot.id) == s)
                return slot.id;
        }
    }

    // The number of `s`, given it now if it is new.
    std::uint32_t intern(std::string_view s)
    {
        if ((size() + 1) * 2 > m_slots.size())
            rehash(m_slots.empty() ? 1024 : m_slots.size() * 2);
        const std::uint32_t h = hash(s);
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = h & mask;; i = (i + 1) & mask) {
            Slot& slot = m_slots[i];
            if (slot.id == npos) {
                slot = {h, static_cast<std::uint32_t>(size())};
                m_starts.push_back(static_cast<std::uint32_t>(m_bytes.size()));
                m_lengths.push_back(static_cast<std::uint32_t>(s.size()));
                m_bytes.append(s.data(), s.size());
                return slot.id;
            }
            if (slot.hash == h && at(slot.id) == s)
                return slot.id;
        }
    }

private:
    struct Slot {
        std::uint32_t hash = 0;
        std::uint32_t id = npos;
    };

    static std::uint32_t hash(std::string_view s) noexcept
    {
        std::uint64_t h = 1469598103934665603ull;
        for (const char c : s)
            h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        return static_cast<std::uint32_t>(h ^ (h >> 32));
    }

    void rehash(std::size_t wanted)
    {
        std::size_t n = 1024;
        while (n < wanted)
            n *= 2;
        m_slots.assign(n, Slot{});
        const std::size_t mask = n - 1;
        for (std::uint32_t id = 0; id < size(); ++id) {
            const std::uint32_t h = hash(at(id));
            std::size_t i = h & mask;
            while (m_slots[i].id != npos)
                i = (i + 1) & mask;
            m_slots[i] = {h, id};
        }
    }

    std::string m_bytes;
    std::vector<std::uint32_t> m_starts, m_lengths;
    std::vector<Slot> m_slots;
};

} // namespace quorvex::lexicon
