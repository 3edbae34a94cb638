#include "platform/RegistrySystemInformation.h"

#include "platform/FileTest.h"
#include "platform/Registry.h"
#include "platform/TextCodec.h"

#include <algorithm>

namespace quorvex {

namespace {

constexpr std::size_t kValueBufferSize = 1024;

// "&h" and the value's hexadecimal digits, read little-endian from the bytes kept.
std::string dwordText(const std::string& bytes)
{
    std::uint64_t value = 0;
    for (std::size_t i = std::min<std::size_t>(bytes.size(), 8); i-- > 0;)
        value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    do {
        hex.insert(hex.begin(), digits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    return "&h" + hex;
}

} // namespace

RegistrySystemInformation::RegistrySystemInformation(Registry& registry, FileTest& files)
    : m_registry(registry), m_files(files)
{
}

QString RegistrySystemInformation::toolPath()
{
    std::string path;
    if (readKeyValue(kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", path))
        return fromCp1252(path);
    if (readKeyValue(kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO",
                     path)) {
        const QString program = fromCp1252(path + "\\MSINFO32.EXE");
        if (m_files.isRegularFile(program))
            return program;
    }
    return {};
}

bool RegistrySystemInformation::readKeyValue(std::int32_t root, const std::string& keyName,
                                             const std::string& valueName, std::string& value)
{
    RegistryHandle key = 0;
    if (m_registry.RegOpenKeyExA(root, keyName, 0, kKeyAllAccess, &key) != kRegSuccess) {
        value.clear();
        return false;
    }

    std::string buffer(kValueBufferSize, '\0');
    std::uint32_t size = kValueBufferSize;
    std::uint32_t type = 0;
    if (m_registry.RegQueryValueExA(key, valueName, &type,
                                    reinterpret_cast<unsigned char*>(buffer.data()), &size)
        != kRegSuccess) {
        value.clear();
        m_registry.RegCloseKey(key);
        return false;
    }

    // A terminating NUL, when the value carries one, is not part of the text.
    const std::size_t kept = std::min<std::size_t>(size, kValueBufferSize);
    buffer.resize(kept > 0 && buffer[kept - 1] == '\0' ? kept - 1 : kept);

    if (type == kRegSz)
        value = buffer;
    else if (type == kRegDword)
        value = dwordText(buffer);

    m_registry.RegCloseKey(key);
    return true;
}

} // namespace quorvex
