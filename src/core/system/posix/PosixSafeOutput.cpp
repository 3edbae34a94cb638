// Writing an output file on a POSIX system: replaced through a temporary file, or written in
// place when it is a stream or has several names.

#include "system/SystemFiles.h"
#include "system/TemporaryFiles.h"
#include "system/posix/PosixCalls.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace quorvex::sys {

struct SafeOutput::State {
    std::string target;   // the file replaced: the one the name reached
    std::string folder;   // of target, where the temporary file goes
    std::string temp;     // the temporary file's name, once it has one
    std::string backup;   // the old content of a file written in place
    bool unnamed = false; // a file without a name until commit
    bool cut = false;     // a file written in place has lost its old content
    int slot = -1;        // in the registry of live temporary files
    int fd = -1;          // what write() writes into
    int backupFd = -1;
};

namespace {

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

bool sameInode(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Where the open file `fd` lives, for a temporary file beside it: the system's own name for
// it where it keeps one (/proc), else the links of `given` followed by hand. Empty when no
// name reaches that very file.
std::string nameOfOpenFile(int fd, const std::string& given, const struct stat& st)
{
    PosixCalls& calls = posixCalls();
    auto reaches = [&](const std::string& name) {
        struct stat other;
        return !name.empty() && calls.stat(name.c_str(), &other) == 0 && sameInode(other, st);
    };
    std::string name(4096, '\0');
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t n = calls.readlink(self.c_str(), name.data(), name.size());
    if (n > 0 && static_cast<std::size_t>(n) < name.size()) {
        name.resize(static_cast<std::size_t>(n));
        if (name[0] == '/' && reaches(name))
            return name;
    }
    std::string path = given;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat link;
        if (calls.lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode))
            break;
        std::string to(4096, '\0');
        const ssize_t k = calls.readlink(path.c_str(), to.data(), to.size());
        if (k <= 0)
            break;
        to.resize(static_cast<std::size_t>(k));
        path = to[0] == '/' ? to : folderOf(path) + "/" + to;
    }
    return reaches(path) ? path : std::string();
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

// Whether `st` is the file behind the program's standard output or error: /dev/stdout and
// its kin, or the very file the shell redirected them to. Written into as the stream.
int standardStreamOf(const struct stat& st)
{
    for (const int fd : {STDOUT_FILENO, STDERR_FILENO}) {
        struct stat stream;
        if (posixCalls().fstat(fd, &stream) == 0 && sameInode(stream, st))
            return fd;
    }
    return -1;
}

void blocking(int fd)
{
    const int flags = posixCalls().fcntl(fd, F_GETFL, 0);
    if (flags >= 0)
        posixCalls().fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
}

// Every byte of `from` into `to` from offset 0, `to` cut to the same length.
bool copyContent(int from, int to, int& err)
{
    PosixCalls& calls = posixCalls();
    if (calls.ftruncate(to, 0) != 0) {
        err = errno;
        return false;
    }
    char buffer[1 << 16];
    for (off_t at = 0;;) {
        const ssize_t n = calls.pread(from, buffer, sizeof buffer, at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            err = errno;
            return false;
        }
        if (n == 0)
            return true;
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = calls.pwrite(to, buffer + done, static_cast<std::size_t>(n - done), at + done);
            if (w < 0 && errno == EINTR)
                continue;
            if (w < 0) {
                err = errno;
                return false;
            }
            done += w;
        }
        at += n;
    }
}

// A new file of a random short name in `folder`, created exclusively and never through a
// link planted at that name.
int createTemporary(const std::string& folder, mode_t mode, std::string& name, int& err)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = folder + "/" + detail::temporaryName();
        const int fd = posixCalls().open(name.c_str(),
                                         O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, mode);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST) {
            err = errno;
            name.clear();
            return -1;
        }
    }
    err = EEXIST;
    name.clear();
    return -1;
}

