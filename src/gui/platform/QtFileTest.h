#pragma once
// File existence as the file system reports it.

#include "platform/FileTest.h"

namespace quorvex {

class QtFileTest : public FileTest {
public:
    bool fileExists(const QString& path) override;
    bool isRegularFile(const QString& path) override;
    FileError checkReadable(const QString& path) override;
};

} // namespace quorvex
