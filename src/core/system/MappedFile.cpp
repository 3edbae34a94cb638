// What mapping a text means on every system: an empty or unopened input is never mapped, and
// a size past half the address space is refused before the system is asked.

#include "system/SystemFiles.h"

#include <cerrno>
#include <cstdint>

namespace quorvex::sys {

void MappedFile::unmap() noexcept
{
    unmapPlatform();
    m_data = nullptr;
    m_size = 0;
}

bool MappedFile::map(const OpenedInput& input)
{
    unmap();
    m_err = 0;
    if (input.status != OpenStatus::Ok || !input.file || input.size == 0)
        return false;
    if (input.size > SIZE_MAX / 2) {
        m_err = EFBIG;
        return false;
    }
    return mapPlatform(input);
}

} // namespace quorvex::sys
