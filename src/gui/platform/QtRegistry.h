#pragma once
// The Windows registry functions, for finding the system's information tool there.

#include "platform/Registry.h"

namespace quorvex {

class QtRegistry : public Registry {
public:
    std::int32_t RegOpenKeyExA(RegistryHandle key, const std::string& subKey,
                               std::uint32_t options, std::uint32_t samDesired,
                               RegistryHandle* result) override;
    std::int32_t RegQueryValueExA(RegistryHandle key, const std::string& valueName,
                                  std::uint32_t* type, unsigned char* data,
                                  std::uint32_t* dataSize) override;
    std::int32_t RegCloseKey(RegistryHandle key) override;
};

} // namespace quorvex
