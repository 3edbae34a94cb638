#include "platform/TextCodec.h"

#include "text/Cp1252.h"

#include <QList>

namespace quorvex {

QString fromCp1252(std::string_view bytes)
{
    // ASCII needs no table: the common case of forms and references.
    bool ascii = true;
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii)
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    const std::string utf8 = cp1252ToUtf8(bytes);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string toCp1252(const QString& text)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    const QList<uint> codePoints = text.toUcs4();
    for (uint cp : codePoints) {
        const auto byte = unicodeToCp1252(static_cast<char32_t>(cp));
        out += byte ? static_cast<char>(*byte) : '?';
    }
    return out;
}

} // namespace quorvex
