#pragma once
// The information tool's path as the test says; every question is counted.

#include "platform/SystemInformation.h"

namespace quorvex {

class FakeSystemInformation : public SystemInformation {
public:
    QString toolPath() override
    {
        ++asked;
        return path;
    }

    QString path;
    int asked = 0;
};

} // namespace quorvex
