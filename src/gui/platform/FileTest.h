#pragma once
// Whether a file exists, asked before overwriting and before starting a program.

#include "text/TextFile.h"

#include <QString>

namespace quorvex {

class FileTest {
public:
    virtual ~FileTest() = default;
    virtual bool fileExists(const QString& path) = 0;
    virtual bool isRegularFile(const QString& path) = 0;
    // Whether a text the user chose can be opened for reading (it is not read here).
    virtual FileError checkReadable(const QString& path) = 0;
};

} // namespace quorvex
