// A text mapped for reading on Windows. The system refuses to shorten a file while a view of
// it is mapped, so the bytes read are always the file's own.

#include "system/SystemFiles.h"
#include "system/windows/WindowsCalls.h"

#include <cerrno>
#include <cstdint>
#include <io.h>

namespace quorvex::sys {

struct MappedFile::State {
    const void* view = nullptr;

    void clear() noexcept
    {
        if (view)
            windowsCalls().unmapViewOfFile(view);
        view = nullptr;
    }
};

MappedFile::MappedFile() : m_state(std::make_unique<State>()) {}

MappedFile::~MappedFile()
{
    m_state->clear();
}

void MappedFile::unmapPlatform() noexcept
{
    m_state->clear();
}

bool MappedFile::mapPlatform(const OpenedInput& input)
{
    WindowsCalls& calls = windowsCalls();
    const auto file = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(input.file)));
    if (file == INVALID_HANDLE_VALUE) {
        m_err = EBADF;
        return false;
    }
    const HANDLE mapping = calls.createFileMapping(file);
    if (!mapping) {
        m_err = errnoFromWindows(calls.lastError());
        return false;
    }
    // The view keeps the mapping alive: its handle is not needed past this point.
    const void* view = calls.mapViewOfFile(mapping, static_cast<SIZE_T>(input.size));
    const DWORD code = view ? 0 : calls.lastError();
    calls.closeHandle(mapping);
    if (!view) {
        m_err = errnoFromWindows(code);
        return false;
    }
    m_state->view = view;
    m_data = static_cast<const char*>(view);
    m_size = input.size;
    return true;
}

bool MappedFile::intact() const noexcept
{
    return true;
}

void MappedFile::release(std::uint64_t) noexcept
{
    // The system trims a working set of clean file pages by itself.
}

} // namespace quorvex::sys
