#pragma once
// File existence as the file system reports it.

#include "platform/FileTest.h"

namespace quorvex {

class QtFileTest : public FileTest {
public:
    bool fileExists(const QString& path) override;
    bool isRegularFile(const QString& path) override;
    bool isOrdinaryFolder(const QString& path) override;
    FileError checkReadable(const QString& path) override;
    // The file systems that show the system rather than files on a disk.
    static bool isSystemView(const QByteArray& fileSystemType);
    // Whether a folder of that canonical path, on a mount of that file system type (empty
    // when no mount entry is known), holds files rather than a view of the system.
    static bool isOrdinaryPlace(const QString& canonicalPath, const QByteArray& mountType);
};

} // namespace quorvex
