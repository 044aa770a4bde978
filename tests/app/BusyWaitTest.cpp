#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "app/BusyWait.h"
#include "tests/support/TestRuntime.h"

namespace tervix::test {
namespace {

class BusyWaitTest : public RuntimeTest, public testing::WithParamInterface<int32_t> {};

// The fake clock moves one tick per yield, so a wait of N ticks yields N times
// wherever the counter stands, its wrap from the largest value to the smallest included.
TEST_P(BusyWaitTest, WaitYieldsOncePerTickWhereverTheCounterStands) {
  clock().Set(GetParam());
  BusyWait(240);
  EXPECT_EQ(clock().backgroundTaskCalls(), 240);
}

INSTANTIATE_TEST_SUITE_P(CounterAt, BusyWaitTest,
                         testing::Values(0, std::numeric_limits<int32_t>::max() - 100,
                                         std::numeric_limits<int32_t>::max(), -1));

}  // namespace
}  // namespace tervix::test
