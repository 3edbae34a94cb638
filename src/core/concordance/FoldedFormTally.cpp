#include "concordance/FoldedFormTally.h"

#include "concordance/LetterRuns.h"
#include "concordance/SpellingFold.h"

#include <algorithm>
#include <cstring>

namespace quorvex {

namespace {

constexpr std::uint64_t kHigh = 0x8080808080808080ull;
constexpr std::uint64_t kOnes = 0x0101010101010101ull;

// The `n` (1 to 8) bytes at p, the rest zero; `end` is the end of the text, which no load passes.
std::uint64_t loadPart(const unsigned char* p, std::size_t n, const unsigned char* end) noexcept
{
    std::uint64_t v = 0;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    if (end - p >= 8) {
        std::memcpy(&v, p, sizeof v);
        return n < 8 ? v & ((std::uint64_t(1) << (8 * n)) - 1) : v;
    }
#else
    (void)end;
#endif
    std::memcpy(&v, p, n);
    return v;
}

// 0x80 in each byte of x that is zero.
std::uint64_t zeroBytes(std::uint64_t x) noexcept
{
    return ~(((x & ~kHigh) + ~kHigh) | x) & kHigh;
}

// The spelling fold of up to eight ASCII letters (zero bytes past them stay zero): lower
// case, j as i, v as u.
std::uint64_t foldLetters(std::uint64_t x, std::uint64_t present) noexcept
{
    x |= 0x2020202020202020ull & present;
    x -= zeroBytes(x ^ (0x6A * kOnes)) >> 7;  // j
    x -= zeroBytes(x ^ (0x76 * kOnes)) >> 7;  // v
    return x;
}

// The hash of the spelling fold of the word [p, p + length) when all its bytes are ASCII;
// false for a word with other bytes. A folded form hashes the same through it.
bool hashFolded(const unsigned char* p, std::size_t length, const unsigned char* end, std::uint64_t& hash) noexcept
{
    constexpr std::uint64_t k = 0x9e3779b97f4a7c15ull;
    std::uint64_t h = length * k;
    for (std::size_t i = 0; i < length; i += 8) {
        const std::size_t n = std::min<std::size_t>(8, length - i);
        const std::uint64_t x = loadPart(p + i, n, end);
        if (x & kHigh)
            return false;
        const std::uint64_t present = n == 8 ? ~std::uint64_t(0) : (std::uint64_t(1) << (8 * n)) - 1;
        h = (h ^ foldLetters(x, present)) * k;
        h ^= h >> 29;
    }
    h *= 0xbf58476d1ce4e5b9ull;
    hash = h ^ (h >> 32);
    return true;
}

// Lengths a to b (a <= b <= 63) as bits.
std::uint64_t lengthBits(std::size_t a, std::size_t b) noexcept
{
    return (~std::uint64_t(0) << a) & (~std::uint64_t(0) >> (63 - b));
}

} // namespace

FoldedFormTally::FoldedFormTally(std::vector<std::string> forms, LetterSet letters)
    : m_letters(letters), m_forms(std::move(forms)), m_frequency(m_forms.size(), 0)
{
    std::size_t size = 64;
    while (size < 4 * m_forms.size())
        size *= 2;
    m_slots.resize(size);
    // Bytes beyond ASCII fold to one or two letters: the words they begin are all looked at.
    for (std::size_t c = 0x80; c < 256; ++c)
        m_lengths[c] = ~std::uint64_t(0);
    std::array<std::string, 128> foldOf;
    for (std::size_t c = 0; c < 128; ++c)
        foldOf[c] = folded(std::string(1, static_cast<char>(c)), Folding::Spelling);
    for (std::size_t i = 0; i < m_forms.size(); ++i) {
        const std::string& form = m_forms[i];
        const auto* p = reinterpret_cast<const unsigned char*>(form.data());
        std::uint64_t hash = 0;
        if (form.empty() || !hashFolded(p, form.size(), p + form.size(), hash))
            continue;
        std::size_t slot = hash & (m_slots.size() - 1);
        while (m_slots[slot].form != 0)
            slot = (slot + 1) & (m_slots.size() - 1);
        m_slots[slot] = Slot{static_cast<std::uint32_t>(i + 1), static_cast<std::uint32_t>(hash >> 32)};
        for (std::size_t c = 0; c < 128; ++c)
            if (foldOf[c].size() == 1 && foldOf[c][0] == form[0])
                m_lengths[c] |= std::uint64_t(1) << std::min<std::size_t>(form.size(), 63);
    }
}

bool FoldedFormTally::find(std::uint64_t hash, const unsigned char* p, std::size_t length)
{
    const std::size_t mask = m_slots.size() - 1;
    const auto tag = static_cast<std::uint32_t>(hash >> 32);
    const std::string_view word(reinterpret_cast<const char*>(p), length);
    for (std::size_t slot = hash & mask; m_slots[slot].form != 0; slot = (slot + 1) & mask) {
        const Slot& s = m_slots[slot];
        if (s.tag == tag && spellingFoldEquals(word, m_forms[s.form - 1])) {
            ++m_frequency[s.form - 1];
            return true;
        }
    }
    return false;
}

void FoldedFormTally::count(const unsigned char* p, std::size_t length, const unsigned char* end)
{
    // Each byte folds to one letter or two: the fold is length to twice length long.
    const std::uint64_t may = lengthBits(std::min<std::size_t>(length, 63), std::min<std::size_t>(2 * length, 63));
    if (!(m_lengths[*p] & may))
        return;
    std::uint64_t hash = 0;
    if (hashFolded(p, length, end, hash)) {
        find(hash, p, length);
        return;
    }
    m_folded.clear();
    appendFolded(m_folded, std::string_view(reinterpret_cast<const char*>(p), length), Folding::Spelling);
    const auto* q = reinterpret_cast<const unsigned char*>(m_folded.data());
    if (hashFolded(q, m_folded.size(), q + m_folded.size(), hash))
        find(hash, p, length);
}

void FoldedFormTally::add(std::string_view piece)
{
    const auto* const begin = reinterpret_cast<const unsigned char*>(piece.data());
    const unsigned char* const end = begin + piece.size();
    std::size_t words = 0;
    forEachLetterRun(begin, piece.size(), letterTable(m_letters), [&](std::size_t start, std::size_t stop) {
        ++words;
        count(begin + start, stop - start, end);
    });
    m_words += words;
}

} // namespace quorvex
