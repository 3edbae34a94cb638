#pragma once
// The real services of the platform, owned for the program's run.

#include "platform/Platform.h"

#include <memory>

namespace quorvex {

class QtPlatform {
public:
    QtPlatform();
    ~QtPlatform();
    const Platform& platform() const { return *m_platform; }

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    std::unique_ptr<Platform> m_platform;
};

} // namespace quorvex
