#pragma once
// The core's only door to the operating system: what kind of file a name reaches, opening a
// text for reading, replacing an output file safely or writing into it in place, free space,
// and the French words for the system's error codes. One interface; posix/ and windows/ each
// implement it, and the build picks one. Names are std::filesystem::path, so a Windows name
// stays UTF-16 all the way to the system.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>

namespace quorvex::sys {

// A name as the program receives it (UTF-8 bytes, or any bytes on POSIX) as a path.
std::filesystem::path pathFromUtf8(const std::string& name);

// The system's reason for `err` (an errno value) as a French phrase, lower case, no final
// stop: "le disque est plein". Every code the program can meet has its own words; others get
// a French phrase with the code's number, never the system's English text.
std::string errnoReason(int err);

// `s` with every byte that is not part of valid UTF-8 shown as "\xHH", so that echoing an
// argument or a path never makes a message invalid UTF-8.
std::string escapeInvalidUtf8(const std::string& s);

// Whether two names reach the same file (device and inode, links followed). False when
// either cannot be reached.
bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// What a name reaches, links followed.
enum class FileKind { Missing, Regular, Directory, Fifo, Device, Other, Unknown };
FileKind fileKind(const std::filesystem::path& path);

enum class OpenStatus { Ok, NotFound, IsDirectory, NotRegular, Failed };

struct OpenedInput {
    std::FILE* file = nullptr;  // owned by the caller (fclose) when status is Ok
    std::uint64_t size = 0;     // from the opened file, before any read
    OpenStatus status = OpenStatus::Failed;
    int err = 0;                // errno of a failure
};

// Opens a regular file for reading (binary). Links to a file are followed; a FIFO, device or
// socket is refused at once, without blocking.
OpenedInput openRegularForReading(const std::filesystem::path& path);

// A regular file's bytes mapped read-only, for a run that reads a text once instead of
// copying it into memory. A file another program shortens while it is mapped never ends the
// program (a bus error on POSIX): the pages past its new end read as zeros, and intact()
// turns false, so the caller reads the file again instead. Unmapped when destroyed.
class MappedFile {
public:
    struct State;  // the platform's handles, opaque here

    MappedFile();
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // Maps the whole of `input` (opened by openRegularForReading, its size as it was then).
    // False when the system refuses (err() tells why) or the file is empty: nothing is
    // mapped and the caller reads the file as usual.
    bool map(const OpenedInput& input);
    void unmap() noexcept;
    const char* data() const noexcept { return m_data; }
    std::uint64_t size() const noexcept { return m_size; }
    int err() const noexcept { return m_err; }
    // Whether every byte read from the mapping so far was the file's own: false once a page
    // past a new, shorter end was touched, or when the file is now shorter than it was mapped.
    bool intact() const noexcept;
    // The bytes before `offset` will not be read again: their pages may leave this process's
    // memory (the file stays whole; reading them again reads the file).
    void release(std::uint64_t offset) noexcept;

private:
    // The system's part of map(), for an input known to be mappable; and of unmap().
    bool mapPlatform(const OpenedInput& input);
    void unmapPlatform() noexcept;

    std::unique_ptr<State> m_state;
    const char* m_data = nullptr;
    std::uint64_t m_size = 0;
    int m_err = 0;
};

// Where this user's programs keep what they can compute again: $XDG_CACHE_HOME (when an
// absolute path), else $HOME/.cache; on Windows the local application data folder. Empty when
// the system names none.
std::filesystem::path userCacheBase();

// Bytes available to this user on the file system holding `path` (a file or a folder, which
// need not exist yet: its folder is asked). False when unknown.
bool freeSpace(const std::filesystem::path& path, std::uint64_t& bytes);

// Temporary files being written, so that a signal handler can remove them. Both functions
// are async-signal-safe; removal forgets them too.
void removeLiveTemporaryFiles() noexcept;
// Makes SIGINT, SIGTERM (and SIGHUP where there is one) remove those files first, then end
// the program as the signal would have: an interrupted save leaves the old file and no other.
void removeTemporaryFilesOnTermination();
std::size_t liveTemporaryFileCount() noexcept;

enum class OutputStatus {
    Ok,
    IsDirectory,
    NotFound,      // its folder does not exist
    ReadOnly,      // an existing file whose mode bits deny writing
    NoReader,      // a FIFO nobody reads
    NoSpace,       // `expectedSize` exceeds the free space
    FolderRefuses, // the folder exists but takes no new file (/proc, /sys)
    DanglingLink,  // a symbolic link to nothing: kept as it is
    LinkLoop,      // symbolic links that lead round in a circle: kept as they are
    OverSizeLimit, // `expectedSize` exceeds the largest file this process may write
    Failed,        // errno in `err`
};

// An output file written as a whole or not at all. The name is opened by the system, links
// and all, so that the system's rules about links apply; then, by what it reaches:
//  - a new or regular file is written into a temporary file of the reached file's folder,
//    created exclusively without following links and given the replaced file's owner, group
//    and mode, and put in place only by commit(); where the system allows, the temporary
//    file has no name at all until then, so even a killed process leaves nothing behind;
//  - a regular file with several names (hard links) is written in place, so that every name
//    sees the new content; its old content is first copied beside it, removed on success
//    and copied back on failure;
//  - a device, FIFO, terminal or the program's own standard output or error (/dev/stdout)
//    is written in place as a stream (nothing to rename, no space check).
// Destroying it uncommitted removes the temporary file (or puts the old content back).
class SafeOutput {
public:
    struct State;  // the platform's handles and names, opaque here

    SafeOutput();
    ~SafeOutput();
    SafeOutput(const SafeOutput&) = delete;
    SafeOutput& operator=(const SafeOutput&) = delete;

    // `expectedSize` (when not negative) is checked against the free space first; nothing
    // is created when it does not fit. `availableBytes` then tells the free space.
    OutputStatus open(const std::filesystem::path& path, std::int64_t expectedSize = -1);
    // False on failure, with err() set; every byte is written or the call fails.
    bool write(const char* data, std::size_t size);
    // Flushes to the disk and puts the file in place. False on failure (err() set); the old
    // file is then untouched and the temporary file removed.
    bool commit();
    // Gives up: the temporary file is removed, the old file kept.
    void abandon() noexcept;

    int err() const noexcept { return m_err; }
    std::uint64_t written() const noexcept { return m_written; }
    std::uint64_t availableBytes() const noexcept { return m_available; }
    // The largest file this process may write, when open() said OverSizeLimit.
    std::uint64_t sizeLimit() const noexcept { return m_sizeLimit; }
    // Whether the bytes go straight into a stream (a device, a FIFO, standard output).
    bool isStream() const noexcept { return m_stream; }

private:
    std::unique_ptr<State> m_state;
    int m_err = 0;
    bool m_stream = false;
    std::uint64_t m_written = 0;
    std::uint64_t m_available = 0;
    std::uint64_t m_sizeLimit = 0;
};

// Whether standard error is a terminal (where a progress line may be redrawn).
bool stderrIsTerminal();

// Local broken-down time.
bool localTime(std::time_t moment, std::tm& out);

} // namespace quorvex::sys
