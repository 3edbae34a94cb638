#pragma once
// Splitting a fuzzer's bytes into the pieces a target needs: a few short fields, then the rest.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex::fuzz {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size)
        : m_rest(reinterpret_cast<const char*>(data), size)
    {
    }
    // Up to the next NUL (or the end); the NUL is consumed.
    std::string field()
    {
        const std::size_t nul = m_rest.find('\0');
        const std::string f(m_rest.substr(0, nul));
        m_rest.remove_prefix(nul == std::string_view::npos ? m_rest.size() : nul + 1);
        return f;
    }
    unsigned char byte()
    {
        if (m_rest.empty())
            return 0;
        const unsigned char b = static_cast<unsigned char>(m_rest.front());
        m_rest.remove_prefix(1);
        return b;
    }
    std::string rest() const { return std::string(m_rest); }

private:
    std::string_view m_rest;
};

// Aborts with a message when `ok` is false, so libFuzzer keeps the input.
void check(bool ok, const char* what);

} // namespace quorvex::fuzz
