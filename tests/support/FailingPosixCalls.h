#pragma once
// A double of the system room's POSIX calls: passes every call to the real system, counts
// them by kind, and makes one planned occurrence of one kind fail with an errno value (or
// throw std::bad_alloc). Installed for its lifetime.

#include "system/posix/PosixCalls.h"

#include <array>
#include <cerrno>
#include <cstddef>
#include <new>
#include <sys/mman.h>

namespace quorvex::testsupport {

enum class PosixCall {
    Open, OpenUnnamed, Close, Write, Pread, Pwrite, Fsync, Fcntl, Stat, Lstat, Fstat, Statvfs, Fchmod,
    Fchown, Ftruncate, Readlink, Access, Rename, LinkOpenFile, Unlink, Fdopen, Isatty,
    FileSizeLimit, Geteuid, Getegid, MapForReading, Unmap, AdviseDontNeed,
};
constexpr std::size_t kPosixCallKinds = static_cast<std::size_t>(PosixCall::AdviseDontNeed) + 1;

inline const char* posixCallName(PosixCall c)
{
    static const char* names[kPosixCallKinds] = {
        "open", "openUnnamed", "close", "write", "pread", "pwrite", "fsync", "fcntl", "stat", "lstat",
        "fstat", "statvfs", "fchmod", "fchown", "ftruncate", "readlink", "access", "rename",
        "linkOpenFile", "unlink", "fdopen", "isatty", "fileSizeLimit", "geteuid", "getegid",
        "mapForReading", "unmap", "adviseDontNeed"};
    return names[static_cast<std::size_t>(c)];
}

// Stands for std::bad_alloc in a plan's errno.
constexpr int kThrowBadAlloc = -1;

class FailingPosixCalls : public sys::PosixCalls {
public:
    FailingPosixCalls() { sys::installPosixCalls(this); }
    ~FailingPosixCalls() override { sys::installPosixCalls(nullptr); }
    FailingPosixCalls(const FailingPosixCalls&) = delete;
    FailingPosixCalls& operator=(const FailingPosixCalls&) = delete;

    // The `occurrence`th call (1-based) of `call` fails with `err`; counts start again.
    void failAt(PosixCall call, std::size_t occurrence, int err)
    {
        m_planned = call;
        m_occurrence = occurrence;
        m_err = err;
        m_fired = false;
        m_counts = {};
    }
    // Every call of `call` fails with `err` (a system without the feature, say).
    void failAlways(PosixCall call, int err)
    {
        m_always = call;
        m_alwaysErr = err;
        m_hasAlways = true;
    }
    void reset()
    {
        m_occurrence = 0;
        m_fired = false;
        m_hasAlways = false;
        m_counts = {};
    }
    std::size_t count(PosixCall call) const { return m_counts[static_cast<std::size_t>(call)]; }
    bool fired() const { return m_fired; }

