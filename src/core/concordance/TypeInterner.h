#pragma once
// Distinct forms as written, numbered in the order they first stand, with how many words bear
// each: what the word table keeps of its types, and all a one-pass tally of forms needs.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace quorvex {

// Every distinct form gets one type id: an open-addressing table keyed by a hash of the form's
// bytes, kept only while the text is cut. A slot holds the form's first eight bytes and its
// length, so that a word of up to eight letters (most of them) is matched by one slot read,
// with no call and no look at the type's own copy; longer forms compare the rest there.
class TypeInterner {
public:
    static constexpr std::uint32_t kNone = ~std::uint32_t(0);

    TypeInterner(std::vector<std::uint32_t>& frequency, std::vector<std::uint32_t>& start,
                 std::string& bytes)
        : m_frequency(frequency), m_start(start), m_bytes(bytes), m_slots(8192)
    {
        m_start.push_back(0);
    }

    // A form's hash and head, worked out ahead so that its slot can be fetched from memory
    // while the forms before it are interned: a table of tens of thousands of forms is
    // larger than the processor's nearest caches.
    struct Probe {
        const unsigned char* p;
        std::size_t length;
        std::uint64_t head;
        std::uint32_t hash;
    };
    // `end` is the end of the text, which no load passes.
    static Probe probe(const unsigned char* p, std::size_t length, const unsigned char* end) noexcept
    {
        const std::uint64_t head = headOf(p, length, end);
        return Probe{p, length, head, hashOf(p, length, head)};
    }
    void prefetch(const Probe& f) const noexcept
    {
#if defined(__GNUC__)
        __builtin_prefetch(&m_slots[f.hash & (m_slots.size() - 1)]);
#else
        (void)f;
#endif
    }

    // The type of the form [p, p + length); `end` is the end of the text, which no load passes.
    std::uint32_t intern(const unsigned char* p, std::size_t length, const unsigned char* end)
    {
        return intern(probe(p, length, end));
    }
    std::uint32_t intern(const Probe& f)
    {
        const std::size_t mask = m_slots.size() - 1;
        std::size_t slot = f.hash & mask;
        for (;; slot = (slot + 1) & mask) {
            const Slot& s = m_slots[slot];
            if (s.type == kNone)
                break;
            if (s.head != f.head || s.length != f.length)
                continue;
            if (f.length > 8 && !sameTail(m_bytes.data() + m_start[s.type], f.p, f.length))
                continue;
            ++m_frequency[s.type];
            return s.type;
        }
        const auto type = static_cast<std::uint32_t>(m_frequency.size());
        m_frequency.push_back(1);
        m_bytes.append(reinterpret_cast<const char*>(f.p), f.length);
        m_start.push_back(static_cast<std::uint32_t>(m_bytes.size()));
        m_slots[slot] = Slot{f.head, type, static_cast<std::uint32_t>(f.length)};
        if (m_frequency.size() * 2 > m_slots.size())
            grow();
        return type;
    }

private:
    struct Slot {
        std::uint64_t head = 0;  // the first eight bytes, zeros past the form
        std::uint32_t type = kNone;
        std::uint32_t length = 0;
    };

    static std::uint64_t load(const unsigned char* p) noexcept
    {
        std::uint64_t v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    // Whether a form longer than eight bytes equals the type's copy past their equal heads:
    // eight bytes at a time, the last load overlapping the one before.
    static bool sameTail(const char* type, const unsigned char* p, std::size_t length) noexcept
    {
        const auto* q = reinterpret_cast<const unsigned char*>(type);
        for (std::size_t i = 8; i + 8 < length; i += 8)
            if (load(q + i) != load(p + i))
                return false;
        return load(q + length - 8) == load(p + length - 8);
    }
    // The first eight bytes of the form (fewer for a shorter one, the rest zero), whatever
    // follows it in the text.
    static std::uint64_t headOf(const unsigned char* p, std::size_t length,
                                const unsigned char* end) noexcept
    {
        std::uint64_t v = 0;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
        if (end - p >= 8) {
            // One load; the bytes past a shorter form are masked off.
            v = load(p);
            if (length < 8)
                v &= (std::uint64_t(1) << (8 * length)) - 1;
            return v;
        }
#else
        (void)end;
#endif
        std::memcpy(&v, p, length < 8 ? length : 8);
        return v;
    }
    // Depends on the bytes and the length only, never on where the form stands.
    static std::uint32_t hashOf(const unsigned char* p, std::size_t length, std::uint64_t head) noexcept
    {
        constexpr std::uint64_t k = 0x9e3779b97f4a7c15ull;
        std::uint64_t h = (head ^ length) * k;
        if (length > 8) {
            for (std::size_t i = 8; i + 8 < length; i += 8)
                h = (h ^ load(p + i)) * k;
            // The last 8 bytes, overlapping the chunk before when the length is no multiple of 8.
            h = (h ^ load(p + length - 8)) * k;
        }
        h ^= h >> 29;
        h *= 0xbf58476d1ce4e5b9ull;
        return static_cast<std::uint32_t>(h >> 32);
    }
    std::uint32_t hashOfType(std::uint32_t t) const noexcept
    {
        const auto* p = reinterpret_cast<const unsigned char*>(m_bytes.data()) + m_start[t];
        const std::size_t length = m_start[t + 1] - m_start[t];
        std::uint64_t head = 0;
        std::memcpy(&head, p, length < 8 ? length : 8);
        return hashOf(p, length, head);
    }

    void grow()
    {
        std::vector<Slot> wider(m_slots.size() * 2);
        const std::size_t mask = wider.size() - 1;
        for (const Slot& s : m_slots) {
            if (s.type == kNone)
                continue;
            std::size_t slot = hashOfType(s.type) & mask;
            while (wider[slot].type != kNone)
                slot = (slot + 1) & mask;
            wider[slot] = s;
        }
        m_slots = std::move(wider);
    }

    std::vector<std::uint32_t>& m_frequency;
    std::vector<std::uint32_t>& m_start;
    std::string& m_bytes;
    std::vector<Slot> m_slots;
};

} // namespace quorvex
