#pragma once
// Where the system's information tool is: the program "Infos système..." starts.

#include <QString>

namespace quorvex {

class SystemInformation {
public:
    virtual ~SystemInformation() = default;
    // The full path of the tool; empty when this system has none.
    virtual QString toolPath() = 0;
};

} // namespace quorvex
