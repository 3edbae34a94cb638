#pragma once
// Every Windows call the system room makes, behind one small class: the real calls by
// default, and a test can put its own in their place to make any of them fail. Names are
// UTF-16, as the system takes them.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdio>
#include <sys/stat.h>
#include <sys/types.h>

namespace quorvex::sys {

class WindowsCalls {
public:
    virtual ~WindowsCalls() = default;

    virtual DWORD getFileAttributes(const wchar_t* path);
    virtual int stat(const wchar_t* path, struct _stat64* st);
    virtual int fstat(int fd, struct _stat64* st);
    virtual std::FILE* fopen(const wchar_t* path, const wchar_t* mode);
    virtual BOOL getDiskFreeSpace(const wchar_t* folder, ULARGE_INTEGER* available);
    virtual HANDLE createFile(const wchar_t* path, DWORD access, DWORD share, DWORD disposition,
                              DWORD attributes);
    virtual BOOL writeFile(HANDLE file, const void* data, DWORD size, DWORD* written);
    virtual BOOL flushFileBuffers(HANDLE file);
    virtual BOOL closeHandle(HANDLE file);
    virtual DWORD getFullPathName(const wchar_t* path, DWORD size, wchar_t* full);
    virtual BOOL replaceFile(const wchar_t* replaced, const wchar_t* replacement);
    virtual BOOL moveFile(const wchar_t* from, const wchar_t* to, DWORD flags);
    virtual BOOL deleteFile(const wchar_t* path);
    // A read-only mapping of an open file (nullptr on failure), a view of its first `size`
    // bytes (nullptr on failure), and the view's removal.
    virtual HANDLE createFileMapping(HANDLE file);
    virtual const void* mapViewOfFile(HANDLE mapping, SIZE_T size);
    virtual BOOL unmapViewOfFile(const void* view);
    virtual DWORD lastError();
    virtual int isatty(int fd);
};

// The calls in use: the real ones unless a test installed others.
WindowsCalls& windowsCalls() noexcept;
// Puts `calls` in place of the real calls (nullptr puts the real ones back).
void installWindowsCalls(WindowsCalls* calls) noexcept;

// The errno value nearest to a Windows error code, for the French reasons.
int errnoFromWindows(DWORD code);

} // namespace quorvex::sys
