#pragma once
// File existence from the real file system, unless a test says otherwise for a path.
// Every question is recorded.

#include "platform/FileTest.h"

#include <QFileInfo>
#include <QSet>
#include <QStringList>

namespace quorvex {

class FakeFileTest : public FileTest {
public:
    bool fileExists(const QString& path) override
    {
        return answer(path, !path.isEmpty() && QFileInfo::exists(path));
    }
    bool isRegularFile(const QString& path) override
    {
        return answer(path, !path.isEmpty() && QFileInfo(path).isFile());
    }

    QSet<QString> forcedExisting;
    QSet<QString> forcedMissing;
    QStringList asked;

private:
    bool answer(const QString& path, bool onDisk)
    {
        asked.append(path);
        return forcedExisting.contains(path) || (!forcedMissing.contains(path) && onDisk);
    }
};

} // namespace quorvex
