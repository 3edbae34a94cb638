#include "system/SystemFiles.h"

#include <csignal>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <random>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <io.h>
#include <sys/stat.h>
#include <sys/types.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/types.h>
#include <unistd.h>
#endif

namespace quorvex::sys {

std::string errnoReason(int err)
{
    switch (err) {
    case 0:
        return {};
    case ENOSPC:
        return "le disque est plein";
#ifdef EDQUOT
    case EDQUOT:
        return "le quota de disque est dépassé";
#endif
    case EFBIG:
        return "le fichier dépasse la taille permise";
    case EACCES:
    case EPERM:
        return "accès refusé";
    case ENOENT:
    case ENOTDIR:
        return "le dossier n'existe pas";
    case EROFS:
        return "le système de fichiers est en lecture seule";
    case EIO:
        return "erreur d'entrée-sortie";
    case EISDIR:
        return "c'est un dossier";
    case ENXIO:
    case ENODEV:
        return "le périphérique est absent";
    case EBUSY:
#ifdef ETXTBSY
    case ETXTBSY:
#endif
        return "le fichier est occupé";
    case ENOMEM:
        return "la mémoire manque";
    case EMFILE:
    case ENFILE:
        return "trop de fichiers ouverts";
    case ENAMETOOLONG:
        return "le nom est trop long";
#ifdef ELOOP
    case ELOOP:
        return "trop de liens symboliques";
#endif
    case EEXIST:
        return "le fichier existe déjà";
    case EINVAL:
        return "opération impossible sur ce fichier";
    case EPIPE:
        return "le lecteur a fermé le tube";
    case EAGAIN:
#if defined(EWOULDBLOCK) && EWOULDBLOCK != EAGAIN
    case EWOULDBLOCK:
#endif
        return "le fichier n'est pas prêt";
    case EXDEV:
        return "le fichier est sur un autre système de fichiers";
#ifdef ESTALE
    case ESTALE:
        return "le fichier réseau n'est plus accessible";
#endif
#ifdef EOVERFLOW
    case EOVERFLOW:
        return "le fichier est trop grand pour être lu";
#endif
    case ESPIPE:
        return "ce n'est pas un fichier ordinaire";
    default:
        return "erreur système n° " + std::to_string(err);
    }
}

std::string escapeInvalidUtf8(const std::string& s)
{
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    out.reserve(s.size());
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const std::size_t n = s.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char b = p[i];
        std::size_t len = 0;
        unsigned lo = 0x80, hi = 0xBF;  // the allowed range of the second byte
        if (b < 0x80)
            len = 1;
        else if (b >= 0xC2 && b <= 0xDF)
            len = 2;
        else if (b >= 0xE0 && b <= 0xEF) {
            len = 3;
            if (b == 0xE0) lo = 0xA0;
            if (b == 0xED) hi = 0x9F;  // no surrogates
        } else if (b >= 0xF0 && b <= 0xF4) {
            len = 4;
            if (b == 0xF0) lo = 0x90;
            if (b == 0xF4) hi = 0x8F;
        }
        bool ok = len > 0 && i + len <= n;
        for (std::size_t k = 1; ok && k < len; ++k) {
            const unsigned c = p[i + k];
            ok = k == 1 ? (c >= lo && c <= hi) : (c >= 0x80 && c <= 0xBF);
        }
        if (ok) {
            out.append(s, i, len);
            i += len;
        } else {
            out += "\\x";
            out += hex[b >> 4];
            out += hex[b & 15];
            ++i;
        }
    }
    return out;
}

// ---------------------------------------------------------------------------------------
// The registry of live temporary files. Fixed slots, so that a signal handler can walk it
// without allocating or locking; a slot's state says whether its name may be read.

