#include "system/TemporaryFiles.h"

#include "system/SystemFiles.h"

#include <atomic>
#include <csignal>
#include <cstring>
#include <random>

namespace quorvex::sys {

namespace detail {

namespace {

// Fixed slots, so that a signal handler can walk them without allocating or locking; a
// slot's state says whether its name may be read.
constexpr int kSlots = 32;
constexpr std::size_t kNameMax = 4096;
enum SlotState : int { kFree = 0, kFilling = 1, kLive = 2 };

struct TempSlot {
    std::atomic<int> state{kFree};
    NativeChar name[kNameMax];
};
TempSlot g_slots[kSlots];

} // namespace

int claimTemporarySlot(const std::filesystem::path& name)
{
    const auto& native = name.native();
    if (native.size() >= kNameMax)
        return -1;
    for (int i = 0; i < kSlots; ++i) {
        int expected = kFree;
        if (g_slots[i].state.compare_exchange_strong(expected, kFilling)) {
            std::memcpy(g_slots[i].name, native.c_str(), (native.size() + 1) * sizeof(NativeChar));
            g_slots[i].state.store(kLive);
            return i;
        }
    }
    return -1;
}

void releaseTemporarySlot(int& slot) noexcept
{
    if (slot >= 0) {
        int expected = kLive;
        g_slots[slot].state.compare_exchange_strong(expected, kFree);
    }
    slot = -1;
}

std::string temporaryName()
{
    static const char* chars = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device rd;
    std::string s = ".quorvex-";
    for (int i = 0; i < 8; ++i)
        s += chars[rd() % 36];
    return s;
}

} // namespace detail

void removeLiveTemporaryFiles() noexcept
{
    for (detail::TempSlot& slot : detail::g_slots) {
        int expected = detail::kLive;
        if (slot.state.compare_exchange_strong(expected, detail::kFilling)) {
            detail::removeNativeFile(slot.name);
            slot.state.store(detail::kFree);
        }
    }
}

std::size_t liveTemporaryFileCount() noexcept
{
    std::size_t n = 0;
    for (const detail::TempSlot& slot : detail::g_slots)
        n += slot.state.load() == detail::kLive;
    return n;
}

namespace {

extern "C" void removeTemporariesAndDie(int sig)
{
    removeLiveTemporaryFiles();
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

} // namespace

void removeTemporaryFilesOnTermination()
{
    std::signal(SIGINT, removeTemporariesAndDie);
    std::signal(SIGTERM, removeTemporariesAndDie);
#ifdef SIGHUP
    std::signal(SIGHUP, removeTemporariesAndDie);
#endif
}

} // namespace quorvex::sys
