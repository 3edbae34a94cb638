#include "concordance/TextFile.h"

#include "concordance/Cp1252.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>
#include <system_error>

namespace quorvex {

namespace fs = std::filesystem;

namespace {

FileError makeError(FileErrorKind kind, const std::string& path, std::string detail = {})
{
    FileError e;
    e.kind = kind;
    e.path = path;
    e.detail = std::move(detail);
    return e;
}

FileError errorFromErrno(int err, const std::string& path, FileErrorKind fallback)
{
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        return makeError(FileErrorKind::NotFound, path);
    case EISDIR:
        return makeError(FileErrorKind::IsDirectory, path);
    case EACCES:
    case EPERM:
        return makeError(FileErrorKind::AccessDenied, path);
    default:
        return makeError(fallback, path, err ? std::strerror(err) : std::string());
    }
}

std::string codePointText(char32_t cp)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
    std::string utf8;
    // Show the character itself next to its number.
    if (cp >= 0x20) {
        if (cp < 0x80) {
            utf8 = std::string(1, static_cast<char>(cp));
        } else if (cp < 0x800) {
            utf8 += static_cast<char>(0xC0 | (cp >> 6));
            utf8 += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            utf8 += static_cast<char>(0xE0 | (cp >> 12));
            utf8 += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            utf8 += static_cast<char>(0xF0 | (cp >> 18));
            utf8 += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            utf8 += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (cp & 0x3F));
        }
        return "« " + utf8 + " » (" + buf + ")";
    }
    return buf;
}

bool hasHighByte(const std::string& s) noexcept
{
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    return false;
}

} // namespace

std::string describeFileError(const FileError& e)
{
    const std::string name = "« " + e.path + " »";
    switch (e.kind) {
    case FileErrorKind::None:
        return {};
    case FileErrorKind::NotFound:
        return "Le fichier " + name + " est introuvable.";
    case FileErrorKind::IsDirectory:
        return name + " est un dossier, pas un fichier texte.";
    case FileErrorKind::AccessDenied:
        return "Accès refusé au fichier " + name + ".";
    case FileErrorKind::ReadFailed:
        return "Le fichier " + name + " ne peut pas être lu"
            + (e.detail.empty() ? std::string(".") : " : " + e.detail + ".");
    case FileErrorKind::TooLarge:
        return "Le fichier est trop volumineux. (" + e.path + ")";
    case FileErrorKind::NotRepresentable:
        return "Le fichier " + name + " contient, ligne " + std::to_string(e.line) + ", "
            + (e.detail.empty() ? std::string("une suite d'octets UTF-8 invalide")
                                : "le caractère " + e.detail)
            + " que le codage Windows-1252 ne peut pas représenter.";
    case FileErrorKind::WriteFailed:
        return "Le fichier " + name + " ne peut pas être écrit"
            + (e.detail.empty() ? std::string(".") : " : " + e.detail + ".");
    }
    return {};
}

TextReadResult readText(const std::string& path, std::size_t maxBytes)
{
    TextReadResult result;
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        result.error = makeError(FileErrorKind::IsDirectory, path);
        return result;
    }
    errno = 0;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        result.error = errorFromErrno(errno, path, FileErrorKind::ReadFailed);
        return result;
    }
    try {
        const auto size = fs::file_size(path, ec);
        if (!ec && size > maxBytes) {
            std::fclose(f);
            result.error = makeError(FileErrorKind::TooLarge, path);
            return result;
        }
        if (!ec)
            result.text.reserve(static_cast<std::size_t>(size));
        char buffer[1 << 16];
        for (;;) {
            const std::size_t n = std::fread(buffer, 1, sizeof buffer, f);
            result.text.append(buffer, n);
            if (result.text.size() > maxBytes) {
                std::fclose(f);
                result.text.clear();
                result.error = makeError(FileErrorKind::TooLarge, path);
                return result;
            }
            if (n < sizeof buffer)
                break;
        }
        const bool failed = std::ferror(f) != 0;
        const int err = errno;
        std::fclose(f);
        if (failed) {
            result.text.clear();
            result.error = errorFromErrno(err, path, FileErrorKind::ReadFailed);
            return result;
        }
    } catch (const std::bad_alloc&) {
        std::fclose(f);
        result.text = std::string();
        result.error = makeError(FileErrorKind::TooLarge, path);
        return result;
    }

    const bool bom = result.text.size() >= 3 && result.text.compare(0, 3, "\xEF\xBB\xBF") == 0;
    if (bom || (hasHighByte(result.text) && isValidUtf8(result.text))) {
        Utf8Conversion conv = utf8ToCp1252(std::string_view(result.text).substr(bom ? 3 : 0));
        if (!conv.ok) {
            result.text.clear();
            result.error = makeError(FileErrorKind::NotRepresentable, path,
                                     conv.badChar ? codePointText(conv.badChar) : std::string());
            result.error.line = conv.badLine;
            return result;
        }
        result.text = std::move(conv.bytes);
        result.convertedFromUtf8 = true;
    }
    return result;
}

FileError writeFileReplacing(const std::string& path,
                             const std::function<bool(std::ostream&)>& produce)
{
    std::error_code ec;
    if (fs::is_directory(path, ec))
        return makeError(FileErrorKind::IsDirectory, path);

    std::string temp;
    for (int k = 0;; ++k) {
        temp = path + ".~quorvex" + std::to_string(k);
        if (!fs::exists(temp, ec))
            break;
        if (k > 1000)
            return makeError(FileErrorKind::WriteFailed, path, "aucun nom temporaire libre");
    }
    bool ok = false;
    int err = 0;
    {
        errno = 0;
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) {
            const int openErr = errno;
            return errorFromErrno(openErr, path, FileErrorKind::WriteFailed);
        }
        try {
            ok = produce(out);
        } catch (const std::bad_alloc&) {
            ok = false;
        }
        out.flush();
        err = errno;
        ok = ok && out.good();
        out.close();
        ok = ok && !out.fail();
        if (!ok && err == 0)
            err = errno;
    }
    if (!ok) {
        fs::remove(temp, ec);
        FileError e = makeError(FileErrorKind::WriteFailed, path,
                                err == ENOSPC ? "le disque est plein"
                                              : (err ? std::strerror(err) : std::string()));
        return e;
    }
    fs::rename(temp, path, ec);
    if (ec) {
        fs::remove(temp, ec);
        return makeError(FileErrorKind::WriteFailed, path, ec.message());
    }
    return {};
}

bool fileExists(const std::string& path)
{
    std::error_code ec;
    return fs::exists(path, ec);
}

} // namespace quorvex
