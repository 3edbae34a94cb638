#pragma once
// Output gathered into large writes: small pieces are copied into a buffer written a
// megabyte at a time, a large piece (a long passage) goes to the stream as it stands.
// Nothing is written on destruction: call flush() at the end, so that an operation cut
// short by an exception leaves its last piece unwritten rather than half of it.

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

namespace quorvex {

class OutputBuffer {
public:
    explicit OutputBuffer(std::ostream& out) : m_out(out) { m_buf.reserve(kFlushAt + kDirect); }
    OutputBuffer(const OutputBuffer&) = delete;
    OutputBuffer& operator=(const OutputBuffer&) = delete;

    void append(std::string_view piece)
    {
        if (piece.size() >= kDirect) {
            flush();
            m_out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
            return;
        }
        m_buf += piece;
        if (m_buf.size() >= kFlushAt)
            flush();
    }
    void append(std::size_t count, char c)
    {
        m_buf.append(count, c);
        if (m_buf.size() >= kFlushAt)
            flush();
    }
    // For pieces built in place (a reference text); call flushIfFull after.
    std::string& buffer() { return m_buf; }
    void flushIfFull()
    {
        if (m_buf.size() >= kFlushAt)
            flush();
    }
    void flush()
    {
        if (!m_buf.empty())
            m_out.write(m_buf.data(), static_cast<std::streamsize>(m_buf.size()));
        m_buf.clear();
    }

private:
    static constexpr std::size_t kFlushAt = std::size_t(1) << 20;
    static constexpr std::size_t kDirect = std::size_t(1) << 16;

    std::ostream& m_out;
    std::string m_buf;
};

} // namespace quorvex
