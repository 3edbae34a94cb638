#include "support/FakeFileTest.h"

#include <QFileInfo>

namespace quorvex {

bool FakeFileTest::fileExists(const QString& path)
{
    asked.append(path);
    if (forcedExisting.contains(path))
        return true;
    if (forcedMissing.contains(path))
        return false;
    return !path.isEmpty() && QFileInfo::exists(path);
}

bool FakeFileTest::isRegularFile(const QString& path)
{
    asked.append(path);
    if (forcedExisting.contains(path))
        return true;
    if (forcedMissing.contains(path))
        return false;
    return !path.isEmpty() && QFileInfo(path).isFile();
}

} // namespace quorvex
