#include "platform/QtFileTest.h"

#include "platform/TextCodec.h"

#include <QFileInfo>

namespace quorvex {

bool QtFileTest::fileExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo::exists(path);
}

bool QtFileTest::isRegularFile(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

FileError QtFileTest::checkReadable(const QString& path) { return quorvex::checkReadable(toPath(path)); }

} // namespace quorvex
