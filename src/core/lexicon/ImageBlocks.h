#pragma once
// The blocks an image of read tables is made of (internal to lexicon/): each a length in
// bytes, then the bytes, padded to eight. An array goes in as its bytes and comes back in one
// copy; a reader checks every length against what is left and refuses a block whose length
// is not a whole number of elements. Images are read by the machine that wrote them (the
// cache folder is the user's), so numbers are in its own byte order, which the header says.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace quorvex::lexicon {

// Elements that lie in an image (or in any array that outlives the view).
template <typename T>
class Span {
public:
    Span() = default;
    Span(const T* data, std::size_t size) noexcept : m_data(data), m_size(size) {}
    explicit Span(const std::vector<T>& v) noexcept : m_data(v.data()), m_size(v.size()) {}
    std::size_t size() const noexcept { return m_size; }
    bool empty() const noexcept { return m_size == 0; }
    const T& operator[](std::size_t i) const noexcept { return m_data[i]; }
    const T* begin() const noexcept { return m_data; }
    const T* end() const noexcept { return m_data + m_size; }
    const T& front() const noexcept { return m_data[0]; }
    const T& back() const noexcept { return m_data[m_size - 1]; }

private:
    const T* m_data = nullptr;
    std::size_t m_size = 0;
};

class ImageWriter {
public:
    void number(std::uint64_t value) { raw(&value, sizeof value); }
    void bytes(std::string_view s)
    {
        number(s.size());
        raw(s.data(), s.size());
        m_bytes.append((8 - s.size() % 8) % 8, '\0');
    }
    template <typename T>
    void array(const std::vector<T>& v)
    {
        static_assert(std::is_trivially_copyable_v<T>, "an array is written as its bytes");
        bytes(std::string_view(reinterpret_cast<const char*>(v.data()), v.size() * sizeof(T)));
    }
    std::string& result() noexcept { return m_bytes; }

private:
    void raw(const void* p, std::size_t n) { m_bytes.append(static_cast<const char*>(p), n); }
    std::string m_bytes;
};

class ImageReader {
public:
    explicit ImageReader(std::string_view bytes) : m_bytes(bytes) {}

    bool number(std::uint64_t& value)
    {
        if (m_bytes.size() - m_at < sizeof value)
            return false;
        std::memcpy(&value, m_bytes.data() + m_at, sizeof value);
        m_at += sizeof value;
        return true;
    }
    // A view into the image's bytes.
    bool bytes(std::string_view& out)
    {
        std::uint64_t n = 0;
        if (!number(n) || n > m_bytes.size() - m_at)
            return false;
        out = m_bytes.substr(m_at, static_cast<std::size_t>(n));
        const std::uint64_t padded = n + (8 - n % 8) % 8;
        m_at = padded > m_bytes.size() - m_at ? m_bytes.size() : m_at + static_cast<std::size_t>(padded);
        return true;
    }
    bool bytes(std::string& out)
    {
        std::string_view view;
        if (!bytes(view))
            return false;
        out.assign(view.data(), view.size());
        return true;
    }
    // The array where it lies: the image starts at a multiple of 8 and every block too, so
    // its elements are aligned; an image whose bytes are not is refused.
    template <typename T>
    bool array(Span<T>& out)
    {
        static_assert(std::is_trivially_copyable_v<T> && alignof(T) <= 8, "an array is read as its bytes");
        std::string_view view;
        if (!bytes(view) || view.size() % sizeof(T) != 0
            || reinterpret_cast<std::uintptr_t>(view.data()) % alignof(T) != 0)
            return false;
        out = Span<T>(reinterpret_cast<const T*>(view.data()), view.size() / sizeof(T));
        return true;
    }
    bool atEnd() const noexcept { return m_at == m_bytes.size(); }

private:
    std::string_view m_bytes;
    std::size_t m_at = 0;
};

// Whether `starts` (one more than the lists) rises from 0 to `total`.
inline bool validStarts(const Span<std::uint32_t>& starts, std::size_t lists, std::size_t total)
{
    if (starts.size() != lists + 1 || starts.front() != 0 || starts.back() != total)
        return false;
    for (std::size_t i = 1; i < starts.size(); ++i)
        if (starts[i] < starts[i - 1])
            return false;
    return true;
}

} // namespace quorvex::lexicon
