#pragma once
// The core's only door to the operating system: opening texts for reading, replacing output
// files safely, free space, and the French words for the system's error codes. POSIX calls,
// and a Windows branch; everything else in the core stays with the standard library.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>

namespace quorvex::sys {

// The system's reason for `err` (an errno value) as a French phrase, lower case, no final
// stop: "le disque est plein". Every code the program can meet has its own words; others get
// a French phrase with the code's number, never the system's English text.
std::string errnoReason(int err);

// `s` with every byte that is not part of valid UTF-8 shown as "\xHH", so that echoing an
// argument or a path never makes a message invalid UTF-8.
std::string escapeInvalidUtf8(const std::string& s);

enum class OpenStatus { Ok, NotFound, IsDirectory, NotRegular, Failed };

struct OpenedInput {
    std::FILE* file = nullptr;  // owned by the caller (fclose) when status is Ok
    std::uint64_t size = 0;     // from fstat of the opened file, before any read
    OpenStatus status = OpenStatus::Failed;
    int err = 0;                // errno of a failure
};

// Opens a regular file for reading (binary). Links to a file are followed; a FIFO, device or
// socket is refused at once, without blocking.
OpenedInput openRegularForReading(const std::string& path);

// Bytes available to this user on the file system holding `path` (a file or a folder, which
// need not exist yet: its folder is asked). False when unknown.
bool freeSpace(const std::string& path, std::uint64_t& bytes);

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
    Failed,        // errno in `err`
};

// An output file written as a whole or not at all:
//  - a new or regular file is written into a temporary file of the same folder (random
//    name, created exclusively without following links, given the replaced file's mode),
//    renamed over it only by commit(); a link keeps pointing to the file it names, which is
//    the one replaced. On Linux the temporary file has no name at all until commit, so even
//    a process killed with SIGKILL leaves nothing behind;
//  - an existing device or FIFO is written into directly (nothing to rename, no space check).
// Destroying it uncommitted removes the temporary file.
class SafeOutput {
public:
    SafeOutput() = default;
    ~SafeOutput();
    SafeOutput(const SafeOutput&) = delete;
    SafeOutput& operator=(const SafeOutput&) = delete;

    // `expectedSize` (when not negative) is checked against the free space first; nothing
    // is created when it does not fit. `availableBytes` then tells the free space.
    OutputStatus open(const std::string& path, std::int64_t expectedSize = -1);
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

private:
#ifndef _WIN32
    bool nameAnonymous();
#endif
    std::string m_target;  // the file replaced (a link's destination)
    std::string m_folder, m_base;  // of m_target
    std::string m_temp;    // the temporary file's name, once it has one
    bool m_anonymous = false;  // a file without a name until commit (Linux O_TMPFILE)
    int m_slot = -1;       // in the registry of live temporary files
#ifdef _WIN32
    void* m_handle = nullptr;
#else
    int m_fd = -1;
#endif
    int m_err = 0;
    bool m_direct = false;
    std::uint64_t m_written = 0;
    std::uint64_t m_available = 0;
};

// Whether standard error is a terminal (where a progress line may be redrawn).
bool stderrIsTerminal();

// Local broken-down time, portable (localtime_r / localtime_s).
bool localTime(std::time_t moment, std::tm& out);

} // namespace quorvex::sys
