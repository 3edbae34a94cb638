// Two pieces of work side by side: both run, and a failure of either stops the other and is
// the one told, not the other's answer to the stop.

#include "system/SideBySide.h"

#include <gtest/gtest.h>

#include <atomic>
#include <new>
#include <stdexcept>
#include <thread>

using namespace quorvex;

namespace {

struct Stopped {};

// Works until told to stop, then answers with Stopped.
void untilStopped(const std::atomic<bool>& stop)
{
    while (!stop.load())
        std::this_thread::yield();
    throw Stopped();
}

} // namespace

TEST(SideBySide, BothRunAndTheFirstFailureIsTheOneThrown)
{
    std::atomic<bool> stop{false};
    const auto stopBoth = [&] { stop = true; };

    int here = 0, beside = 0;
    runSideBySide([&] { ++here; }, [&] { ++beside; }, stopBoth);
    EXPECT_EQ(here, 1);
    EXPECT_EQ(beside, 1);
    EXPECT_FALSE(stop);

    // The work beside fails: the work here, stopped, answers Stopped; the failure is thrown.
    EXPECT_THROW(runSideBySide([&] { untilStopped(stop); }, [] { throw std::bad_alloc(); }, stopBoth),
                 std::bad_alloc);
    stop = false;
    // The other way round.
    EXPECT_THROW(runSideBySide([] { throw std::runtime_error("here"); }, [&] { untilStopped(stop); }, stopBoth),
                 std::runtime_error);
    stop = false;
    // A stop from outside (a cancel): both answer it, one Stopped is thrown.
    EXPECT_THROW(runSideBySide(
                     [&] {
                         stop = true;
                         untilStopped(stop);
                     },
                     [&] { untilStopped(stop); }, [] {}),
                 Stopped);
}
