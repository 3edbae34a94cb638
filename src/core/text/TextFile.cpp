#include "text/TextFile.h"

#include "text/Cp1252.h"

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

// The system's reason in French for the common cases, its own words otherwise.
std::string reasonText(int err)
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
    case EACCES:
    case EPERM:
        return "accès refusé";
    case ENOENT:
    case ENOTDIR:
        return "le dossier n'existe pas";
    case EROFS:
        return "le support est en lecture seule";
    case EIO:
        return "erreur d'entrée-sortie";
    default:
        return std::strerror(err);
    }
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
        return makeError(fallback, path, reasonText(err));
    }
}

std::string codePointText(char32_t cp)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
    // Show the character itself next to its number.
    if (cp >= 0x20) {
        const std::string utf8 = unicodeToUtf8(cp);
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
        return "Le fichier " + name + " est trop volumineux pour être chargé.";
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
        // Read straight into the text at its known size, then on in chunks in case the file
        // grew or its size was unknown.
        std::size_t have = 0;
        if (!ec && size > 0) {
            result.text.resize(static_cast<std::size_t>(size));
            have = std::fread(result.text.data(), 1, result.text.size(), f);
            result.text.resize(have);
        }
        char buffer[1 << 16];
        for (;;) {
            const std::size_t n = std::fread(buffer, 1, sizeof buffer, f);
            result.text.append(buffer, n);
            if (result.text.size() > maxBytes) {
                std::fclose(f);
                result.text = std::string();
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
            // Said of the output, "not found" would mislead: it is a write failure.
            if (openErr == EISDIR)
                return makeError(FileErrorKind::IsDirectory, path);
            return makeError(FileErrorKind::WriteFailed, path, reasonText(openErr));
        }
        errno = 0;
        try {
            ok = produce(out);
        } catch (const std::bad_alloc&) {
            ok = false;
        }
        out.flush();
        // errno only explains a failure of the stream itself, not a producer's refusal.
        if (!out.good()) {
            ok = false;
            err = errno;
        }
        out.close();
        if (out.fail() && ok) {
            ok = false;
            err = errno;
        }
    }
    if (!ok) {
        fs::remove(temp, ec);
        return makeError(FileErrorKind::WriteFailed, path, reasonText(err));
    }
    fs::rename(temp, path, ec);
    if (ec) {
        fs::remove(temp, ec);
        return makeError(FileErrorKind::WriteFailed, path, reasonText(ec.value()));
    }
    return {};
}

bool fileExists(const std::string& path)
{
    std::error_code ec;
    return fs::exists(path, ec);
}

// Opens the file for reading and closes it again; its content is not read here.
FileError checkReadable(const std::string& path)
{
    FileError error;
    error.path = path;
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        error.kind = FileErrorKind::IsDirectory;
        return error;
    }
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file) {
        std::fclose(file);
        return {};
    }
    const int err = errno;
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        error.kind = FileErrorKind::NotFound;
        break;
    case EACCES:
    case EPERM:
        error.kind = FileErrorKind::AccessDenied;
        break;
    case EFBIG:
    case EOVERFLOW:
    case ENOMEM:
        error.kind = FileErrorKind::TooLarge;
        break;
    default:
        error.kind = FileErrorKind::ReadFailed;
        error.detail = err ? std::strerror(err) : std::string();
        break;
    }
    return error;
}


} // namespace quorvex
