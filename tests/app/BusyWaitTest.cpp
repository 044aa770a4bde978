#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "app/BusyWait.h"
#include "platform/Runtime.h"
#include "tests/support/TestRuntime.h"

namespace tervix {
namespace {

using BusyWaitTest = test::RuntimeTest;

TEST_F(BusyWaitTest, YieldsOncePerTickUntilTheWaitIsOver) {
  BusyWait(240);
  EXPECT_EQ(clock().backgroundTaskCalls(), 240);
  EXPECT_EQ(platform::Ticks(), 1240);
}

TEST_F(BusyWaitTest, WaitOverTheCounterWrapLastsTheSame) {
  clock().Set(std::numeric_limits<int32_t>::max() - 100);
  BusyWait(360);
  EXPECT_EQ(clock().backgroundTaskCalls(), 360);
}

}  // namespace
}  // namespace tervix
