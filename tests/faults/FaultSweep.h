#pragma once

#include <memory>

#include "tests/support/FaultPlan.h"
#include "tests/support/TestRuntime.h"

namespace tervix::test {

// A flow of the launcher that a sweep runs again and again, each run in a
// child process of its own, so that process-wide state (the Qt application,
// the windows, the preference cache) starts fresh every time. The sweeping
// process only constructs the flow; each child sets it up on its own copy.
class FaultedFlow : public RuntimeTest {
 public:
  // Sets the scene and starts the launcher, after SetUp.
  virtual void Arrange() = 0;
  // The player's action, with the fault plan in place.
  virtual void Act() = 0;
  // Judges what the player saw and what is on disk; faulted is false for a
  // run the plan did not fault, crashed true when the action stopped as a crash.
  virtual void Check(bool faulted, bool crashed) = 0;
  using RuntimeTest::SetUp, RuntimeTest::TearDown;
  void TestBody() override {}
};

// Runs the flow without faults, then once for every fault each file call of
// that clean run can meet: it fails with ENOSPC, EACCES or EIO, a write is cut
// short, or the process stops there as a crash would. Where files get no
// second name or the kernel cannot copy, the flow takes other paths, which
// are swept as well. Checks every run; prints and returns how many were faulted.
int Sweep(FaultedFlow&& flow);

// Runs the flow once on the given file system and checks it as a run without
// faults; prints that one case ran.
void RunOnce(FaultedFlow&& flow, std::shared_ptr<FaultPlan> fileSystem);

}  // namespace tervix::test
