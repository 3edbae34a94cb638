#pragma once
// Two independent pieces of work on two threads, when a second thread can be had.

#include <atomic>
#include <exception>
#include <system_error>
#include <thread>

namespace quorvex {

// Runs `beside` on a thread of its own while `here` runs on this one and returns once both
// have ended; without a thread to be had, `beside` runs after `here`, on this thread. When
// either throws, `stopBoth` is called (so that the other can end early) and the first
// exception is thrown here: the other's may only answer the stop.
template <typename Here, typename Beside, typename StopBoth>
void runSideBySide(Here&& here, Beside&& beside, StopBoth&& stopBoth)
{
    std::atomic<bool> failed{false};
    std::exception_ptr firstFailure;
    const auto guarded = [&](auto& work) {
        try {
            work();
        } catch (...) {
            if (!failed.exchange(true))
                firstFailure = std::current_exception();
            stopBoth();
        }
    };
    const auto runBeside = [&] { guarded(beside); };
    std::thread thread;
    try {
        thread = std::thread(runBeside);
    } catch (const std::system_error&) {
        // No thread: the work is done one piece after the other.
    }
    guarded(here);
    if (thread.joinable())
        thread.join();
    else if (!failed)
        runBeside();
    if (firstFailure)
        std::rethrow_exception(firstFailure);
}

} // namespace quorvex
