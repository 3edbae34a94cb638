#pragma once
// What is computed once per text and kept between runs (a text's French lemmas, the word
// alignment of a pair): one file per entry in the user's cache folder, never required. An
// entry is named by its kind and a key that holds the identity of every file it was computed
// from (size, modification time, a hash of the content), so a changed file finds no entry and
// the entry is computed again. Entries are written whole or not at all (a temporary file
// renamed into place), so two programs writing at once leave one whole entry; an entry that
// is damaged, truncated or of another key reads as missing. A folder that cannot be made,
// read or written just means no cache. The folder is kept under a size, oldest entries out.

#include "system/SystemFiles.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

// $XDG_CACHE_HOME/quorvex, else ~/.cache/quorvex; on Windows the local application data
// folder's quorvex. Empty when the system names no such place.
std::filesystem::path defaultCacheFolder();

// What a computed entry was computed from.
struct FileIdentity {
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // the system's modification time, in its own ticks
    std::uint64_t contentHash = 0;
};

// A 64-bit hash of bytes (the same on every system), for the identity of a content.
std::uint64_t contentHash(std::string_view bytes) noexcept;

// The identity of a file whose bytes the caller holds already (they are hashed, not read
// again); nothing when the file cannot be reached.
std::optional<FileIdentity> identifyFile(const std::filesystem::path& path, std::string_view content);
// The same, reading the file (for a small file such as a dictionary).
std::optional<FileIdentity> identifyFile(const std::filesystem::path& path);

// The key's text for a list of identities, stored in the entry and compared on reading.
std::string identityKey(std::initializer_list<FileIdentity> identities);

// An entry's payload held in 32-bit words, from byte 4 * first on, so that arrays of
// 32-bit values in it can be used where they lie.
struct CachedWords {
    std::vector<std::uint32_t> words;
    std::size_t first = 0;
    std::size_t byteCount = 0;
};

// An entry's payload where it lies: mapped where the system allows, else read whole; valid
// while the object lives. It starts at an address that is a multiple of 8, so that arrays
// written at such offsets in it can be used where they are.
class CacheEntry {
public:
    std::string_view payload() const noexcept { return m_payload; }
    // False once the file was shortened under the mapping (its lost pages read as zeros).
    bool intact() const noexcept { return !m_mapped.data() || m_mapped.intact(); }

private:
    friend class CacheFolder;
    sys::MappedFile m_mapped;
    std::string m_read;
    std::string_view m_payload;
};

class CacheFolder {
public:
    static constexpr std::uint64_t kDefaultSizeCap = 256ull << 20;

    // No folder: every read misses, every write is dropped (--no-cache).
    CacheFolder() = default;
    explicit CacheFolder(std::filesystem::path folder, std::uint64_t sizeCap = kDefaultSizeCap)
        : m_folder(std::move(folder)), m_sizeCap(sizeCap) {}

    bool enabled() const { return !m_folder.empty(); }
    const std::filesystem::path& folder() const { return m_folder; }

    // The entry's payload, or nothing when it is missing, damaged or of another key.
    std::optional<std::string> read(std::string_view kind, std::string_view key) const;
    // The same, read once into words.
    std::optional<CachedWords> readWords(std::string_view kind, std::string_view key) const;
    // The same without a copy of the payload; null when missing, damaged or of another key.
    std::unique_ptr<CacheEntry> readInPlace(std::string_view kind, std::string_view key) const;
    // Writes the entry whole or not at all, then keeps the folder under its size cap. False
    // when nothing was written (no folder, read-only, full...): the caller goes on.
    bool write(std::string_view kind, std::string_view key, std::string_view payload) const;

    // The file an entry lives in.
    std::filesystem::path entryPath(std::string_view kind, std::string_view key) const;

private:
    void keepUnderCap() const;

    std::filesystem::path m_folder;
    std::uint64_t m_sizeCap = kDefaultSizeCap;
};

} // namespace quorvex
