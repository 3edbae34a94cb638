#pragma once
// A registry scripted by the test: keys under HKEY_LOCAL_MACHINE with their values (type
// and raw bytes), keys that refuse to open. Records the keys opened, with which access, and
// the buffers offered, and knows whether every key opened was closed.

#include "platform/Registry.h"

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
    void addKey(const std::string& keyName);
    void setValue(const std::string& keyName, const std::string& valueName, Value value);
    // A REG_SZ value stored with its terminating NUL, as the system stores text.
    void setText(const std::string& keyName, const std::string& valueName, const std::string& text);
    void failOpen(const std::string& keyName, std::int32_t error) { m_openErrors[keyName] = error; }

    std::int32_t RegOpenKeyExA(RegistryHandle key, const std::string& subKey,
                               std::uint32_t options, std::uint32_t samDesired,
                               RegistryHandle* result) override;
    std::int32_t RegQueryValueExA(RegistryHandle key, const std::string& valueName,
                                  std::uint32_t* type, unsigned char* data,
                                  std::uint32_t* dataSize) override;
    std::int32_t RegCloseKey(RegistryHandle key) override;

    struct OpenCall {
        RegistryHandle root;
        std::string keyName;
        std::uint32_t access;
    };
    std::vector<OpenCall> opens;           // every attempt, failed ones included
    std::vector<std::uint32_t> bufferSizes;  // the size offered to every query
    bool allBufferBytesNul = true;         // every query got a buffer of NULs only
    std::size_t openHandles() const { return m_handles.size(); }

private:
    std::map<std::string, std::map<std::string, Value>> m_keys;
    std::map<std::string, std::int32_t> m_openErrors;
    std::map<RegistryHandle, std::string> m_handles;
    RegistryHandle m_nextHandle = 0x1000;
};

} // namespace quorvex
