#pragma once
// File existence from the real file system, unless a test says otherwise for a path.
// Every question is recorded.

#include "platform/FileTest.h"
#include "platform/TextCodec.h"

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

    // The real answer: the tests' texts lie in temporary folders.
    FileError checkReadable(const QString& path) override
    {
        return quorvex::checkReadable(toPath(path));
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
