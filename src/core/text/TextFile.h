#pragma once
// Reading a text file whole as Windows-1252 bytes, and writing a file so that a failure
// never leaves a half-written file under the chosen name. Failures come back as values.

#include "system/SystemFiles.h"
#include "text/Letters.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>

namespace quorvex {

enum class FileErrorKind {
    None,
    NotFound,          // no such file or folder
    IsDirectory,       // a folder was given where a file is expected
    AccessDenied,      // no permission
    ReadFailed,        // the system refused to read it
    TooLarge,          // larger than the limit
    OutOfMemory,       // within the limit, but no memory to hold it
    NotRepresentable,  // UTF-8 text holding a character Windows-1252 lacks
    WriteFailed,       // the result could not be created or written (full disk, ...)
    NotRegular,        // a FIFO, device or socket given as a text
    ReadOnly,          // an existing output whose mode bits deny writing
    NoReader,          // an output FIFO nobody reads
    NoSpace,           // the output would not fit: `needed` and `available` say by how much
    Cancelled,         // the save was stopped by the user; the old file is intact
    CancelledNoFile,   // likewise where no file stood: none is left
    OverSizeLimit,     // larger than the largest file this process may write (`needed`, `available`)
    DanglingLink,      // an output that is a symbolic link to nothing; the link is kept
    LinkLoop,          // an output whose symbolic links lead round in a circle; kept
    OutputIsLatinText, // the output is the Latin text itself, under whatever name
    OutputIsFrenchText,
};

struct FileError {
    FileErrorKind kind = FileErrorKind::None;
    std::string path;    // as given (UTF-8, the system's encoding for names)
    std::string detail;  // the system's reason, or the offending character
    std::size_t line = 0;  // for NotRepresentable: the 1-based line
    std::uint64_t needed = 0;     // for NoSpace, OverSizeLimit: the file's size
    std::uint64_t available = 0;  // for NoSpace: the free space; OverSizeLimit: the limit

    explicit operator bool() const noexcept { return kind != FileErrorKind::None; }
};

// French sentence, UTF-8, naming the file and the reason. Shown by the windows and the CLI.
std::string describeFileError(const FileError& error);

// A write of `path` stopped by the user, once its output is abandoned: whatever stands under
// the name now stood there before (Cancelled), or nothing does (CancelledNoFile).
FileError cancelledWrite(const std::string& path);

struct TextReadResult {
    std::string text;  // Windows-1252 bytes
    FileError error;   // kind None on success
    bool convertedFromUtf8 = false;
    bool convertedFromUtf16 = false;  // it began with a UTF-16 byte-order mark
};

// Large enough for any real corpus; beyond it the text would not fit the word table anyway.
constexpr std::size_t kDefaultMaxTextBytes = std::size_t(1) << 30;

// Reads the whole file. A file that is valid UTF-8 and holds non-ASCII characters (or starts
// with a UTF-8 byte-order mark), or that starts with a UTF-16 byte-order mark (either byte
// order), is converted to Windows-1252; any other file is taken byte for byte.
TextReadResult readText(const std::string& path, std::size_t maxBytes = kDefaultMaxTextBytes);

// A text for a run that reads it once from start to end (a count). A Windows-1252 file is
// mapped as it lies, with no copy; a UTF-8 or UTF-16 one, or a file the system will not map,
// is read and converted as readText does it. Built in place: open() then bytes().
class OnePassText {
public:
    // error() as readText's; on success bytes() holds the Windows-1252 text.
    void open(const std::string& path, std::size_t maxBytes = kDefaultMaxTextBytes);
    const FileError& error() const noexcept { return m_read.error; }
    std::string_view bytes() const noexcept
    {
        return m_mapped ? std::string_view(m_map.data(), static_cast<std::size_t>(m_map.size()))
                        : std::string_view(m_read.text);
    }
    bool mapped() const noexcept { return m_mapped; }
    // False when the mapped file was shortened since it was mapped: what bytes() gave is not
    // the file's, and the run reads it again with readText.
    bool intact() const noexcept { return !m_mapped || m_map.intact(); }
    // The bytes before `offset` are done with: a mapped text lets their pages go, so a pass
    // over a large text holds little of it in memory at once.
    void release(std::size_t offset) noexcept
    {
        if (m_mapped)
            m_map.release(offset);
    }

    // Calls f(piece) over the whole text, in order, in pieces of a few megabytes that never
    // end between two letters of `letters`, and lets each piece go once f is done with it
    // unless `keep` (a second pass will read it again).
    template <typename F>
    void forEachPiece(LetterSet letters, F&& f, bool keep = false)
    {
        constexpr std::size_t kPiece = std::size_t(4) << 20;
        const std::string_view all = bytes();
        std::size_t from = 0;
        while (from < all.size()) {
            std::size_t to = all.size() - from > kPiece ? from + kPiece : all.size();
            while (to < all.size() && isLetterOf(letters, static_cast<unsigned char>(all[to])))
                ++to;
            f(all.substr(from, to - from));
            if (!keep)
                release(to);
            from = to;
        }
    }

private:
    sys::MappedFile m_map;
    TextReadResult m_read;
    bool m_mapped = false;
};

// Writes through a temporary file in the same folder, renamed over `path` only when `produce`
// returned true and every byte reached the disk. The old file survives any failure.
FileError writeFileReplacing(const std::string& path,
                             const std::function<bool(std::ostream&)>& produce);

// What a long save may be given: its size known in advance (refused before a byte is written
// when it exceeds the free space; negative: unknown), and a progress callback called as the
// bytes go out (about every megabyte), which stops the save by returning false (the old file
// is then intact and the error is Cancelled).
// The texts read (paths as given; empty for none) are never written over: an output that
// reaches one of them, under any name, is refused before anything is written.
struct WriteControl {
    std::int64_t expectedSize = -1;
    std::function<bool(std::uint64_t written)> progress;
    std::string latinPath;
    std::string frenchPath;
};
FileError writeFileReplacing(const std::string& path,
                             const std::function<bool(std::ostream&)>& produce,
                             const WriteControl& control);

// The refusal of an output that is one of the texts (the same file by device and inode,
// whatever the names), or no error. Empty paths are no texts.
FileError refuseInputAsOutput(const std::string& outputPath, const std::string& latinPath,
                              const std::string& frenchPath);

// A size in bytes in French decimal units with one decimal: "850 octets", "12,3 Mo", "3,2 Go".
std::string formatByteSize(std::uint64_t bytes);

// Opens the file for reading and closes it again without reading it: whether a text named
// by the user can be read later.
FileError checkReadable(const std::string& path);

} // namespace quorvex
