// Replacing an output file safely on Windows: a temporary file beside it, then ReplaceFileW.

#include "system/SystemFiles.h"
#include "system/TemporaryFiles.h"
#include "system/windows/WindowsCalls.h"

#include <cerrno>

namespace quorvex::sys {

namespace {

// Wine's ReplaceFileW refuses relative names (ERROR_DIRECTORY); full ones suit every system.
std::filesystem::path fullPath(const std::filesystem::path& name)
{
    WindowsCalls& calls = windowsCalls();
    const DWORD needed = calls.getFullPathName(name.c_str(), 0, nullptr);
    if (needed == 0)
        return name;
    std::wstring full(needed, L'\0');
    const DWORD length = calls.getFullPathName(name.c_str(), needed, full.data());
    if (length == 0 || length >= needed)
        return name;
    full.resize(length);
    return full;
}

} // namespace

struct SafeOutput::State {
    std::filesystem::path target;
    std::filesystem::path temp;  // empty until created
    int slot = -1;
    HANDLE handle = nullptr;
};

SafeOutput::SafeOutput() : m_state(std::make_unique<State>()) {}

SafeOutput::~SafeOutput()
{
    abandon();
}

OutputStatus SafeOutput::open(const std::filesystem::path& path, std::int64_t expectedSize)
{
    abandon();
    WindowsCalls& calls = windowsCalls();
    State& s = *m_state;
    m_err = 0;
    m_written = 0;
    m_stream = false;
    s.target = path;
    const DWORD attrs = calls.getFileAttributes(path.c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES) {
        if (attrs & FILE_ATTRIBUTE_DIRECTORY)
            return OutputStatus::IsDirectory;
        if (attrs & FILE_ATTRIBUTE_READONLY)
            return OutputStatus::ReadOnly;
    }
    std::filesystem::path folder = path.parent_path();
    if (folder.empty())
        folder = L".";
    if (calls.getFileAttributes(folder.c_str()) == INVALID_FILE_ATTRIBUTES)
        return OutputStatus::NotFound;
    if (expectedSize >= 0 && freeSpace(folder, m_available)
        && static_cast<std::uint64_t>(expectedSize) > m_available)
        return OutputStatus::NoSpace;
    for (int attempt = 0; attempt < 100; ++attempt) {
        // Short and ASCII: beside any name the target may have, the whole stays legal.
        const std::filesystem::path temp = folder / std::filesystem::path(detail::temporaryName());
        HANDLE h = calls.createFile(temp.c_str(), GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
        if (h != INVALID_HANDLE_VALUE) {
            s.handle = h;
            s.temp = temp;
            s.slot = detail::claimTemporarySlot(temp);
            return OutputStatus::Ok;
        }
        const DWORD code = calls.lastError();
        if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) {
            m_err = errnoFromWindows(code);
            return OutputStatus::Failed;
        }
    }
    m_err = EEXIST;
    return OutputStatus::Failed;
}

bool SafeOutput::write(const char* data, std::size_t size)
{
    WindowsCalls& calls = windowsCalls();
    while (size > 0) {
        const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
        DWORD done = 0;
        if (!calls.writeFile(m_state->handle, data, chunk, &done)) {
            m_err = errnoFromWindows(calls.lastError());
            return false;
        }
        data += done;
        size -= done;
        m_written += done;
    }
    return true;
}

bool SafeOutput::commit()
{
    WindowsCalls& calls = windowsCalls();
    State& s = *m_state;
    if (!calls.flushFileBuffers(s.handle)) {
        m_err = errnoFromWindows(calls.lastError());
        abandon();
        return false;
    }
    calls.closeHandle(s.handle);
    s.handle = nullptr;
    BOOL ok;
    if (calls.getFileAttributes(s.target.c_str()) != INVALID_FILE_ATTRIBUTES) {
        // A file another program holds is found out first: ReplaceFileW would fail too, but
        // may leave a file of its own beside it (Wine does).
        const HANDLE probe = calls.createFile(s.target.c_str(), DELETE,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
        if (probe == INVALID_HANDLE_VALUE) {
            m_err = errnoFromWindows(calls.lastError());
            abandon();
            return false;
        }
        calls.closeHandle(probe);
        ok = calls.replaceFile(fullPath(s.target).c_str(), fullPath(s.temp).c_str());
    } else {
        ok = calls.moveFile(s.temp.c_str(), s.target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    }
    if (!ok) {
        m_err = errnoFromWindows(calls.lastError());
        abandon();
        return false;
    }
    detail::releaseTemporarySlot(s.slot);
    s.temp.clear();
    return true;
}

void SafeOutput::abandon() noexcept
{
    WindowsCalls& calls = windowsCalls();
    State& s = *m_state;
    if (s.handle) {
        calls.closeHandle(s.handle);
        s.handle = nullptr;
    }
    if (!s.temp.empty()) {
        calls.deleteFile(s.temp.c_str());
        s.temp.clear();
    }
    detail::releaseTemporarySlot(s.slot);
}

bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b)
{
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

} // namespace quorvex::sys
