// The deadline ends a process whose teardown hangs, with the status given,
// and leaves alone one that finishes in time.
#include "app/framework/ExitDeadline.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace vostrel {
namespace {

using namespace std::chrono_literals;

TEST(ExitDeadline, EndsAHungTeardownWithItsStatusAndSparesOneThatFinishes)
{
    EXPECT_EXIT(
        {
            ExitDeadline deadline;
            deadline.Arm(50ms, 3, "teardown hung");
            for (;;)
                std::this_thread::sleep_for(1s);
        },
        testing::ExitedWithCode(3), "^teardown hung\n$");

    // Gone before its time, it neither ends this process nor holds it up
    // for the hour (the test's own time limit would end it first).
    ExitDeadline{}.Arm(1h, 3, "too soon");
}

} // namespace
} // namespace vostrel
