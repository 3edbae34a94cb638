#include "support/FakeRegistry.h"

#include <algorithm>
#include <cstring>

namespace quorvex {

void FakeRegistry::addKey(const std::string& keyName) { m_keys[keyName]; }

void FakeRegistry::setValue(const std::string& keyName, const std::string& valueName, Value value)
{
    m_keys[keyName][valueName] = std::move(value);
}

void FakeRegistry::setText(const std::string& keyName, const std::string& valueName,
                           const std::string& text)
{
    setValue(keyName, valueName, Value{kRegSz, text + '\0'});
}

std::int32_t FakeRegistry::RegOpenKeyExA(RegistryHandle key, const std::string& subKey,
                                         std::uint32_t, std::uint32_t samDesired,
                                         RegistryHandle* result)
{
    opens.push_back({key, subKey, samDesired});
    *result = 0;
    if (key != RegistryHandle{kHkeyLocalMachine})
        return kRegInvalidHandle;
    if (const auto error = m_openErrors.find(subKey); error != m_openErrors.end())
        return error->second;
    if (m_keys.find(subKey) == m_keys.end())
        return kRegFileNotFound;
    *result = m_nextHandle++;
    m_handles[*result] = subKey;
    return kRegSuccess;
}

std::int32_t FakeRegistry::RegQueryValueExA(RegistryHandle key, const std::string& valueName,
                                            std::uint32_t* type, unsigned char* data,
                                            std::uint32_t* dataSize)
{
    const auto handle = m_handles.find(key);
    if (handle == m_handles.end())
        return kRegInvalidHandle;
    bufferSizes.push_back(*dataSize);
    allBufferBytesNul = allBufferBytesNul
        && std::all_of(data, data + *dataSize, [](unsigned char c) { return c == 0; });
    const auto& values = m_keys[handle->second];
    const auto value = values.find(valueName);
    if (value == values.end())
        return kRegFileNotFound;
    const std::string& bytes = value->second.bytes;
    if (bytes.size() > *dataSize) {
        *dataSize = static_cast<std::uint32_t>(bytes.size());
        return kRegMoreData;
    }
    std::memcpy(data, bytes.data(), bytes.size());
    *type = value->second.type;
    *dataSize = static_cast<std::uint32_t>(bytes.size());
    return kRegSuccess;
}

std::int32_t FakeRegistry::RegCloseKey(RegistryHandle key)
{
    return m_handles.erase(key) ? kRegSuccess : kRegInvalidHandle;
}

} // namespace quorvex
