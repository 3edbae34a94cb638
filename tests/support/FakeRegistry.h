#pragma once
// A registry scripted by the test: keys under HKEY_LOCAL_MACHINE with their values (type
// and raw bytes), keys that refuse to open. Records the keys opened, with which access, and
// the buffers offered, and knows whether every key opened was closed.

#include "platform/Registry.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace quorvex {

class FakeRegistry : public Registry {
public:
    struct Value {
        std::uint32_t type = kRegSz;
        std::string bytes;  // exactly what the value holds, a terminating NUL included or not
    };

    // The key exists from then on, even without values.
    void addKey(const std::string& keyName) { m_keys[keyName]; }
    void setValue(const std::string& keyName, const std::string& valueName, Value value)
    {
        m_keys[keyName][valueName] = std::move(value);
    }
    // A REG_SZ value stored with its terminating NUL, as the system stores text.
    void setText(const std::string& keyName, const std::string& valueName, const std::string& text)
    {
        setValue(keyName, valueName, Value{kRegSz, text + '\0'});
    }
    void failOpen(const std::string& keyName, std::int32_t error) { m_openErrors[keyName] = error; }

    std::int32_t RegOpenKeyExA(RegistryHandle key, const std::string& subKey, std::uint32_t,
                               std::uint32_t samDesired, RegistryHandle* result) override
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

    std::int32_t RegQueryValueExA(RegistryHandle key, const std::string& valueName, std::uint32_t* type,
                                  unsigned char* data, std::uint32_t* dataSize) override
    {
        const auto handle = m_handles.find(key);
        if (handle == m_handles.end())
            return kRegInvalidHandle;
        bufferSizes.push_back(*dataSize);
        allBufferBytesNul = allBufferBytesNul && std::all_of(data, data + *dataSize, [](unsigned char c) { return !c; });
        const auto& values = m_keys[handle->second];
        const auto value = values.find(valueName);
        if (value == values.end())
            return kRegFileNotFound;
        const std::string& bytes = value->second.bytes;
        const std::uint32_t offered = *dataSize;
        *dataSize = static_cast<std::uint32_t>(bytes.size());
        if (bytes.size() > offered)
            return kRegMoreData;
        std::memcpy(data, bytes.data(), bytes.size());
        *type = value->second.type;
        return kRegSuccess;
    }

    std::int32_t RegCloseKey(RegistryHandle key) override
    {
        return m_handles.erase(key) ? kRegSuccess : kRegInvalidHandle;
    }

    struct OpenCall {
        RegistryHandle root;
        std::string keyName;
        std::uint32_t access;
    };
    std::vector<OpenCall> opens;             // every attempt, failed ones included
    std::vector<std::uint32_t> bufferSizes;  // the size offered to every query
    bool allBufferBytesNul = true;           // every query got a buffer of NULs only
    std::size_t openHandles() const { return m_handles.size(); }

private:
    std::map<std::string, std::map<std::string, Value>> m_keys;
    std::map<std::string, std::int32_t> m_openErrors;
    std::map<RegistryHandle, std::string> m_handles;
    RegistryHandle m_nextHandle = 0x1000;
};

} // namespace quorvex
