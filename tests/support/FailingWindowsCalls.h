#pragma once
// A double of the system room's Windows calls: passes every call to the real system, counts
// them by kind, and makes one planned occurrence of one kind fail with a Windows error code.
// Installed for its lifetime.

#include "system/windows/WindowsCalls.h"

#include <array>
#include <cstddef>

namespace quorvex::testsupport {

enum class WindowsCall {
    GetFileAttributes, CreateFile, WriteFile, FlushFileBuffers, CloseHandle, GetFullPathName,
    ReplaceFile, MoveFile, DeleteFile, CreateFileMapping, MapViewOfFile,
};
constexpr std::size_t kWindowsCallKinds = static_cast<std::size_t>(WindowsCall::MapViewOfFile) + 1;

inline const char* windowsCallName(WindowsCall c)
{
    static const char* names[kWindowsCallKinds] = {
        "GetFileAttributesW", "CreateFileW", "WriteFile", "FlushFileBuffers", "CloseHandle",
        "GetFullPathNameW", "ReplaceFileW", "MoveFileExW", "DeleteFileW", "CreateFileMappingW",
        "MapViewOfFile"};
    return names[static_cast<std::size_t>(c)];
}

class FailingWindowsCalls : public sys::WindowsCalls {
public:
    FailingWindowsCalls() { sys::installWindowsCalls(this); }
    ~FailingWindowsCalls() override { sys::installWindowsCalls(nullptr); }
    FailingWindowsCalls(const FailingWindowsCalls&) = delete;
    FailingWindowsCalls& operator=(const FailingWindowsCalls&) = delete;

    // The `occurrence`th call (1-based) of `call` fails with `code`; counts start again.
    void failAt(WindowsCall call, std::size_t occurrence, DWORD code)
    {
        m_planned = call;
        m_occurrence = occurrence;
        m_code = code;
        m_fired = false;
        m_counts = {};
    }
    std::size_t count(WindowsCall call) const { return m_counts[static_cast<std::size_t>(call)]; }
    bool fired() const { return m_fired; }

    DWORD getFileAttributes(const wchar_t* path) override
    {
        return failing(WindowsCall::GetFileAttributes) ? INVALID_FILE_ATTRIBUTES
                                                       : WindowsCalls::getFileAttributes(path);
    }
    HANDLE createFile(const wchar_t* path, DWORD access, DWORD share, DWORD disposition,
                      DWORD attributes) override
    {
        return failing(WindowsCall::CreateFile)
            ? INVALID_HANDLE_VALUE
            : WindowsCalls::createFile(path, access, share, disposition, attributes);
    }
    BOOL writeFile(HANDLE file, const void* data, DWORD size, DWORD* written) override
    {
        if (failing(WindowsCall::WriteFile)) {
            *written = 0;
            return FALSE;
        }
        return WindowsCalls::writeFile(file, data, size, written);
    }
    BOOL flushFileBuffers(HANDLE file) override
    {
        return failing(WindowsCall::FlushFileBuffers) ? FALSE : WindowsCalls::flushFileBuffers(file);
    }
    BOOL closeHandle(HANDLE file) override
    {
        // A failed close still releases the handle, as the system's does.
        const BOOL ok = WindowsCalls::closeHandle(file);
        return failing(WindowsCall::CloseHandle) ? FALSE : ok;
    }
    DWORD getFullPathName(const wchar_t* path, DWORD size, wchar_t* full) override
    {
        return failing(WindowsCall::GetFullPathName) ? 0 : WindowsCalls::getFullPathName(path, size, full);
    }
    BOOL replaceFile(const wchar_t* replaced, const wchar_t* replacement) override
    {
        return failing(WindowsCall::ReplaceFile) ? FALSE : WindowsCalls::replaceFile(replaced, replacement);
    }
    BOOL moveFile(const wchar_t* from, const wchar_t* to, DWORD flags) override
    {
        return failing(WindowsCall::MoveFile) ? FALSE : WindowsCalls::moveFile(from, to, flags);
    }
    BOOL deleteFile(const wchar_t* path) override
    {
        return failing(WindowsCall::DeleteFile) ? FALSE : WindowsCalls::deleteFile(path);
    }
    HANDLE createFileMapping(HANDLE file) override
    {
        return failing(WindowsCall::CreateFileMapping) ? nullptr : WindowsCalls::createFileMapping(file);
    }
    const void* mapViewOfFile(HANDLE mapping, SIZE_T size) override
    {
        return failing(WindowsCall::MapViewOfFile) ? nullptr : WindowsCalls::mapViewOfFile(mapping, size);
    }
    DWORD lastError() override { return m_failedLast ? m_code : WindowsCalls::lastError(); }

private:
    bool failing(WindowsCall call)
    {
        const std::size_t n = ++m_counts[static_cast<std::size_t>(call)];
        m_failedLast = !m_fired && m_occurrence > 0 && call == m_planned && n == m_occurrence;
        if (m_failedLast)
            m_fired = true;
        return m_failedLast;
    }

    std::array<std::size_t, kWindowsCallKinds> m_counts{};
    WindowsCall m_planned = WindowsCall::GetFileAttributes;
    std::size_t m_occurrence = 0;
    DWORD m_code = 0;
    bool m_fired = false;
    bool m_failedLast = false;
};

} // namespace quorvex::testsupport