// Gives the nameless file `s.fd` a temporary name in its folder, for rename to move.
bool nameUnnamed(SafeOutput::State& s, int& err)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string temp = s.folder + "/" + detail::temporaryName();
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
    s = State{};
    m_err = 0;
    m_written = 0;
    m_stream = false;
    const std::string& given = path.native();

    // Opened by the system, links and all, without creating or changing anything yet;
    // non-blocking, so that a FIFO without a reader is refused instead of waited for.
    int fd = calls.open(given.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0);
    struct stat st;
    bool exists = fd >= 0;
    if (fd < 0) {
        m_err = errno;
        struct stat link;
        switch (m_err) {
        case ENOENT:
            if (calls.lstat(given.c_str(), &link) == 0 && S_ISLNK(link.st_mode))
                return OutputStatus::DanglingLink;
            break;  // a new file
        case ELOOP:
            return OutputStatus::LinkLoop;
        case EISDIR:
            return OutputStatus::IsDirectory;
        case ENXIO:
            return calls.stat(given.c_str(), &st) == 0 && S_ISFIFO(st.st_mode) ? OutputStatus::NoReader
                                                                              : OutputStatus::Failed;
        case EACCES:
        case EPERM:
            if (calls.stat(given.c_str(), &st) == 0 && S_ISREG(st.st_mode) && writeDenied(given, st))
                return OutputStatus::ReadOnly;
            return OutputStatus::Failed;
        case ENOTDIR:
            return OutputStatus::NotFound;
        default:
            return OutputStatus::Failed;
        }
    } else if (calls.fstat(fd, &st) != 0) {
        m_err = errno;
        calls.close(fd);
        return OutputStatus::Failed;
    }

    if (exists) {
        const int stream = S_ISREG(st.st_mode) ? standardStreamOf(st) : -1;
        if (!S_ISREG(st.st_mode) || stream >= 0) {
            if (stream >= 0) {
                // The stream's own descriptor: its offset and append mode are the shell's.
                calls.close(fd);
                fd = calls.fcntl(stream, F_DUPFD_CLOEXEC, 0);
                if (fd < 0) {
                    m_err = errno;
                    return OutputStatus::Failed;
                }
            }
            blocking(fd);
            s.fd = fd;
            m_stream = true;
            return OutputStatus::Ok;
        }
        if (writeDenied(given, st)) {
            calls.close(fd);
            return OutputStatus::ReadOnly;
        }
        s.target = nameOfOpenFile(fd, given, st);
        if (s.target.empty()) {
            calls.close(fd);
            m_err = ENOENT;
            return OutputStatus::Failed;
        }
    } else {
        s.target = given;
    }
    s.folder = folderOf(s.target);

    struct stat folderStat;
    const bool folderThere = calls.stat(s.folder.c_str(), &folderStat) == 0;
    if (!folderThere || !S_ISDIR(folderStat.st_mode)) {
        m_err = folderThere ? ENOTDIR : errno;
        if (fd >= 0)
            calls.close(fd);
        return (m_err == ENOENT || m_err == ENOTDIR) ? OutputStatus::NotFound : OutputStatus::Failed;
    }
    if (expectedSize >= 0) {
        const long long limit = calls.fileSizeLimit();
        if (limit >= 0 && expectedSize > limit) {
            if (fd >= 0)
                calls.close(fd);
            m_err = EFBIG;
            m_sizeLimit = static_cast<std::uint64_t>(limit);
            return OutputStatus::OverSizeLimit;
        }
        if (freeSpace(s.folder, m_available) && static_cast<std::uint64_t>(expectedSize) > m_available) {
            if (fd >= 0)
                calls.close(fd);
            return OutputStatus::NoSpace;
        }
    }

    if (exists && st.st_nlink > 1) {
        // Every name must see the new content: written in place, the old one kept beside.
        blocking(fd);
        s.fd = fd;
        s.backupFd = createTemporary(s.folder, 0600, s.backup, m_err);
        if (s.backupFd < 0) {
            abandon();
            return OutputStatus::Failed;
        }
        // The old content is read through a descriptor of its own: the output's is write-only.
        const int old = calls.open(s.target.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0);
        struct stat oldStat;
        const bool same = old >= 0 && calls.fstat(old, &oldStat) == 0 && sameInode(oldStat, st);
        if (!same)
            m_err = old < 0 ? errno : ENOENT;
        const bool copied = same && copyContent(old, s.backupFd, m_err);
        if (old >= 0)
            calls.close(old);
        if (!copied) {
            abandon();
            return OutputStatus::Failed;
        }
        if (calls.fsync(s.backupFd) != 0 || calls.ftruncate(fd, 0) != 0) {
            m_err = errno;
            abandon();
            return OutputStatus::Failed;
        }
        s.cut = true;
        return OutputStatus::Ok;
    }
    if (fd >= 0)
        calls.close(fd);

    // A new file takes the umask's default (0666 less the umask); a replaced one its own
    // owner, group and mode, from the start, so private results are never readable by
    // others meanwhile.
    const mode_t createMode = exists ? 0600 : 0666;
    auto takeOwnerAndMode = [&](int temp) {
        if (!exists)
            return true;
        if (st.st_uid != calls.geteuid() || st.st_gid != calls.getegid()) {
            if (calls.fchown(temp, st.st_uid, st.st_gid) != 0) {
                // Not ours to give away: the file becomes ours, with its mode.
            }
        }
        return calls.fchmod(temp, st.st_mode & 07777) == 0;
    };
    int temp = calls.openUnnamed(s.folder.c_str(), O_WRONLY | O_CLOEXEC, createMode);
    if (temp >= 0) {
        s.unnamed = true;
    } else {
        // No nameless files here: a named temporary file then.
        temp = createTemporary(s.folder, createMode, s.temp, m_err);
        if (temp < 0)
            // The folder is there: a missing-folder reason would mislead (/proc says so).
            return m_err == ENOENT ? OutputStatus::FolderRefuses : OutputStatus::Failed;
        s.slot = detail::claimTemporarySlot(s.temp);
    }
    s.fd = temp;
    if (!takeOwnerAndMode(temp)) {
        m_err = errno;
        abandon();
        return OutputStatus::Failed;
    }
    return OutputStatus::Ok;
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
    if (m_stream) {
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
    if (s.backupFd >= 0) {
        calls.close(s.fd);
        s.fd = -1;
        calls.close(s.backupFd);
        s.backupFd = -1;
        calls.unlink(s.backup.c_str());
        s.backup.clear();
        return true;
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
    if (s.backupFd >= 0) {
        // The old content goes back; if it cannot, the copy stays beside for the user.
        int err = 0;
        const bool restored = !s.cut || (s.fd >= 0 && copyContent(s.backupFd, s.fd, err) && calls.fsync(s.fd) == 0);
        calls.close(s.backupFd);
        s.backupFd = -1;
        if (restored)
            calls.unlink(s.backup.c_str());
        s.backup.clear();
    } else if (!s.backup.empty()) {
        calls.unlink(s.backup.c_str());
        s.backup.clear();
    }
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

bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b)
{
    struct stat sa, sb;
    return posixCalls().stat(a.c_str(), &sa) == 0 && posixCalls().stat(b.c_str(), &sb) == 0
        && sameInode(sa, sb);
}

} // namespace quorvex::sys
