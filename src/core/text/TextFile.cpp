#include "text/TextFile.h"

#include "system/LargePages.h"
#include "system/SystemFiles.h"
#include "text/Cp1252.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <streambuf>
#include <vector>
#include <new>

namespace quorvex {

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
        return makeError(fallback, path, sys::errnoReason(err));
    }
}

// "3,2 Go (3212345678 octets)": the rounded size, then the exact number.
std::string sizeWithBytes(std::uint64_t bytes)
{
    if (bytes < 1000)
        return formatByteSize(bytes);
    return formatByteSize(bytes) + " (" + std::to_string(bytes) + " octets)";
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

// Why a text could not be opened for reading (`in` not Ok).
FileError openError(const sys::OpenedInput& in, const std::string& path)
{
    switch (in.status) {
    case sys::OpenStatus::NotFound:
        return makeError(FileErrorKind::NotFound, path);
    case sys::OpenStatus::IsDirectory:
        return makeError(FileErrorKind::IsDirectory, path);
    case sys::OpenStatus::NotRegular:
        return makeError(FileErrorKind::NotRegular, path);
    case sys::OpenStatus::Ok:
    case sys::OpenStatus::Failed:
        break;
    }
    return errorFromErrno(in.err, path, FileErrorKind::ReadFailed);
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
    const std::string name = "« " + sys::escapeInvalidUtf8(e.path) + " »";
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
    case FileErrorKind::OutOfMemory:
        return "Mémoire insuffisante pour charger le texte " + name + ".";
    case FileErrorKind::NotRepresentable:
        return "Le fichier " + name + " contient, ligne " + std::to_string(e.line) + ", "
            + (e.detail.empty()                           ? std::string("une suite d'octets UTF-8 invalide")
                   : e.detail.compare(0, 3, "une") == 0 ? e.detail
                                                         : "le caractère " + e.detail)
            + " que le codage Windows-1252 ne peut pas représenter.";
    case FileErrorKind::WriteFailed:
        return "Le fichier " + name + " ne peut pas être écrit"
            + (e.detail.empty() ? std::string(".") : " : " + e.detail + ".");
    case FileErrorKind::NotRegular:
        return "Le fichier " + name
            + " n'est pas un fichier ordinaire (tube, périphérique ou socket) : il n'a pas été lu.";
    case FileErrorKind::ReadOnly:
        return "Le fichier " + name + " est en lecture seule : il n'a pas été remplacé.";
    case FileErrorKind::NoReader:
        return "Le tube " + name + " n'a pas de lecteur : rien n'y a été écrit.";
    case FileErrorKind::NoSpace:
        return "Le fichier " + name + " ferait " + sizeWithBytes(e.needed) + " mais il ne reste que "
            + sizeWithBytes(e.available) + " sur son disque : il n'a pas été écrit.";
    case FileErrorKind::Cancelled:
        return "L'écriture du fichier " + name + " a été annulée : l'ancien fichier est intact.";
    case FileErrorKind::CancelledNoFile:
        return "L'écriture du fichier " + name + " a été annulée : aucun fichier n'a été créé.";
    case FileErrorKind::OverSizeLimit:
        return "Le fichier " + name + " ferait " + sizeWithBytes(e.needed)
            + " mais la taille de fichier permise est de " + sizeWithBytes(e.available)
            + " : il n'a pas été écrit.";
    case FileErrorKind::DanglingLink:
        return "Le fichier " + name
            + " est un lien symbolique vers un fichier qui n'existe pas : il a été laissé tel quel.";
    case FileErrorKind::LinkLoop:
        return "Le fichier " + name
            + " est un lien symbolique qui mène à une boucle de liens : il a été laissé tel quel.";
    case FileErrorKind::OutputIsLatinText:
        return "Le fichier de sortie est le texte latin : " + name + ".";
    case FileErrorKind::OutputIsFrenchText:
        return "Le fichier de sortie est le texte français : " + name + ".";
    }
    return {};
}

