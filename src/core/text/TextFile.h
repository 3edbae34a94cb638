#pragma once
// Reading a text file whole as Windows-1252 bytes, and writing a file so that a failure
// never leaves a half-written file under the chosen name. Failures come back as values.

#include <cstddef>
#include <functional>
#include <ostream>
#include <string>

namespace quorvex {

enum class FileErrorKind {
    None,
    NotFound,          // no such file or folder
    IsDirectory,       // a folder was given where a file is expected
    AccessDenied,      // no permission
    ReadFailed,        // the system refused to read it
    TooLarge,          // larger than the limit, or no memory for it
    NotRepresentable,  // UTF-8 text holding a character Windows-1252 lacks
    WriteFailed,       // the result could not be created or written (full disk, ...)
};

struct FileError {
    FileErrorKind kind = FileErrorKind::None;
    std::string path;    // as given (UTF-8, the system's encoding for names)
    std::string detail;  // the system's reason, or the offending character
    std::size_t line = 0;  // for NotRepresentable: the 1-based line

    explicit operator bool() const noexcept { return kind != FileErrorKind::None; }
};

// French sentence, UTF-8, naming the file and the reason. Shown by the windows and the CLI.
std::string describeFileError(const FileError& error);

struct TextReadResult {
    std::string text;  // Windows-1252 bytes
    FileError error;   // kind None on success
    bool convertedFromUtf8 = false;
};

// Large enough for any real corpus; beyond it the text would not fit the word table anyway.
constexpr std::size_t kDefaultMaxTextBytes = std::size_t(1) << 30;

// Reads the whole file. A file that is valid UTF-8 and holds non-ASCII characters (or starts
// with a UTF-8 byte-order mark) is converted to Windows-1252; any other file is taken byte
// for byte.
TextReadResult readText(const std::string& path, std::size_t maxBytes = kDefaultMaxTextBytes);

// Writes through a temporary file in the same folder, renamed over `path` only when `produce`
// returned true and every byte reached the disk. The old file survives any failure.
FileError writeFileReplacing(const std::string& path,
                             const std::function<bool(std::ostream&)>& produce);

bool fileExists(const std::string& path);

// Opens the file for reading and closes it again without reading it: whether a text named
// by the user can be read later.
FileError checkReadable(const std::string& path);

} // namespace quorvex
