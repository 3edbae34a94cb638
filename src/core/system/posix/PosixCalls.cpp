#include "system/posix/PosixCalls.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <sys/mman.h>
#include <sys/resource.h>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace quorvex::sys {

namespace {

PosixCalls g_real;
std::atomic<PosixCalls*> g_installed{nullptr};

} // namespace

PosixCalls& posixCalls() noexcept
{
    PosixCalls* calls = g_installed.load();
    return calls ? *calls : g_real;
}

void installPosixCalls(PosixCalls* calls) noexcept
{
    g_installed.store(calls);
}

int PosixCalls::open(const char* path, int flags, mode_t mode)
{
    return ::open(path, flags, mode);
}

int PosixCalls::openUnnamed(const char* folder, int flags, mode_t mode)
{
#ifdef O_TMPFILE
    // Naming it later goes through /proc/self/fd: without it, a nameless file is no use.
    if (::access("/proc/self/fd", X_OK) != 0) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return ::open(folder, flags | O_TMPFILE, mode);
#else
    (void)folder;
    (void)flags;
    (void)mode;
    errno = EOPNOTSUPP;
    return -1;
#endif
}

int PosixCalls::close(int fd)
{
    return ::close(fd);
}

ssize_t PosixCalls::pread(int fd, void* data, size_t size, off_t offset)
{
    return ::pread(fd, data, size, offset);
}

ssize_t PosixCalls::pwrite(int fd, const void* data, size_t size, off_t offset)
{
    return ::pwrite(fd, data, size, offset);
}

ssize_t PosixCalls::write(int fd, const void* data, size_t size)
{
    return ::write(fd, data, size);
}

int PosixCalls::fsync(int fd)
{
    return ::fsync(fd);
}

int PosixCalls::fcntl(int fd, int cmd, int arg)
{
    return ::fcntl(fd, cmd, arg);
}

int PosixCalls::stat(const char* path, struct stat* st)
{
    return ::stat(path, st);
}

int PosixCalls::lstat(const char* path, struct stat* st)
{
    return ::lstat(path, st);
}

int PosixCalls::fstat(int fd, struct stat* st)
{
    return ::fstat(fd, st);
}

int PosixCalls::statvfs(const char* path, struct statvfs* vfs)
{
    return ::statvfs(path, vfs);
}

int PosixCalls::fchmod(int fd, mode_t mode)
{
    return ::fchmod(fd, mode);
}

int PosixCalls::fchown(int fd, uid_t owner, gid_t group)
{
    return ::fchown(fd, owner, group);
}

int PosixCalls::ftruncate(int fd, off_t length)
{
    return ::ftruncate(fd, length);
}

ssize_t PosixCalls::readlink(const char* path, char* to, size_t size)
{
    return ::readlink(path, to, size);
}

int PosixCalls::access(const char* path, int how)
{
    return ::access(path, how);
}

int PosixCalls::rename(const char* from, const char* to)
{
    return ::rename(from, to);
}

int PosixCalls::linkOpenFile(int fd, const char* to)
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, to, AT_SYMLINK_FOLLOW);
}

int PosixCalls::unlink(const char* path)
{
    return ::unlink(path);
}

std::FILE* PosixCalls::fdopen(int fd, const char* mode)
{
    return ::fdopen(fd, mode);
}

int PosixCalls::isatty(int fd)
{
    return ::isatty(fd);
}

long long PosixCalls::fileSizeLimit()
{
    std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit;
    if (::getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return -1;
    return static_cast<long long>(limit.rlim_cur);
}

void* PosixCalls::mapForReading(int fd, size_t size)
{
    return ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
}

int PosixCalls::unmap(void* address, size_t size)
{
    return ::munmap(address, size);
}

int PosixCalls::adviseDontNeed(void* address, size_t size)
{
    return ::madvise(address, size, MADV_DONTNEED);
}

uid_t PosixCalls::geteuid()
{
    return ::geteuid();
}

gid_t PosixCalls::getegid()
{
    return ::getegid();
}

} // namespace quorvex::sys