namespace {

constexpr int kSlots = 32;
constexpr std::size_t kNameMax = 4096;
enum SlotState : int { kFree = 0, kFilling = 1, kLive = 2 };

struct TempSlot {
    std::atomic<int> state{kFree};
#ifdef _WIN32
    wchar_t name[kNameMax];
#else
    char name[kNameMax];
#endif
};
TempSlot g_slots[kSlots];

#ifdef _WIN32
std::wstring widen(const std::string& utf8)
{
    if (utf8.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
    return w;
}
#endif

int claimSlot(const std::string& name)
{
#ifdef _WIN32
    const std::wstring w = widen(name);
    if (w.size() >= kNameMax)
        return -1;
#else
    if (name.size() >= kNameMax)
        return -1;
#endif
    for (int i = 0; i < kSlots; ++i) {
        int expected = kFree;
        if (g_slots[i].state.compare_exchange_strong(expected, kFilling)) {
#ifdef _WIN32
            std::wmemcpy(g_slots[i].name, w.c_str(), w.size() + 1);
#else
            std::memcpy(g_slots[i].name, name.c_str(), name.size() + 1);
#endif
            g_slots[i].state.store(kLive);
            return i;
        }
    }
    return -1;  // more saves at once than slots: the file is still removed on failure
}

void releaseSlot(int& slot) noexcept
{
    if (slot >= 0) {
        int expected = kLive;
        g_slots[slot].state.compare_exchange_strong(expected, kFree);
    }
    slot = -1;
}

std::string randomSuffix()
{
    static const char* chars = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device rd;
    std::string s;
    for (int i = 0; i < 12; ++i)
        s += chars[rd() % 36];
    return s;
}

// The folder of `path` ("." when it has none) and its last component.
void splitPath(const std::string& path, std::string& folder, std::string& base)
{
#ifdef _WIN32
    const std::size_t slash = path.find_last_of("/\\");
#else
    const std::size_t slash = path.rfind('/');
#endif
    if (slash == std::string::npos) {
        folder = ".";
        base = path;
    } else {
        folder = slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
        base = path.substr(slash + 1);
    }
}

} // namespace

void removeLiveTemporaryFiles() noexcept
{
    for (TempSlot& slot : g_slots) {
        int expected = kLive;
        if (slot.state.compare_exchange_strong(expected, kFilling)) {
#ifdef _WIN32
            DeleteFileW(slot.name);
#else
            unlink(slot.name);
#endif
            slot.state.store(kFree);
        }
    }
}

std::size_t liveTemporaryFileCount() noexcept
{
    std::size_t n = 0;
    for (const TempSlot& slot : g_slots)
        n += slot.state.load() == kLive;
    return n;
}

// ---------------------------------------------------------------------------------------

#ifdef _WIN32

namespace {

int errnoFromWindows(DWORD code)
{
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
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

} // namespace

OpenedInput openRegularForReading(const std::string& path)
{
    OpenedInput r;
    const std::wstring w = widen(path);
    struct _stat64 st;
    if (_wstat64(w.c_str(), &st) != 0) {
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
    std::FILE* f = _wfopen(w.c_str(), L"rb");
    if (!f) {
        r.err = errno;
        r.status = r.err == ENOENT ? OpenStatus::NotFound : OpenStatus::Failed;
        return r;
    }
    if (_fstat64(_fileno(f), &st) != 0 || !(st.st_mode & _S_IFREG)) {
        std::fclose(f);
        r.status = OpenStatus::NotRegular;
        return r;
    }
    r.file = f;
    r.size = static_cast<std::uint64_t>(st.st_size);
    r.status = OpenStatus::Ok;
    return r;
}

bool freeSpace(const std::string& path, std::uint64_t& bytes)
{
    std::string folder, base;
    const DWORD attrs = GetFileAttributesW(widen(path).c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY))
        folder = path;
    else
        splitPath(path, folder, base);
    ULARGE_INTEGER avail;
    if (!GetDiskFreeSpaceExW(widen(folder).c_str(), &avail, nullptr, nullptr))
        return false;
    bytes = avail.QuadPart;
    return true;
}

OutputStatus SafeOutput::open(const std::string& path, std::int64_t expectedSize)
{
    abandon();
    m_err = 0;
    m_written = 0;
    m_direct = false;
    m_target = path;
    const std::wstring wtarget = widen(path);
    const DWORD attrs = GetFileAttributesW(wtarget.c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES) {
        if (attrs & FILE_ATTRIBUTE_DIRECTORY)
            return OutputStatus::IsDirectory;
        if (attrs & FILE_ATTRIBUTE_READONLY)
            return OutputStatus::ReadOnly;
    }
    std::string folder, base;
    splitPath(path, folder, base);
    if (GetFileAttributesW(widen(folder).c_str()) == INVALID_FILE_ATTRIBUTES)
        return OutputStatus::NotFound;
    if (expectedSize >= 0 && freeSpace(folder, m_available)
        && static_cast<std::uint64_t>(expectedSize) > m_available)
        return OutputStatus::NoSpace;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string temp = folder + "\\" + base + ".~quorvex" + randomSuffix();
        HANDLE h = CreateFileW(widen(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            m_handle = h;
            m_temp = temp;
            m_slot = claimSlot(temp);
            return OutputStatus::Ok;
        }
        const DWORD code = GetLastError();
        if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) {
            m_err = errnoFromWindows(code);
            return OutputStatus::Failed;
        }
    }
    m_err = EEXIST;
    return OutputStatus::Failed;
}

bool SafeOutput::write(const char* data, std::size_t size)
{
    while (size > 0) {
        const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
        DWORD done = 0;
        if (!WriteFile(static_cast<HANDLE>(m_handle), data, chunk, &done, nullptr)) {
            m_err = errnoFromWindows(GetLastError());
            return false;
        }
        data += done;
        size -= done;
        m_written += done;
    }
    return true;
}

bool SafeOutput::commit()
{
    HANDLE h = static_cast<HANDLE>(m_handle);
    if (!FlushFileBuffers(h)) {
        m_err = errnoFromWindows(GetLastError());
        abandon();
        return false;
    }
    CloseHandle(h);
    m_handle = nullptr;
    const std::wstring wtemp = widen(m_temp), wtarget = widen(m_target);
    BOOL ok;
    if (GetFileAttributesW(wtarget.c_str()) != INVALID_FILE_ATTRIBUTES)
        ok = ReplaceFileW(wtarget.c_str(), wtemp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                          nullptr, nullptr);
    else
        ok = MoveFileExW(wtemp.c_str(), wtarget.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) {
        m_err = errnoFromWindows(GetLastError());
        abandon();
        return false;
    }
    releaseSlot(m_slot);
    m_temp.clear();
    return true;
}

void SafeOutput::abandon() noexcept
{
    if (m_handle) {
        CloseHandle(static_cast<HANDLE>(m_handle));
        m_handle = nullptr;
    }
    if (!m_temp.empty()) {
        DeleteFileW(widen(m_temp).c_str());
        m_temp.clear();
    }
    releaseSlot(m_slot);
}

bool localTime(std::time_t moment, std::tm& out)
{
    return localtime_s(&out, &moment) == 0;
}

bool stderrIsTerminal()
{
    return _isatty(_fileno(stderr)) != 0;
}

#else // POSIX

OpenedInput openRegularForReading(const std::string& path)
{
    OpenedInput r;
    struct stat st;
    // stat first, so that a FIFO is never opened: opening one waits for a writer.
    if (::stat(path.c_str(), &st) != 0) {
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
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        r.err = errno;
        r.status = (r.err == ENOENT || r.err == ENOTDIR) ? OpenStatus::NotFound : OpenStatus::Failed;
        return r;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        r.status = S_ISDIR(st.st_mode) ? OpenStatus::IsDirectory : OpenStatus::NotRegular;
        return r;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    std::FILE* f = ::fdopen(fd, "rb");
    if (!f) {
        r.err = errno;
        ::close(fd);
        return r;
    }
    r.file = f;
    r.size = static_cast<std::uint64_t>(st.st_size);
    r.status = OpenStatus::Ok;
    return r;
}

bool freeSpace(const std::string& path, std::uint64_t& bytes)
{
    struct stat st;
    std::string folder = path, base;
    if (::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        splitPath(path, folder, base);
    struct statvfs vfs;
    // A file system of no blocks (/proc, /sys) has no free space to speak of: unknown.
    if (::statvfs(folder.c_str(), &vfs) != 0 || vfs.f_blocks == 0)
        return false;
    bytes = static_cast<std::uint64_t>(vfs.f_bavail) * static_cast<std::uint64_t>(vfs.f_frsize);
    return true;
}

namespace {

// Where a link leads, following links until a name that is not one (or does not exist).
std::string followLinks(std::string path)
{
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        std::string to(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        const ssize_t n = ::readlink(path.c_str(), to.data(), to.size());
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
    const uid_t me = ::geteuid();
    if (me == 0)
        return (st.st_mode & 0222) == 0;
    if (st.st_uid == me)
        return (st.st_mode & S_IWUSR) == 0;
    return ::access(path.c_str(), W_OK) != 0 && errno == EACCES;
}

} // namespace

OutputStatus SafeOutput::open(const std::string& path, std::int64_t expectedSize)
{
    abandon();
    m_err = 0;
    m_written = 0;
    m_direct = false;
    m_target = followLinks(path);

    struct stat st;
    const bool exists = ::stat(m_target.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode))
        return OutputStatus::IsDirectory;
    if (exists && !S_ISREG(st.st_mode)) {
        // A device or a FIFO: written into as it is. Non-blocking open, so a FIFO without a
        // reader is refused instead of waiting.
        const int fd = ::open(m_target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) {
            m_err = errno;
            return (m_err == ENXIO && S_ISFIFO(st.st_mode)) ? OutputStatus::NoReader
                                                            : OutputStatus::Failed;
        }
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags >= 0)
            ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
        m_fd = fd;
        m_direct = true;
        return OutputStatus::Ok;
    }
    if (exists && writeDenied(m_target, st))
        return OutputStatus::ReadOnly;

    std::string& folder = m_folder;
    std::string& base = m_base;
    splitPath(m_target, folder, base);
    struct stat folderStat;
    if (::stat(folder.c_str(), &folderStat) != 0) {
        m_err = errno;
        return (m_err == ENOENT || m_err == ENOTDIR) ? OutputStatus::NotFound : OutputStatus::Failed;
    }
    if (!S_ISDIR(folderStat.st_mode)) {
        m_err = ENOTDIR;
        return OutputStatus::NotFound;
    }
    if (expectedSize >= 0 && freeSpace(folder, m_available)
        && static_cast<std::uint64_t>(expectedSize) > m_available)
        return OutputStatus::NoSpace;

    // A new file takes the umask's default (0666 less the umask); a replaced one its own
    // mode, from the start, so private results are never readable by others meanwhile.
    const mode_t createMode = exists ? 0600 : 0666;
    auto takeMode = [&](int fd) {
        if (!exists)
            return true;
        // Best effort: a file of another owner (saved by root) keeps its owner.
        if (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) {
            if (::fchown(fd, st.st_uid, st.st_gid) != 0) {
                // Not ours to give away: the file becomes ours, with its mode.
            }
        }
        return ::fchmod(fd, st.st_mode & 07777) == 0;
    };
#ifdef O_TMPFILE
    // Nameless until commit gives it one, when /proc/self/fd can name it for linkat.
    if (::access("/proc/self/fd", X_OK) == 0) {
        const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, createMode);
        if (fd >= 0) {
            m_fd = fd;
            m_anonymous = true;
            if (!takeMode(fd)) {
                m_err = errno;
                abandon();
                return OutputStatus::Failed;
            }
            return OutputStatus::Ok;
        }
        // Not supported by this file system: a named temporary file then.
    }
#endif
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string temp = folder + "/" + base + ".~quorvex" + randomSuffix();
        const int fd = ::open(temp.c_str(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC,
                              createMode);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            m_err = errno;
            // The folder is there: a missing-folder reason would mislead (/proc says so).
            return m_err == ENOENT ? OutputStatus::FolderRefuses : OutputStatus::Failed;
        }
        m_fd = fd;
        m_temp = temp;
        m_slot = claimSlot(temp);
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
    while (size > 0) {
        const ssize_t n = ::write(m_fd, data, size);
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
    if (m_direct) {
        const int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0 && errno != EINTR) {
            m_err = errno;
            return false;
        }
        return true;
    }
    // Every byte on the disk before the name moves: a crash then leaves the old file.
    if (::fsync(m_fd) != 0) {
        m_err = errno;
        abandon();
        return false;
    }
    if (m_anonymous && !nameAnonymous()) {
        abandon();
        return false;
    }
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0 && errno != EINTR) {
        m_err = errno;
        abandon();
        return false;
    }
    if (::rename(m_temp.c_str(), m_target.c_str()) != 0) {
        m_err = errno;
        abandon();
        return false;
    }
    releaseSlot(m_slot);
    m_temp.clear();
    return true;
}

