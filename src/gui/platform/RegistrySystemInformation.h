#pragma once
// The Windows way to find the information tool: the path under
// HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools\MSINFO, value PATH; failing that, the
// folder under ...\Shared Tools Location, value MSINFO, with MSINFO32.EXE, if that file
// exists. Works over the Registry interface, so the reading is tested anywhere.

#include "platform/SystemInformation.h"

#include <cstdint>
#include <string>

namespace quorvex {

class FileTest;
class Registry;

class RegistrySystemInformation : public SystemInformation {
public:
    RegistrySystemInformation(Registry& registry, FileTest& files);
    QString toolPath() override;

    // Reads the value `valueName` of the key `keyName` under `root` into `value`
    // (Windows-1252 bytes). False, with `value` empty, when the key cannot be opened or the
    // value read; a value neither text nor number leaves `value` as it was passed. A number
    // (REG_DWORD) reads "&h" and its hexadecimal digits.
    bool readKeyValue(std::int32_t root, const std::string& keyName, const std::string& valueName,
                      std::string& value);

private:
    Registry& m_registry;
    FileTest& m_files;
};

} // namespace quorvex
