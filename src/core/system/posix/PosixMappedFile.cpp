// A text mapped for reading on a POSIX system, safe against a file shortened meanwhile.
//
// Reading a page of a mapping past the end of a file that shrank raises SIGBUS. A handler
// installed with the first mapping takes the faults that land inside one of our mappings:
// it maps a page of zeros over the lost page and notes the mapping as touched, then the
// read goes on over the zeros; the caller, seeing intact() false, reads the file instead.
// No jump out of the interrupted code, so every object stays whole. A fault outside our
// mappings goes to the handler that was there before (or ends the program as it would have).

#include "system/SystemFiles.h"
#include "system/posix/PosixCalls.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <fcntl.h>
#include <mutex>
#include <sys/mman.h>
#include <unistd.h>

namespace quorvex::sys {

namespace {

// The mappings the handler may repair: a run maps one or two texts, a few slots are plenty.
struct Guarded {
    std::atomic<std::uintptr_t> begin{0};
    std::atomic<std::uintptr_t> end{0};
    std::atomic<int> touched{0};
    std::atomic<bool> claimed{false};
};
constexpr std::size_t kGuardedCount = 8;
Guarded g_guarded[kGuardedCount];
struct sigaction g_previous;
std::uintptr_t g_pageSize = 4096;
std::once_flag g_installOnce;
bool g_installed = false;

void onBusError(int signal, siginfo_t* info, void* context)
{
    const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
    for (Guarded& g : g_guarded) {
        const std::uintptr_t begin = g.begin.load();
        if (begin == 0 || address < begin || address >= g.end.load())
            continue;
        // mmap is a bare system call here, safe in a handler on the systems we run on.
        void* const page = reinterpret_cast<void*>(address & ~(g_pageSize - 1));
        if (::mmap(page, g_pageSize, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0)
            != MAP_FAILED) {
            g.touched.store(1);
            return;
        }
        break;
    }
    if ((g_previous.sa_flags & SA_SIGINFO) && g_previous.sa_sigaction) {
        g_previous.sa_sigaction(signal, info, context);
        return;
    }
    if (g_previous.sa_handler != SIG_DFL && g_previous.sa_handler != SIG_IGN) {
        g_previous.sa_handler(signal);
        return;
    }
    // The default action: the access repeats on return and ends the program as it would have.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    ::sigaction(signal, &fallback, nullptr);
}

bool installHandler()
{
    std::call_once(g_installOnce, [] {
        const long page = ::sysconf(_SC_PAGESIZE);
        if (page > 0)
            g_pageSize = static_cast<std::uintptr_t>(page);
        struct sigaction action {};
        action.sa_sigaction = onBusError;
        action.sa_flags = SA_SIGINFO;
        sigemptyset(&action.sa_mask);
        g_installed = ::sigaction(SIGBUS, &action, &g_previous) == 0;
    });
    return g_installed;
}

Guarded* claimSlot()
{
    for (Guarded& g : g_guarded) {
        bool expected = false;
        if (g.claimed.compare_exchange_strong(expected, true)) {
            g.touched.store(0);
            return &g;
        }
    }
    return nullptr;
}

} // namespace

struct MappedFile::State {
    void* address = nullptr;
    std::size_t length = 0;
    int fd = -1;  // our own copy of the descriptor, to ask the file's size later
    Guarded* guard = nullptr;

    void clear() noexcept
    {
        PosixCalls& calls = posixCalls();
        if (guard) {
            guard->begin.store(0);
            guard->end.store(0);
        }
        if (address)
            calls.unmap(address, length);
        if (guard)
            guard->claimed.store(false);
        if (fd >= 0)
            calls.close(fd);
        address = nullptr;
        length = 0;
        fd = -1;
        guard = nullptr;
    }
};

MappedFile::MappedFile() : m_state(std::make_unique<State>()) {}

MappedFile::~MappedFile()
{
    m_state->clear();
}

void MappedFile::unmapPlatform() noexcept
{
    m_state->clear();
}

bool MappedFile::mapPlatform(const OpenedInput& input)
{
    if (!installHandler()) {
        m_err = errno;
        return false;
    }
    Guarded* const guard = claimSlot();
    if (!guard) {
        m_err = EMFILE;
        return false;
    }
    PosixCalls& calls = posixCalls();
    State& st = *m_state;
    st.guard = guard;
    st.fd = calls.fcntl(::fileno(input.file), F_DUPFD_CLOEXEC, 0);
    if (st.fd < 0) {
        m_err = errno;
        st.clear();
        return false;
    }
    const auto length = static_cast<std::size_t>(input.size);
    void* const address = calls.mapForReading(st.fd, length);
    if (address == MAP_FAILED) {
        m_err = errno;
        st.clear();
        return false;
    }
    st.address = address;
    st.length = length;
    guard->end.store(reinterpret_cast<std::uintptr_t>(address) + length);
    guard->begin.store(reinterpret_cast<std::uintptr_t>(address));
    m_data = static_cast<const char*>(address);
    m_size = input.size;
    return true;
}

bool MappedFile::intact() const noexcept
{
    const State& st = *m_state;
    if (!st.address)
        return true;
    if (st.guard->touched.load())
        return false;
    struct stat now;
    if (posixCalls().fstat(st.fd, &now) != 0)
        return false;
    return static_cast<std::uint64_t>(now.st_size) >= m_size;
}

void MappedFile::release(std::uint64_t offset) noexcept
{
    const State& st = *m_state;
    if (!st.address)
        return;
    if (offset > m_size)
        offset = m_size;
    const std::size_t whole = static_cast<std::size_t>(offset) & ~static_cast<std::size_t>(g_pageSize - 1);
    if (whole > 0)
        posixCalls().adviseDontNeed(st.address, whole);
}

} // namespace quorvex::sys
