#pragma once
// Whether a file exists, asked before overwriting and before starting a program.

#include <QString>

namespace quorvex {

class FileTest {
public:
    virtual ~FileTest() = default;
    virtual bool fileExists(const QString& path) = 0;
    virtual bool isRegularFile(const QString& path) = 0;
};

} // namespace quorvex
