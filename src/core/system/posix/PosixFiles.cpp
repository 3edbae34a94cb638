// Reading, free space and the kinds of files on a POSIX system.

#include "system/SystemFiles.h"
#include "system/ProgramFile.h"
#include "system/TemporaryFiles.h"
#include "system/posix/PosixCalls.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

namespace quorvex::sys {

std::filesystem::path pathFromUtf8(const std::string& name)
{
    // A POSIX name is bytes: kept as they are, UTF-8 or not.
    return std::filesystem::path(name);
}

std::string utf8FromPath(const std::filesystem::path& path)
{
    return path.native();
}

std::filesystem::path runningProgram()
{
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : self;
}

FileKind fileKind(const std::filesystem::path& path)
{
    struct stat st;
    if (posixCalls().stat(path.c_str(), &st) != 0)
        return (errno == ENOENT || errno == ENOTDIR) ? FileKind::Missing : FileKind::Unknown;
    if (S_ISREG(st.st_mode))
        return FileKind::Regular;
    if (S_ISDIR(st.st_mode))
        return FileKind::Directory;
    if (S_ISFIFO(st.st_mode))
        return FileKind::Fifo;
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        return FileKind::Device;
    return FileKind::Other;
}

OpenedInput openRegularForReading(const std::filesystem::path& path)
{
    PosixCalls& calls = posixCalls();
    OpenedInput r;
    struct stat st;
    // stat first, so that a FIFO is never opened: opening one waits for a writer.
    if (calls.stat(path.c_str(), &st) != 0) {
        r.err = errno;
        r.status = (r.err == ENOENT || r.err == ENOTDIR) ? OpenStatus::NotFound : OpenStatus::Failed;
        return r;
    }
    if (S_ISDIR(st.st_mode)) {
        r.status = OpenStatus::IsDirectory;
        return r;
    }
    if (!S_ISREG(st.st_mode)) {
        r.status = OpenStatus::NotRegular;
        return r;
    }
    // Non-blocking, in case the name was swapped for a FIFO since stat; checked again below.
    const int fd = calls.open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0);
    if (fd < 0) {
        r.err = errno;
        r.status = (r.err == ENOENT || r.err == ENOTDIR) ? OpenStatus::NotFound : OpenStatus::Failed;
        return r;
    }
    if (calls.fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        calls.close(fd);
        r.status = S_ISDIR(st.st_mode) ? OpenStatus::IsDirectory : OpenStatus::NotRegular;
        return r;
    }
    const int flags = calls.fcntl(fd, F_GETFL, 0);
    if (flags >= 0)
        calls.fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    std::FILE* f = calls.fdopen(fd, "rb");
    if (!f) {
        r.err = errno;
        calls.close(fd);
        return r;
    }
    r.file = f;
    r.size = static_cast<std::uint64_t>(st.st_size);
    r.status = OpenStatus::Ok;
    return r;
}

std::filesystem::path userCacheBase()
{
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg != nullptr && xdg[0] == '/')
        return std::filesystem::path(xdg);
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/')
        return std::filesystem::path(home) / ".cache";
    return {};
}

bool freeSpace(const std::filesystem::path& path, std::uint64_t& bytes)
{
    PosixCalls& calls = posixCalls();
    struct stat st;
    std::filesystem::path folder = path;
    if (calls.stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        folder = path.parent_path();
        if (folder.empty())
            folder = ".";
    }
    struct statvfs vfs;
    // A file system of no blocks (/proc, /sys) has no free space to speak of: unknown.
    if (calls.statvfs(folder.c_str(), &vfs) != 0 || vfs.f_blocks == 0)
        return false;
    bytes = static_cast<std::uint64_t>(vfs.f_bavail) * static_cast<std::uint64_t>(vfs.f_frsize);
    return true;
}

bool stderrIsTerminal()
{
    return posixCalls().isatty(STDERR_FILENO) != 0;
}

bool localTime(std::time_t moment, std::tm& out)
{
    return ::localtime_r(&moment, &out) != nullptr;
}

namespace detail {

void removeNativeFile(const NativeChar* name) noexcept
{
    posixCalls().unlink(name);
}

} // namespace detail

} // namespace quorvex::sys
