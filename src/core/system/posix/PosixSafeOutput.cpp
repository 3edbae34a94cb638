// Replacing an output file safely, or writing a device or FIFO in place, on a POSIX system.

#include "system/SystemFiles.h"
#include "system/TemporaryFiles.h"
#include "system/posix/PosixCalls.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace quorvex::sys {

struct SafeOutput::State {
    std::string target;        // the file replaced (a link's destination)
    std::string folder, base;  // of target
    std::string temp;          // the temporary file's name, once it has one
    bool unnamed = false;      // a file without a name until commit
    int slot = -1;             // in the registry of live temporary files
    int fd = -1;
};

namespace {

void splitPath(const std::string& path, std::string& folder, std::string& base)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        folder = ".";
        base = path;
    } else {
        folder = slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
        base = path.substr(slash + 1);
    }
}

// Where a link leads, following links until a name that is not one (or does not exist).
std::string followLinks(std::string path)
{
    PosixCalls& calls = posixCalls();
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st;
        if (calls.lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        std::string to(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        const ssize_t n = calls.readlink(path.c_str(), to.data(), to.size());
        if (n < 0)
            return path;
        to.resize(static_cast<std::size_t>(n));
        if (!to.empty() && to[0] != '/') {
            std::string folder, base;
            splitPath(path, folder, base);
            to = folder + "/" + to;
        }
        path = to;
    }
    return path;
}

// Whether the mode bits forbid this user to write. Root is held to the bits as well: a file
// nobody may write is not replaced by anyone.
bool writeDenied(const std::string& path, const struct stat& st)
{
    PosixCalls& calls = posixCalls();
    const uid_t me = calls.geteuid();
    if (me == 0)
        return (st.st_mode & 0222) == 0;
    if (st.st_uid == me)
        return (st.st_mode & S_IWUSR) == 0;
    return calls.access(path.c_str(), W_OK) != 0 && errno == EACCES;
}

// Gives the nameless file `s.fd` a temporary name in its folder, for rename to move.
bool nameUnnamed(SafeOutput::State& s, int& err)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string temp = s.folder + "/" + detail::temporaryName(s.base);
        // Registered first, so that a signal between the link and the rename removes it.
        s.slot = detail::claimTemporarySlot(temp);
        if (posixCalls().linkOpenFile(s.fd, temp.c_str()) == 0) {
            s.temp = temp;
            s.unnamed = false;
            return true;
        }
        err = errno;
        detail::releaseTemporarySlot(s.slot);
        if (err != EEXIST)
            return false;
    }
    return false;
}

} // namespace

SafeOutput::SafeOutput() : m_state(std::make_unique<State>()) {}

SafeOutput::~SafeOutput()
{
    abandon();
}

