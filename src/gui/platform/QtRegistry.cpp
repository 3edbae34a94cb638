#include "platform/QtRegistry.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace quorvex {

#ifdef Q_OS_WIN

std::int32_t QtRegistry::RegOpenKeyExA(RegistryHandle key, const std::string& subKey,
                                       std::uint32_t options, std::uint32_t samDesired,
                                       RegistryHandle* result)
{
    HKEY opened = nullptr;
    const LONG rc = ::RegOpenKeyExA(reinterpret_cast<HKEY>(key), subKey.c_str(), options,
                                    static_cast<REGSAM>(samDesired), &opened);
    *result = reinterpret_cast<RegistryHandle>(opened);
    return rc;
}

std::int32_t QtRegistry::RegQueryValueExA(RegistryHandle key, const std::string& valueName,
                                          std::uint32_t* type, unsigned char* data,
                                          std::uint32_t* dataSize)
{
    DWORD valueType = 0;
    DWORD size = *dataSize;
    const LONG rc = ::RegQueryValueExA(reinterpret_cast<HKEY>(key), valueName.c_str(), nullptr,
                                       &valueType, data, &size);
    *type = valueType;
    *dataSize = size;
    return rc;
}

std::int32_t QtRegistry::RegCloseKey(RegistryHandle key)
{
    return ::RegCloseKey(reinterpret_cast<HKEY>(key));
}

#endif

} // namespace quorvex
