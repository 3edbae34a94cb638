#include "support/TestFiles.h"

#include "platform/TextCodec.h"

namespace quorvex {

QByteArray cp1252(const char* utf8)
{
    const std::string bytes = toCp1252(QString::fromUtf8(utf8));
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

} // namespace quorvex
