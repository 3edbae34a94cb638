#pragma once
// Every POSIX call the system room makes, behind one small class: the real calls by default,
// and a test can put its own in their place to make any of them fail.

#include <cstdio>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/types.h>

namespace quorvex::sys {

class PosixCalls {
public:
    virtual ~PosixCalls() = default;

    virtual int open(const char* path, int flags, mode_t mode);
    // A file without a name in `folder` (Linux's O_TMPFILE); -1 with EOPNOTSUPP where the
    // system or the file system has none.
    virtual int openUnnamed(const char* folder, int flags, mode_t mode);
    virtual int close(int fd);
    virtual ssize_t write(int fd, const void* data, size_t size);
    virtual ssize_t pread(int fd, void* data, size_t size, off_t offset);
    virtual ssize_t pwrite(int fd, const void* data, size_t size, off_t offset);
    virtual int fsync(int fd);
    virtual int fcntl(int fd, int cmd, int arg);
    virtual int stat(const char* path, struct stat* st);
    virtual int lstat(const char* path, struct stat* st);
    virtual int fstat(int fd, struct stat* st);
    virtual int statvfs(const char* path, struct statvfs* vfs);
    virtual int fchmod(int fd, mode_t mode);
    virtual int fchown(int fd, uid_t owner, gid_t group);
    virtual int ftruncate(int fd, off_t length);
    virtual ssize_t readlink(const char* path, char* to, size_t size);
    virtual int access(const char* path, int how);
    virtual int rename(const char* from, const char* to);
    // Gives the open file `fd` the name `to` (a nameless file gets its name so).
    virtual int linkOpenFile(int fd, const char* to);
    virtual int unlink(const char* path);
    virtual std::FILE* fdopen(int fd, const char* mode);
    virtual int isatty(int fd);
    // The largest file this process may write (RLIMIT_FSIZE), -1 for none. Writing beyond it
    // is made to fail with EFBIG instead of ending the program with SIGXFSZ.
    virtual long long fileSizeLimit();
    // A read-only private mapping of `size` bytes of `fd` (MAP_FAILED on failure), its
    // removal, and the hint that a range will not be read again.
    virtual void* mapForReading(int fd, size_t size);
    virtual int unmap(void* address, size_t size);
    virtual int adviseDontNeed(void* address, size_t size);
    virtual uid_t geteuid();
    virtual gid_t getegid();
};

// The calls in use: the real ones unless a test installed others.
PosixCalls& posixCalls() noexcept;
// Puts `calls` in place of the real calls (nullptr puts the real ones back). The caller keeps
// it alive while installed.
void installPosixCalls(PosixCalls* calls) noexcept;

} // namespace quorvex::sys
