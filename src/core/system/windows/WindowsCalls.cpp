#include "system/windows/WindowsCalls.h"

#include <atomic>
#include <cerrno>
#include <io.h>

namespace quorvex::sys {

namespace {

WindowsCalls g_real;
std::atomic<WindowsCalls*> g_installed{nullptr};

} // namespace

WindowsCalls& windowsCalls() noexcept
{
    WindowsCalls* calls = g_installed.load();
    return calls ? *calls : g_real;
}

void installWindowsCalls(WindowsCalls* calls) noexcept
{
    g_installed.store(calls);
}

DWORD WindowsCalls::getFileAttributes(const wchar_t* path)
{
    return GetFileAttributesW(path);
}

int WindowsCalls::stat(const wchar_t* path, struct _stat64* st)
{
    return _wstat64(path, st);
}

int WindowsCalls::fstat(int fd, struct _stat64* st)
{
    return _fstat64(fd, st);
}

std::FILE* WindowsCalls::fopen(const wchar_t* path, const wchar_t* mode)
{
    return _wfopen(path, mode);
}

BOOL WindowsCalls::getDiskFreeSpace(const wchar_t* folder, ULARGE_INTEGER* available)
{
    return GetDiskFreeSpaceExW(folder, available, nullptr, nullptr);
}

HANDLE WindowsCalls::createFile(const wchar_t* path, DWORD access, DWORD share, DWORD disposition,
                                DWORD attributes)
{
    return CreateFileW(path, access, share, nullptr, disposition, attributes, nullptr);
}

BOOL WindowsCalls::writeFile(HANDLE file, const void* data, DWORD size, DWORD* written)
{
    return WriteFile(file, data, size, written, nullptr);
}

BOOL WindowsCalls::flushFileBuffers(HANDLE file)
{
    return FlushFileBuffers(file);
}

BOOL WindowsCalls::closeHandle(HANDLE file)
{
    return CloseHandle(file);
}

HANDLE WindowsCalls::createFileMapping(HANDLE file)
{
    return CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
}

const void* WindowsCalls::mapViewOfFile(HANDLE mapping, SIZE_T size)
{
    return MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, size);
}

BOOL WindowsCalls::unmapViewOfFile(const void* view)
{
    return UnmapViewOfFile(view);
}

DWORD WindowsCalls::getFullPathName(const wchar_t* path, DWORD size, wchar_t* full)
{
    return GetFullPathNameW(path, size, full, nullptr);
}

BOOL WindowsCalls::replaceFile(const wchar_t* replaced, const wchar_t* replacement)
{
    return ReplaceFileW(replaced, replacement, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
}

BOOL WindowsCalls::moveFile(const wchar_t* from, const wchar_t* to, DWORD flags)
{
    return MoveFileExW(from, to, flags);
}

BOOL WindowsCalls::deleteFile(const wchar_t* path)
{
    return DeleteFileW(path);
}

DWORD WindowsCalls::lastError()
{
    return GetLastError();
}

int WindowsCalls::isatty(int fd)
{
    return _isatty(fd);
}

int errnoFromWindows(DWORD code)
{
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
        return EACCES;
    // Another program holds the file open (an editor, a spreadsheet): it cannot be replaced.
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
        return EBUSY;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return ENOMEM;
    case ERROR_NOT_SAME_DEVICE:
        return EXDEV;
    default:
        return EIO;
    }
}

} // namespace quorvex::sys
