#pragma once
// The system registry, reached the way the Windows API reaches it (RegOpenKeyExA,
// RegQueryValueExA, RegCloseKey), so that the About box reads its values step by step
// exactly as it would over the real functions: the same handles, access masks, value
// types, buffer sizes and return codes.

#include <cstdint>
#include <string>

namespace quorvex {

// A key handle; the predefined roots are 32-bit values, sign-extended as on Windows.
using RegistryHandle = std::intptr_t;

constexpr std::int32_t kHkeyLocalMachine = static_cast<std::int32_t>(0x80000002u);
constexpr std::uint32_t kKeyAllAccess = 0x2003F;
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegDword = 4;
constexpr std::int32_t kRegSuccess = 0;          // ERROR_SUCCESS
constexpr std::int32_t kRegFileNotFound = 2;     // ERROR_FILE_NOT_FOUND
constexpr std::int32_t kRegAccessDenied = 5;     // ERROR_ACCESS_DENIED
constexpr std::int32_t kRegInvalidHandle = 6;    // ERROR_INVALID_HANDLE
constexpr std::int32_t kRegMoreData = 234;       // ERROR_MORE_DATA

class Registry {
public:
    virtual ~Registry() = default;
    // Names are ANSI (Windows-1252) bytes. Each returns kRegSuccess or a system error code.
    virtual std::int32_t RegOpenKeyExA(RegistryHandle key, const std::string& subKey,
                                       std::uint32_t options, std::uint32_t samDesired,
                                       RegistryHandle* result) = 0;
    // data holds *dataSize bytes; on success *type is the value's type and *dataSize the
    // number of bytes filled.
    virtual std::int32_t RegQueryValueExA(RegistryHandle key, const std::string& valueName,
                                          std::uint32_t* type, unsigned char* data,
                                          std::uint32_t* dataSize) = 0;
    virtual std::int32_t RegCloseKey(RegistryHandle key) = 0;
};

} // namespace quorvex
