#pragma once
// Distinct strings numbered 0, 1, 2... in the order they were first met: one arena for their
// bytes and one open-addressing table of (hash, number), so a lookup touches one slot and,
// on a hash match, the bytes. The lexicon's roots, spellings and forms number in the hundreds
// of thousands; node-based maps spend most of a load chasing pointers.
//
// StringTable grows while the lexicon is read; StringIndex looks up in the same arrays where
// they lie, in a StringTable or in an image of one (ImageBlocks.h).

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex::lexicon {

struct StringSlot {
    std::uint32_t hash = 0;
    std::uint32_t id = 0xFFFFFFFFu;
};

inline std::uint32_t stringHash(std::string_view s) noexcept
{
    std::uint64_t h = 1469598103934665603ull;
    for (const char c : s)
        h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return static_cast<std::uint32_t>(h ^ (h >> 32));
}

class StringIndex {
public:
    static constexpr std::uint32_t npos = 0xFFFFFFFFu;

    StringIndex() = default;
    StringIndex(std::string_view bytes, const std::uint32_t* starts, const std::uint32_t* lengths,
                std::size_t count, const StringSlot* slots, std::size_t slotCount) noexcept
        : m_bytes(bytes), m_starts(starts), m_lengths(lengths), m_count(count), m_slots(slots),
          m_slotCount(slotCount)
    {
    }

    std::size_t size() const noexcept { return m_count; }
    std::string_view at(std::uint32_t id) const noexcept { return m_bytes.substr(m_starts[id], m_lengths[id]); }

    std::uint32_t find(std::string_view s) const noexcept
    {
        if (m_slotCount == 0)
            return npos;
        const std::uint32_t h = stringHash(s);
        const std::size_t mask = m_slotCount - 1;
        // Bounded by the slots, so that even a table whose empty slots were lost ends.
        for (std::size_t i = h & mask, probes = 0; probes < m_slotCount; i = (i + 1) & mask, ++probes) {
            const StringSlot& slot = m_slots[i];
            if (slot.id == npos)
                return npos;
            if (slot.hash == h && slot.id < m_count && at(slot.id) == s)
                return slot.id;
        }
        return npos;
    }

    // Whether the arrays make a table: every string within the bytes, the slots a power of
    // two, each empty or naming a string, at least half of them empty.
    bool valid() const noexcept
    {
        for (std::size_t id = 0; id < m_count; ++id)
            if (m_starts[id] > m_bytes.size() || m_lengths[id] > m_bytes.size() - m_starts[id])
                return false;
        if (m_slotCount == 0)
            return m_count == 0;
        if ((m_slotCount & (m_slotCount - 1)) != 0 || m_count * 2 > m_slotCount)
            return false;
        std::size_t used = 0;
        for (std::size_t i = 0; i < m_slotCount; ++i)
            if (m_slots[i].id != npos && (m_slots[i].id >= m_count || ++used > m_count))
                return false;
        return used == m_count;
    }

private:
    std::string_view m_bytes;
    const std::uint32_t* m_starts = nullptr;
    const std::uint32_t* m_lengths = nullptr;
    std::size_t m_count = 0;
    const StringSlot* m_slots = nullptr;
    std::size_t m_slotCount = 0;
};

class StringTable {
public:
    static constexpr std::uint32_t npos = StringIndex::npos;

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

    std::uint32_t find(std::string_view s) const noexcept { return index().find(s); }

    // The number of `s`, given it now if it is new.
    std::uint32_t intern(std::string_view s)
    {
        if ((size() + 1) * 2 > m_slots.size())
            rehash(m_slots.empty() ? 1024 : m_slots.size() * 2);
        const std::uint32_t h = stringHash(s);
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = h & mask;; i = (i + 1) & mask) {
            StringSlot& slot = m_slots[i];
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

    // A view of the table as it is now; it lasts until the next intern.
    StringIndex index() const noexcept
    {
        return StringIndex(m_bytes, m_starts.data(), m_lengths.data(), m_starts.size(), m_slots.data(),
                           m_slots.size());
    }

    // Its arrays as they lie, for an image (ImageBlocks.h).
    template <typename Writer>
    void writeTo(Writer& out) const
    {
        out.bytes(m_bytes);
        out.array(m_starts);
        out.array(m_lengths);
        out.array(m_slots);
    }

private:
    void rehash(std::size_t wanted)
    {
        std::size_t n = 1024;
        while (n < wanted)
            n *= 2;
        m_slots.assign(n, StringSlot{});
        const std::size_t mask = n - 1;
        for (std::uint32_t id = 0; id < size(); ++id) {
            const std::uint32_t h = stringHash(at(id));
            std::size_t i = h & mask;
            while (m_slots[i].id != npos)
                i = (i + 1) & mask;
            m_slots[i] = {h, id};
        }
    }

    std::string m_bytes;
    std::vector<std::uint32_t> m_starts, m_lengths;
    std::vector<StringSlot> m_slots;
};

} // namespace quorvex::lexicon