OutputStatus SafeOutput::open(const std::filesystem::path& path, std::int64_t expectedSize)
{
    abandon();
    PosixCalls& calls = posixCalls();
    State& s = *m_state;
    m_err = 0;
    m_written = 0;
    m_inPlace = false;
    s.target = followLinks(path.native());

    struct stat st;
    const bool exists = calls.stat(s.target.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode))
        return OutputStatus::IsDirectory;
    if (exists && !S_ISREG(st.st_mode)) {
        // A device or a FIFO: written into as it is. Non-blocking open, so a FIFO without a
        // reader is refused instead of waiting.
        const int fd = calls.open(s.target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0);
        if (fd < 0) {
            m_err = errno;
            return (m_err == ENXIO && S_ISFIFO(st.st_mode)) ? OutputStatus::NoReader
                                                            : OutputStatus::Failed;
        }
        const int flags = calls.fcntl(fd, F_GETFL, 0);
        if (flags >= 0)
            calls.fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
        s.fd = fd;
        m_inPlace = true;
        return OutputStatus::Ok;
    }
    if (exists && writeDenied(s.target, st))
        return OutputStatus::ReadOnly;

    splitPath(s.target, s.folder, s.base);
    struct stat folderStat;
    if (calls.stat(s.folder.c_str(), &folderStat) != 0) {
        m_err = errno;
        return (m_err == ENOENT || m_err == ENOTDIR) ? OutputStatus::NotFound : OutputStatus::Failed;
    }
    if (!S_ISDIR(folderStat.st_mode)) {
        m_err = ENOTDIR;
        return OutputStatus::NotFound;
    }
    if (expectedSize >= 0 && freeSpace(s.folder, m_available)
        && static_cast<std::uint64_t>(expectedSize) > m_available)
        return OutputStatus::NoSpace;

    // A new file takes the umask's default (0666 less the umask); a replaced one its own
    // mode, from the start, so private results are never readable by others meanwhile.
    const mode_t createMode = exists ? 0600 : 0666;
    auto takeMode = [&](int fd) {
        if (!exists)
            return true;
        // Best effort: a file of another owner (saved by root) keeps its owner.
        if (st.st_uid != calls.geteuid() || st.st_gid != calls.getegid()) {
            if (calls.fchown(fd, st.st_uid, st.st_gid) != 0) {
                // Not ours to give away: the file becomes ours, with its mode.
            }
        }
        return calls.fchmod(fd, st.st_mode & 07777) == 0;
    };
    const int unnamed = calls.openUnnamed(s.folder.c_str(), O_WRONLY | O_CLOEXEC, createMode);
    if (unnamed >= 0) {
        s.fd = unnamed;
        s.unnamed = true;
        if (!takeMode(unnamed)) {
            m_err = errno;
            abandon();
            return OutputStatus::Failed;
        }
        return OutputStatus::Ok;
    }
    // Not supported here: a named temporary file then.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string temp = s.folder + "/" + detail::temporaryName(s.base);
        const int fd = calls.open(temp.c_str(),
                                  O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC,
                                  createMode);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            m_err = errno;
            // The folder is there: a missing-folder reason would mislead (/proc says so).
            return m_err == ENOENT ? OutputStatus::FolderRefuses : OutputStatus::Failed;
        }
        s.fd = fd;
        s.temp = temp;
        s.slot = detail::claimTemporarySlot(temp);
        if (!takeMode(fd)) {
            m_err = errno;
            abandon();
            return OutputStatus::Failed;
        }
        return OutputStatus::Ok;
    }
    m_err = EEXIST;
    return OutputStatus::Failed;
}

bool SafeOutput::write(const char* data, std::size_t size)
{
    PosixCalls& calls = posixCalls();
    while (size > 0) {
        const ssize_t n = calls.write(m_state->fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            m_err = errno;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
        m_written += static_cast<std::uint64_t>(n);
    }
    return true;
}

bool SafeOutput::commit()
{
    PosixCalls& calls = posixCalls();
    State& s = *m_state;
    if (m_inPlace) {
        const int fd = s.fd;
        s.fd = -1;
        if (calls.close(fd) != 0 && errno != EINTR) {
            m_err = errno;
            return false;
        }
        return true;
    }
    // Every byte on the disk before the name moves: a crash then leaves the old file.
    if (calls.fsync(s.fd) != 0) {
        m_err = errno;
        abandon();
        return false;
    }
    if (s.unnamed && !nameUnnamed(s, m_err)) {
        abandon();
        return false;
    }
    const int fd = s.fd;
    s.fd = -1;
    if (calls.close(fd) != 0 && errno != EINTR) {
        m_err = errno;
        abandon();
        return false;
    }
    if (calls.rename(s.temp.c_str(), s.target.c_str()) != 0) {
        m_err = errno;
        abandon();
        return false;
    }
    detail::releaseTemporarySlot(s.slot);
    s.temp.clear();
    return true;
}

void SafeOutput::abandon() noexcept
{
    PosixCalls& calls = posixCalls();
    State& s = *m_state;
    s.unnamed = false;
    if (s.fd >= 0) {
        calls.close(s.fd);
        s.fd = -1;
    }
    if (!s.temp.empty()) {
        calls.unlink(s.temp.c_str());
        s.temp.clear();
    }
    detail::releaseTemporarySlot(s.slot);
}

} // namespace quorvex::sys
