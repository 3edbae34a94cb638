#include "system/CacheFolder.h"

#include "system/SystemFiles.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <system_error>
#include <vector>

namespace quorvex {

namespace {

// The key is padded with zeros to a multiple of 8 bytes, and so is the magic, so that the
// payload starts at such an offset.
constexpr std::string_view kMagic = "QUORVEX-CACHE-2\n";
constexpr std::string_view kExtension = ".cache";
// An entry larger than this is taken for damage, not read into memory.
constexpr std::uint64_t kLargestEntry = 1ull << 30;

std::uint64_t load64(const char* p) noexcept
{
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(p[i]);
    return v;
}

void append64(std::string& out, std::uint64_t v)
{
    for (int i = 0; i < 8; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::uint64_t finalMix(std::uint64_t x) noexcept
{
    x ^= x >> 32;
    x *= 0xd6e8feb86659fd93ULL;
    x ^= x >> 32;
    x *= 0xd6e8feb86659fd93ULL;
    x ^= x >> 32;
    return x;
}

std::string hex16(std::uint64_t v)
{
    char buffer[17];
    std::snprintf(buffer, sizeof buffer, "%016llx", static_cast<unsigned long long>(v));
    return buffer;
}

bool readWhole(const std::filesystem::path& path, std::string& out)
{
    const sys::OpenedInput input = sys::openRegularForReading(path);
    if (input.status != sys::OpenStatus::Ok)
        return false;
    bool ok = input.size <= kLargestEntry;
    if (ok) {
        out.resize(static_cast<std::size_t>(input.size));
        ok = std::fread(out.data(), 1, out.size(), input.file) == out.size();
    }
    std::fclose(input.file);
    return ok;
}

} // namespace

std::filesystem::path defaultCacheFolder()
{
    const std::filesystem::path base = sys::userCacheBase();
    return base.empty() ? base : base / "quorvex";
}

std::uint64_t contentHash(std::string_view bytes) noexcept
{
    // Four lanes of multiply-and-rotate over 8-byte words, so a 50 MB text hashes in a few
    // milliseconds; the length and the tail go into the last mix.
    constexpr std::uint64_t kPrime1 = 0x9e3779b185ebca87ULL, kPrime2 = 0xc2b2ae3d27d4eb4fULL;
    std::uint64_t lanes[4] = {kPrime1, kPrime2, ~kPrime1, ~kPrime2};
    const char* p = bytes.data();
    std::size_t n = bytes.size();
    while (n >= 32) {
        for (int lane = 0; lane < 4; ++lane) {
            std::uint64_t v = lanes[lane] + load64(p + 8 * lane) * kPrime2;
            v = (v << 31) | (v >> 33);
            lanes[lane] = v * kPrime1;
        }
        p += 32;
        n -= 32;
    }
    std::uint64_t h = bytes.size() * kPrime1;
    for (std::uint64_t lane : lanes)
        h = finalMix(h ^ lane) * kPrime2;
    while (n >= 8) {
        h = finalMix(h ^ load64(p)) * kPrime1;
        p += 8;
        n -= 8;
    }
    std::uint64_t tail = 0;
    for (std::size_t i = 0; i < n; ++i)
        tail |= std::uint64_t(static_cast<unsigned char>(p[i])) << (8 * i);
    return finalMix(h ^ tail ^ (n << 59));
}

std::optional<FileIdentity> identifyFile(const std::filesystem::path& path, std::string_view content)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec)
        return std::nullopt;
    const auto modified = std::filesystem::last_write_time(path, ec);
    if (ec)
        return std::nullopt;
    FileIdentity identity;
    identity.size = size;
    identity.modified = static_cast<std::int64_t>(modified.time_since_epoch().count());
    identity.contentHash = contentHash(content);
    return identity;
}

std::optional<FileIdentity> identifyFile(const std::filesystem::path& path)
{
    std::string content;
    if (!readWhole(path, content))
        return std::nullopt;
    return identifyFile(path, content);
}

std::string identityKey(std::initializer_list<FileIdentity> identities)
{
    std::string key;
    for (const FileIdentity& id : identities) {
        key += std::to_string(id.size) + ':' + std::to_string(id.modified) + ':' + hex16(id.contentHash) + ';';
    }
    return key;
}

std::filesystem::path CacheFolder::entryPath(std::string_view kind, std::string_view key) const
{
    std::string name(kind);
    name += '-';
    name += hex16(contentHash(key));
    name += kExtension;
    return m_folder / sys::pathFromUtf8(name);
}

namespace {

// The file's bytes in words, the last one padded with zeros.
bool readWholeWords(const std::filesystem::path& path, std::vector<std::uint32_t>& out, std::size_t& size)
{
    const sys::OpenedInput input = sys::openRegularForReading(path);
    if (input.status != sys::OpenStatus::Ok)
        return false;
    bool ok = input.size <= kLargestEntry;
    if (ok) {
        size = static_cast<std::size_t>(input.size);
        out.assign((size + 3) / 4, 0);
        ok = std::fread(out.data(), 1, size, input.file) == size;
    }
    std::fclose(input.file);
    return ok;
}

std::size_t paddingAfter(std::size_t n) { return (8 - n % 8) % 8; }

// Where the payload lies in an entry's bytes, or nothing when they are not an entry of `key`.
std::optional<std::string_view> payloadOf(std::string_view bytes, std::string_view key)
{
    // magic, key length, key and its padding, payload length, payload, payload hash
    std::size_t at = kMagic.size();
    if (bytes.size() < at + 8 || bytes.compare(0, kMagic.size(), kMagic) != 0)
        return std::nullopt;
    const std::uint64_t keyLength = load64(bytes.data() + at);
    at += 8;
    const std::size_t keyBytes = key.size() + paddingAfter(key.size());
    if (keyLength != key.size() || bytes.size() - at < keyBytes + 8 || bytes.compare(at, key.size(), key) != 0)
        return std::nullopt;
    at += keyBytes;
    const std::uint64_t payloadLength = load64(bytes.data() + at);
    at += 8;
    if (bytes.size() - at < 8 || bytes.size() - at - 8 != payloadLength)
        return std::nullopt;
    const std::string_view payload(bytes.data() + at, static_cast<std::size_t>(payloadLength));
    if (load64(bytes.data() + at + payloadLength) != contentHash(payload))
        return std::nullopt;
    return payload;
}

} // namespace

std::optional<std::string> CacheFolder::read(std::string_view kind, std::string_view key) const
{
    if (!enabled())
        return std::nullopt;
    std::string bytes;
    if (!readWhole(entryPath(kind, key), bytes))
        return std::nullopt;
    const std::optional<std::string_view> payload = payloadOf(bytes, key);
    if (!payload)
        return std::nullopt;
    return std::string(*payload);
}

std::optional<CachedWords> CacheFolder::readWords(std::string_view kind, std::string_view key) const
{
    if (!enabled())
        return std::nullopt;
    CachedWords out;
    std::size_t size = 0;
    if (!readWholeWords(entryPath(kind, key), out.words, size))
        return std::nullopt;
    char* const bytes = reinterpret_cast<char*>(out.words.data());
    const std::optional<std::string_view> payload = payloadOf(std::string_view(bytes, size), key);
    if (!payload)
        return std::nullopt;
    const auto offset = static_cast<std::size_t>(payload->data() - bytes);
    out.byteCount = payload->size();
    if (offset % 4 == 0) {
        out.first = offset / 4;
    } else {
        // A key whose length is no multiple of four: the payload moves to the first word.
        std::memmove(bytes, payload->data(), payload->size());
        out.first = 0;
    }
    return out;
}

std::unique_ptr<CacheEntry> CacheFolder::readInPlace(std::string_view kind, std::string_view key) const
{
    if (!enabled())
        return nullptr;
    auto entry = std::make_unique<CacheEntry>();
    const std::filesystem::path path = entryPath(kind, key);
    std::string_view bytes;
    const sys::OpenedInput input = sys::openRegularForReading(path);
    if (input.status != sys::OpenStatus::Ok)
        return nullptr;
    const bool mapped = input.size <= kLargestEntry && entry->m_mapped.map(input);
    std::fclose(input.file);
    if (mapped)
        bytes = std::string_view(entry->m_mapped.data(), static_cast<std::size_t>(entry->m_mapped.size()));
    else if (readWhole(path, entry->m_read))
        bytes = entry->m_read;
    else
        return nullptr;
    const std::optional<std::string_view> payload = payloadOf(bytes, key);
    if (!payload || !entry->intact())
        return nullptr;
    entry->m_payload = *payload;
    return entry;
}

bool CacheFolder::write(std::string_view kind, std::string_view key, std::string_view payload) const
{
    if (!enabled())
        return false;
    std::error_code ec;
    std::filesystem::create_directories(m_folder, ec);
    if (ec)
        return false;
    std::string head(kMagic);
    append64(head, key.size());
    head.append(key);
    head.append(paddingAfter(key.size()), '\0');
    append64(head, payload.size());
    std::string tail;
    append64(tail, contentHash(payload));

    sys::SafeOutput out;
    const auto total = static_cast<std::int64_t>(head.size() + payload.size() + tail.size());
    if (out.open(entryPath(kind, key), total) != sys::OutputStatus::Ok)
        return false;
    if (!out.write(head.data(), head.size()) || !out.write(payload.data(), payload.size()) ||
        !out.write(tail.data(), tail.size()) || !out.commit()) {
        out.abandon();
        return false;
    }
    keepUnderCap();
    return true;
}

void CacheFolder::keepUnderCap() const
{
    struct Entry {
        std::filesystem::path path;
        std::filesystem::file_time_type modified;
        std::uint64_t size;
    };
    std::vector<Entry> entries;
    std::uint64_t total = 0;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(m_folder, ec), end; !ec && it != end; it.increment(ec)) {
        const auto& path = it->path();
        if (path.extension() != kExtension)
            continue;
        std::error_code fileEc;
        const auto size = std::filesystem::file_size(path, fileEc);
        const auto modified = std::filesystem::last_write_time(path, fileEc);
        if (fileEc)
            continue;
        entries.push_back({path, modified, size});
        total += size;
    }
    if (total <= m_sizeCap)
        return;
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.modified < b.modified; });
    // The newest entry stays, even alone over the cap: it was just computed for this run.
    for (std::size_t i = 0; i + 1 < entries.size() && total > m_sizeCap; ++i) {
        std::error_code removeEc;
        if (std::filesystem::remove(entries[i].path, removeEc))
            total -= entries[i].size;
    }
}

} // namespace quorvex