    int open(const char* p, int f, mode_t m) override
    {
        return failing(PosixCall::Open) ? -1 : PosixCalls::open(p, f, m);
    }
    int openUnnamed(const char* p, int f, mode_t m) override
    {
        return failing(PosixCall::OpenUnnamed) ? -1 : PosixCalls::openUnnamed(p, f, m);
    }
    int close(int fd) override
    {
        // A failed close still releases the descriptor, as the system's does.
        if (failing(PosixCall::Close)) {
            const int err = errno;
            PosixCalls::close(fd);
            errno = err;
            return -1;
        }
        return PosixCalls::close(fd);
    }
    ssize_t write(int fd, const void* d, size_t n) override
    {
        return failing(PosixCall::Write) ? -1 : PosixCalls::write(fd, d, n);
    }
    ssize_t pread(int fd, void* d, size_t n, off_t at) override
    {
        return failing(PosixCall::Pread) ? -1 : PosixCalls::pread(fd, d, n, at);
    }
    ssize_t pwrite(int fd, const void* d, size_t n, off_t at) override
    {
        return failing(PosixCall::Pwrite) ? -1 : PosixCalls::pwrite(fd, d, n, at);
    }
    int fsync(int fd) override { return failing(PosixCall::Fsync) ? -1 : PosixCalls::fsync(fd); }
    int fcntl(int fd, int c, int a) override
    {
        return failing(PosixCall::Fcntl) ? -1 : PosixCalls::fcntl(fd, c, a);
    }
    int stat(const char* p, struct stat* s) override
    {
        return failing(PosixCall::Stat) ? -1 : PosixCalls::stat(p, s);
    }
    int lstat(const char* p, struct stat* s) override
    {
        return failing(PosixCall::Lstat) ? -1 : PosixCalls::lstat(p, s);
    }
    int fstat(int fd, struct stat* s) override
    {
        return failing(PosixCall::Fstat) ? -1 : PosixCalls::fstat(fd, s);
    }
    int statvfs(const char* p, struct statvfs* v) override
    {
        return failing(PosixCall::Statvfs) ? -1 : PosixCalls::statvfs(p, v);
    }
    int fchmod(int fd, mode_t m) override
    {
        return failing(PosixCall::Fchmod) ? -1 : PosixCalls::fchmod(fd, m);
    }
    int fchown(int fd, uid_t u, gid_t g) override
    {
        return failing(PosixCall::Fchown) ? -1 : PosixCalls::fchown(fd, u, g);
    }
    int ftruncate(int fd, off_t n) override
    {
        return failing(PosixCall::Ftruncate) ? -1 : PosixCalls::ftruncate(fd, n);
    }
    ssize_t readlink(const char* p, char* t, size_t n) override
    {
        return failing(PosixCall::Readlink) ? -1 : PosixCalls::readlink(p, t, n);
    }
    int access(const char* p, int h) override
    {
        return failing(PosixCall::Access) ? -1 : PosixCalls::access(p, h);
    }
    int rename(const char* f, const char* t) override
    {
        return failing(PosixCall::Rename) ? -1 : PosixCalls::rename(f, t);
    }
    int linkOpenFile(int fd, const char* t) override
    {
        return failing(PosixCall::LinkOpenFile) ? -1 : PosixCalls::linkOpenFile(fd, t);
    }
    int unlink(const char* p) override
    {
        return failing(PosixCall::Unlink) ? -1 : PosixCalls::unlink(p);
    }
    std::FILE* fdopen(int fd, const char* m) override
    {
        return failing(PosixCall::Fdopen) ? nullptr : PosixCalls::fdopen(fd, m);
    }
    int isatty(int fd) override { return failing(PosixCall::Isatty) ? 0 : PosixCalls::isatty(fd); }
    // A limit to test against, or the real one.
    long long fileSizeLimit() override
    {
        ++m_counts[static_cast<std::size_t>(PosixCall::FileSizeLimit)];
        const long long real = PosixCalls::fileSizeLimit();
        return m_sizeLimit >= 0 ? m_sizeLimit : real;
    }
    void setFileSizeLimit(long long bytes) { m_sizeLimit = bytes; }
    void* mapForReading(int fd, size_t n) override
    {
        return failing(PosixCall::MapForReading) ? MAP_FAILED : PosixCalls::mapForReading(fd, n);
    }
    int unmap(void* a, size_t n) override
    {
        // A failed unmap would leak the mapping in the test: it still goes.
        const bool fail = failing(PosixCall::Unmap);
        const int r = PosixCalls::unmap(a, n);
        return fail ? -1 : r;
    }
    int adviseDontNeed(void* a, size_t n) override
    {
        return failing(PosixCall::AdviseDontNeed) ? -1 : PosixCalls::adviseDontNeed(a, n);
    }
    uid_t geteuid() override
    {
        ++m_counts[static_cast<std::size_t>(PosixCall::Geteuid)];
        return PosixCalls::geteuid();
    }
    gid_t getegid() override
    {
        ++m_counts[static_cast<std::size_t>(PosixCall::Getegid)];
        return PosixCalls::getegid();
    }

private:
    bool failing(PosixCall call)
    {
        const std::size_t n = ++m_counts[static_cast<std::size_t>(call)];
        int err = 0;
        if (m_hasAlways && call == m_always)
            err = m_alwaysErr;
        else if (m_occurrence > 0 && call == m_planned && n == m_occurrence) {
            m_fired = true;
            err = m_err;
        } else
            return false;
        if (err == kThrowBadAlloc)
            throw std::bad_alloc();
        errno = err;
        return true;
    }

    std::array<std::size_t, kPosixCallKinds> m_counts{};
    PosixCall m_planned = PosixCall::Open;
    std::size_t m_occurrence = 0;
    int m_err = 0;
    bool m_fired = false;
    PosixCall m_always = PosixCall::Open;
    int m_alwaysErr = 0;
    bool m_hasAlways = false;
    long long m_sizeLimit = -1;
};

} // namespace quorvex::testsupport
