#include "cli/platform/windows/WindowsConsole.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>

namespace quorvex::windows {

void useBinaryStandardStreams()
{
    for (std::FILE* stream : {stdin, stdout, stderr})
        _setmode(_fileno(stream), _O_BINARY);
}

std::vector<std::string> utf8Arguments(int argc, wchar_t* argv[])
{
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 units");
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(utf8FromUtf16(reinterpret_cast<const char16_t*>(argv[i])));
    return args;
}

StandardTextBuffer::StandardTextBuffer(StandardHandle which)
    : m_handle(GetStdHandle(which == StandardHandle::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE))
{
    DWORD mode = 0;
    m_console = m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr
        && GetConsoleMode(static_cast<HANDLE>(m_handle), &mode);
    setp(m_buffer, m_buffer + sizeof m_buffer);
}

StandardTextBuffer::~StandardTextBuffer()
{
    sync();
    if (m_console) {
        const std::u16string rest = m_decoder.finish();
        DWORD done = 0;
        if (!rest.empty())
            WriteConsoleW(static_cast<HANDLE>(m_handle), rest.data(), static_cast<DWORD>(rest.size()), &done,
                          nullptr);
    }
}

StandardTextBuffer::int_type StandardTextBuffer::overflow(int_type c)
{
    if (sync() != 0)
        return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

int StandardTextBuffer::sync()
{
    const std::size_t size = static_cast<std::size_t>(pptr() - pbase());
    setp(m_buffer, m_buffer + sizeof m_buffer);
    return size == 0 || writeOut(m_buffer, size) ? 0 : -1;
}

bool StandardTextBuffer::writeOut(const char* data, std::size_t size)
{
    const HANDLE handle = static_cast<HANDLE>(m_handle);
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr)
        return false;
    if (m_console) {
        const std::u16string text = m_decoder.feed(std::string_view(data, size));
        const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
        std::size_t left = text.size();
        while (left > 0) {
            DWORD done = 0;
            if (!WriteConsoleW(handle, wide, static_cast<DWORD>(left), &done, nullptr) || done == 0)
                return false;
            wide += done;
            left -= done;
        }
        return true;
    }
    while (size > 0) {
        DWORD done = 0;
        if (!WriteFile(handle, data, static_cast<DWORD>(size), &done, nullptr) || done == 0)
            return false;
        data += done;
        size -= done;
    }
    return true;
}

} // namespace quorvex::windows
