#include "platform/QtFileTest.h"

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

} // namespace quorvex
