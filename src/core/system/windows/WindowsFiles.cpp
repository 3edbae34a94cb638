// Reading, free space and the kinds of files on Windows.

#include "system/SystemFiles.h"
#include "system/ProgramFile.h"
#include "system/TemporaryFiles.h"
#include "system/windows/WindowsCalls.h"
#include "system/Utf16.h"

#include <cerrno>
#include <cstdlib>
#include <io.h>

namespace quorvex::sys {

std::filesystem::path pathFromUtf8(const std::string& name)
{
    // Our own conversion, not u8path's: it never throws, and the lone surrogates a Windows
    // name may hold come back from the command line's UTF-8 as they were.
    const std::u16string wide = utf16FromUtf8(name);
    return std::filesystem::path(std::wstring(wide.begin(), wide.end()));
}

std::string utf8FromPath(const std::filesystem::path& path)
{
    const std::wstring& wide = path.native();
    return utf8FromUtf16(std::u16string(wide.begin(), wide.end()));
}

std::filesystem::path runningProgram()
{
    // The buffer grows until the whole name fits: a long path may pass MAX_PATH.
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, name.data(), DWORD(name.size()));
        if (length == 0)
            return {};
        if (length < name.size()) {
            name.resize(length);
            return std::filesystem::path(name);
        }
        if (name.size() >= 32768)
            return {};
        name.resize(name.size() * 2);
    }
}

FileKind fileKind(const std::filesystem::path& path)
{
    const DWORD attrs = windowsCalls().getFileAttributes(path.c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY))
        return FileKind::Directory;  // even named with a final separator, which _wstat64 misses
    struct _stat64 st;
    if (windowsCalls().stat(path.c_str(), &st) != 0)
        return errno == ENOENT ? FileKind::Missing : FileKind::Unknown;
    if (st.st_mode & _S_IFDIR)
        return FileKind::Directory;
    if (st.st_mode & _S_IFREG)
        return FileKind::Regular;
    if (st.st_mode & _S_IFIFO)
        return FileKind::Fifo;
    if (st.st_mode & _S_IFCHR)
        return FileKind::Device;
    return FileKind::Other;
}

OpenedInput openRegularForReading(const std::filesystem::path& path)
{
    WindowsCalls& calls = windowsCalls();
    OpenedInput r;
    // Asked first: _wstat64 takes a folder named with a final separator (C:\texts\) for a
    // missing file.
    const DWORD attrs = calls.getFileAttributes(path.c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY)) {
        r.status = OpenStatus::IsDirectory;
        return r;
    }
    struct _stat64 st;
    if (calls.stat(path.c_str(), &st) != 0) {
        r.err = errno;
        r.status = r.err == ENOENT ? OpenStatus::NotFound : OpenStatus::Failed;
        return r;
    }
    if (st.st_mode & _S_IFDIR) {
        r.status = OpenStatus::IsDirectory;
        return r;
    }
    if (!(st.st_mode & _S_IFREG)) {
        r.status = OpenStatus::NotRegular;
        return r;
    }
    std::FILE* f = calls.fopen(path.c_str(), L"rb");
    if (!f) {
        r.err = errno;
        r.status = r.err == ENOENT ? OpenStatus::NotFound : OpenStatus::Failed;
        return r;
    }
    if (calls.fstat(_fileno(f), &st) != 0 || !(st.st_mode & _S_IFREG)) {
        std::fclose(f);
        r.status = OpenStatus::NotRegular;
        return r;
    }
    r.file = f;
    r.size = static_cast<std::uint64_t>(st.st_size);
    r.status = OpenStatus::Ok;
    return r;
}

std::filesystem::path userCacheBase()
{
    // Wide, so that a user name outside the code page still makes a usable folder.
    if (const wchar_t* local = _wgetenv(L"LOCALAPPDATA"); local != nullptr && local[0] != L'\0')
        return std::filesystem::path(local);
    return {};
}

bool freeSpace(const std::filesystem::path& path, std::uint64_t& bytes)
{
    WindowsCalls& calls = windowsCalls();
    std::filesystem::path folder = path;
    const DWORD attrs = calls.getFileAttributes(path.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES || !(attrs & FILE_ATTRIBUTE_DIRECTORY)) {
        folder = path.parent_path();
        if (folder.empty())
            folder = L".";
    }
    ULARGE_INTEGER available;
    if (!calls.getDiskFreeSpace(folder.c_str(), &available))
        return false;
    bytes = available.QuadPart;
    return true;
}

bool stderrIsTerminal()
{
    return windowsCalls().isatty(_fileno(stderr)) != 0;
}

bool localTime(std::time_t moment, std::tm& out)
{
    return localtime_s(&out, &moment) == 0;
}

namespace detail {

void removeNativeFile(const NativeChar* name) noexcept
{
    windowsCalls().deleteFile(name);
}

} // namespace detail

} // namespace quorvex::sys