std::string formatByteSize(std::uint64_t bytes)
{
    if (bytes < 1000)
        return std::to_string(bytes) + (bytes < 2 ? " octet" : " octets");
    static const char* units[] = {"ko", "Mo", "Go", "To", "Po", "Eo"};
    // Tenths of the unit, rounded; a value that rounds up to 1000 moves to the next unit.
    int unit = 0;
    std::uint64_t scale = 1000;
    while (unit < 5 && (bytes + scale / 20) / scale >= 1000) {
        ++unit;
        scale *= 1000;
    }
    const std::uint64_t tenths = (bytes + scale / 20) / (scale / 10);
    return std::to_string(tenths / 10) + "," + std::to_string(tenths % 10) + " " + units[unit];
}

namespace {

TextReadResult readTextUnguarded(const std::string& path, std::size_t maxBytes)
{
    TextReadResult result;
    const sys::OpenedInput in = sys::openRegularForReading(sys::pathFromUtf8(path));
    if (in.status != sys::OpenStatus::Ok) {
        result.error = openError(in, path);
        return result;
    }
    std::FILE* f = in.file;
    if (in.size > maxBytes) {
        std::fclose(f);
        result.error = makeError(FileErrorKind::TooLarge, path);
        return result;
    }
    try {
        // Read straight into the text at its known size, then on in chunks in case the file
        // grew meanwhile.
        errno = 0;
        std::size_t have = 0;
        if (in.size > 0) {
            result.text.reserve(static_cast<std::size_t>(in.size));
            sys::adviseLargePages(result.text.data(), static_cast<std::size_t>(in.size));
            result.text.resize(static_cast<std::size_t>(in.size));
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
        result.error = makeError(FileErrorKind::OutOfMemory, path);
        return result;
    }

    // Byte-order marks first: a UTF-16 text is never mistaken for Windows-1252.
    const std::string& t = result.text;
    const bool utf8Bom = t.size() >= 3 && t.compare(0, 3, "\xEF\xBB\xBF") == 0;
    const bool utf16Le = !utf8Bom && t.size() >= 2 && t.compare(0, 2, "\xFF\xFE") == 0;
    const bool utf16Be = !utf8Bom && t.size() >= 2 && t.compare(0, 2, "\xFE\xFF") == 0;
    const bool utf16 = utf16Le || utf16Be;
    if (utf16 || utf8Bom || (hasHighByte(t) && isValidUtf8(t))) {
        const InPlaceConversion conv = utf16 ? utf16ToCp1252InPlace(result.text, 2, utf16Be)
                                             : utf8ToCp1252InPlace(result.text, utf8Bom ? 3 : 0);
        if (!conv.ok) {
            result.text = std::string();
            result.error = makeError(FileErrorKind::NotRepresentable, path,
                                     conv.badChar ? codePointText(conv.badChar) : std::string());
            result.error.line = conv.badLine;
            if (utf16 && !conv.badChar)
                result.error.detail = "une suite d'octets UTF-16 invalide";
            return result;
        }
        result.convertedFromUtf8 = !utf16;
        result.convertedFromUtf16 = utf16;
    }
    return result;
}

} // namespace

namespace {

// Whether a text needs converting before use: a byte-order mark, or valid UTF-8 beyond ASCII.
bool needsConversion(std::string_view t) noexcept
{
    if (t.size() >= 2 && (t.compare(0, 2, "\xFF\xFE") == 0 || t.compare(0, 2, "\xFE\xFF") == 0))
        return true;
    if (t.size() >= 3 && t.compare(0, 3, "\xEF\xBB\xBF") == 0)
        return true;
    for (const char c : t)
        if (static_cast<unsigned char>(c) >= 0x80)
            return isValidUtf8(t);
    return false;
}

} // namespace

void OnePassText::open(const std::string& path, std::size_t maxBytes)
{
    m_mapped = false;
    m_read = TextReadResult();
    {
        const sys::OpenedInput in = sys::openRegularForReading(sys::pathFromUtf8(path));
        if (in.status == sys::OpenStatus::Ok && in.size <= maxBytes) {
            // A map that fails, or a text to convert, is read below like any other.
            m_mapped = m_map.map(in);
            std::fclose(in.file);
            if (m_mapped && needsConversion(bytes())) {
                m_map.unmap();
                m_mapped = false;
            }
            if (m_mapped)
                return;
        } else if (in.status == sys::OpenStatus::Ok) {
            std::fclose(in.file);
        }
    }
    m_read = readText(path, maxBytes);
}

TextReadResult readText(const std::string& path, std::size_t maxBytes)
{
    // The reading itself answers a lack of memory; this is the net under the opening.
    try {
        return readTextUnguarded(path, maxBytes);
    } catch (const std::bad_alloc&) {
        TextReadResult result;
        result.error = makeError(FileErrorKind::OutOfMemory, path);
        return result;
    }
}

namespace {

// A stream buffer over a SafeOutput: bytes go out in large writes, the progress callback is
// asked between them, and a failure makes the stream bad so the producer stops.
class SafeOutputBuffer : public std::streambuf {
public:
    SafeOutputBuffer(sys::SafeOutput& output, const WriteControl& control)
        : m_output(output), m_control(control), m_buffer(std::size_t(1) << 16)
    {
        setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
    }
    bool cancelled() const noexcept { return m_cancelled; }
    bool failed() const noexcept { return m_failed; }

protected:
    int_type overflow(int_type ch) override
    {
        if (!drain())
            return traits_type::eof();
        if (!traits_type::eq_int_type(ch, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(ch);
            pbump(1);
        }
        return traits_type::not_eof(ch);
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override
    {
        if (m_failed)
            return 0;
        if (n <= epptr() - pptr()) {
            std::memcpy(pptr(), s, static_cast<std::size_t>(n));
            pbump(static_cast<int>(n));
            return n;
        }
        if (!drain() || !send(s, static_cast<std::size_t>(n)))
            return 0;
        return n;
    }
    int sync() override { return drain() ? 0 : -1; }

private:
    bool drain()
    {
        if (m_failed)
            return false;
        const std::size_t n = static_cast<std::size_t>(pptr() - pbase());
        setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
        return n == 0 || send(m_buffer.data(), n);
    }
    bool send(const char* s, std::size_t n)
    {
        // Large writes are cut so that progress (and a cancel) is heard every few megabytes.
        constexpr std::size_t kStep = std::size_t(4) << 20;
        while (n > 0) {
            const std::size_t chunk = n < kStep ? n : kStep;
            if (!m_output.write(s, chunk)) {
                m_failed = true;
                return false;
            }
            s += chunk;
            n -= chunk;
            if (m_control.progress && !m_control.progress(m_output.written())) {
                m_cancelled = m_failed = true;
                return false;
            }
        }
        return true;
    }

    sys::SafeOutput& m_output;
    const WriteControl& m_control;
    std::vector<char> m_buffer;
    bool m_failed = false;
    bool m_cancelled = false;
};

} // namespace

FileError writeFileReplacing(const std::string& path,
                             const std::function<bool(std::ostream&)>& produce)
{
    return writeFileReplacing(path, produce, WriteControl{});
}

FileError cancelledWrite(const std::string& path)
{
    const bool nothing = sys::fileKind(sys::pathFromUtf8(path)) == sys::FileKind::Missing;
    return makeError(nothing ? FileErrorKind::CancelledNoFile : FileErrorKind::Cancelled, path);
}

namespace {

FileError writeThroughSafeOutput(const std::string& path,
                                 const std::function<bool(std::ostream&)>& produce,
                                 const WriteControl& control)
{
    if (FileError e = refuseInputAsOutput(path, control.latinPath, control.frenchPath))
        return e;
    sys::SafeOutput output;
    switch (output.open(sys::pathFromUtf8(path), control.expectedSize)) {
    case sys::OutputStatus::Ok:
        break;
    case sys::OutputStatus::IsDirectory:
        return makeError(FileErrorKind::IsDirectory, path);
    case sys::OutputStatus::NotFound:
        // Said of the output, "not found" would mislead: it is a write failure.
        return makeError(FileErrorKind::WriteFailed, path, sys::errnoReason(ENOENT));
    case sys::OutputStatus::ReadOnly:
        return makeError(FileErrorKind::ReadOnly, path);
    case sys::OutputStatus::NoReader:
        return makeError(FileErrorKind::NoReader, path);
    case sys::OutputStatus::NoSpace: {
        FileError e = makeError(FileErrorKind::NoSpace, path);
        e.needed = static_cast<std::uint64_t>(control.expectedSize);
        e.available = output.availableBytes();
        return e;
    }
    case sys::OutputStatus::OverSizeLimit: {
        FileError e = makeError(FileErrorKind::OverSizeLimit, path);
        e.needed = static_cast<std::uint64_t>(control.expectedSize);
        e.available = output.sizeLimit();
        return e;
    }
    case sys::OutputStatus::DanglingLink:
        return makeError(FileErrorKind::DanglingLink, path);
    case sys::OutputStatus::LinkLoop:
        return makeError(FileErrorKind::LinkLoop, path);
    case sys::OutputStatus::FolderRefuses:
        return makeError(FileErrorKind::WriteFailed, path, "son dossier n'accepte pas de nouveau fichier");
    case sys::OutputStatus::Failed:
        return makeError(FileErrorKind::WriteFailed, path, sys::errnoReason(output.err()));
    }

    SafeOutputBuffer buffer(output, control);
    bool ok = false;
    bool memoryShort = false;
    {
        std::ostream out(&buffer);
        try {
            ok = produce(out);
        } catch (const std::bad_alloc&) {
            memoryShort = true;
        }
        out.flush();
        if (!out.good())
            ok = false;
    }
    if (buffer.cancelled()) {
        output.abandon();
        return cancelledWrite(path);
    }
    if (memoryShort) {
        output.abandon();
        return makeError(FileErrorKind::WriteFailed, path, sys::errnoReason(ENOMEM));
    }
    if (!ok) {
        output.abandon();
        // The system's reason when the bytes could not go out, none for a producer's refusal.
        return makeError(FileErrorKind::WriteFailed, path,
                         buffer.failed() ? sys::errnoReason(output.err()) : std::string());
    }
    if (!output.commit())
        return makeError(FileErrorKind::WriteFailed, path, sys::errnoReason(output.err()));
    return {};
}

} // namespace

FileError writeFileReplacing(const std::string& path,
                             const std::function<bool(std::ostream&)>& produce,
                             const WriteControl& control)
{
    // Names and buffers are built on the way: running short of memory there is a failure
    // like any other, the old file kept (the output's destructor cleans up).
    try {
        return writeThroughSafeOutput(path, produce, control);
    } catch (const std::bad_alloc&) {
        return makeError(FileErrorKind::WriteFailed, path, sys::errnoReason(ENOMEM));
    }
}

FileError refuseInputAsOutput(const std::string& outputPath, const std::string& latinPath,
                              const std::string& frenchPath)
{
    const auto output = sys::pathFromUtf8(outputPath);
    if (!latinPath.empty() && sys::sameFile(output, sys::pathFromUtf8(latinPath)))
        return makeError(FileErrorKind::OutputIsLatinText, outputPath);
    if (!frenchPath.empty() && sys::sameFile(output, sys::pathFromUtf8(frenchPath)))
        return makeError(FileErrorKind::OutputIsFrenchText, outputPath);
    return {};
}

// Opens the file for reading and closes it again; its content is not read here.
FileError checkReadable(const std::string& path)
{
    // The same door as the reading: a FIFO or a device is refused at once, never opened.
    const sys::OpenedInput in = sys::openRegularForReading(sys::pathFromUtf8(path));
    if (in.status != sys::OpenStatus::Ok)
        return openError(in, path);
    std::fclose(in.file);
    return {};
}


} // namespace quorvex
