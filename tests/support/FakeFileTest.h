#pragma once
// File existence from the real file system, unless a test says otherwise for a path.
// Every question is recorded.

#include "platform/FileTest.h"

#include <QSet>
#include <QStringList>

namespace quorvex {

class FakeFileTest : public FileTest {
public:
    bool fileExists(const QString& path) override;
    bool isRegularFile(const QString& path) override;

    QSet<QString> forcedExisting;
    QSet<QString> forcedMissing;
    QStringList asked;
};

} // namespace quorvex