bool SafeOutput::nameAnonymous()
{
    const std::string self = "/proc/self/fd/" + std::to_string(m_fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string temp = m_folder + "/" + m_base + ".~quorvex" + randomSuffix();
        // Registered first, so that a signal between the link and the rename removes it.
        m_slot = claimSlot(temp);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            m_temp = temp;
            m_anonymous = false;
            return true;
        }
        m_err = errno;
        releaseSlot(m_slot);
        if (m_err != EEXIST)
            return false;
    }
    return false;
}

void SafeOutput::abandon() noexcept
{
    m_anonymous = false;
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temp.empty()) {
        ::unlink(m_temp.c_str());
        m_temp.clear();
    }
    releaseSlot(m_slot);
}

bool localTime(std::time_t moment, std::tm& out)
{
    return ::localtime_r(&moment, &out) != nullptr;
}

bool stderrIsTerminal()
{
    return ::isatty(STDERR_FILENO) != 0;
}

#endif

// Both platforms: an output neither committed nor abandoned leaves no temporary file.
SafeOutput::~SafeOutput()
{
    abandon();
}

} // namespace quorvex::sys

namespace quorvex::sys {

namespace {

extern "C" void removeTemporariesAndDie(int sig)
{
    removeLiveTemporaryFiles();
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

} // namespace

void removeTemporaryFilesOnTermination()
{
    std::signal(SIGINT, removeTemporariesAndDie);
    std::signal(SIGTERM, removeTemporariesAndDie);
#ifdef SIGHUP
    std::signal(SIGHUP, removeTemporariesAndDie);
#endif
}

} // namespace quorvex::sys
