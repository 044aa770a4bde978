#include "tests/faults/FaultSweep.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iostream>

namespace tervix::test {
namespace {

using Calls = std::map<std::string, int>;
using Fault = std::function<void(FaultPlan&)>;

// Where every call of an operation is refused, as where files get no second
// name or the kernel cannot copy, the flows take other paths.
using Road = std::vector<std::pair<std::string, int>>;
const Road kRoads[] = {
    {}, {{"Link", EPERM}}, {{"CopyFileRange", EXDEV}}, {{"Link", EPERM}, {"CopyFileRange", EXDEV}}};

// Runs and checks one case in a child process of its own, whose Qt warnings
// are silenced and whose failures print as the parent's. Since a child starts
// with the parent's failures, the parent runs no case once it has one.
// Gives the calls the case made, or nothing when it failed.
std::optional<Calls> RunCase(FaultedFlow& flow, const std::shared_ptr<FaultPlan>& plan,
                             bool faulted, const std::string& when) {
  SCOPED_TRACE("when " + when);
  std::FILE* const calls = testing::Test::HasFailure() ? nullptr : std::tmpfile();
  if (calls == nullptr)
    return std::nullopt;
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    setenv("QT_LOGGING_RULES", "*.warning=false", 1);
    flow.SetUp();
    flow.Arrange();
    platform::InstallFileSystem(plan);
    bool crashed = false;
    try {
      flow.Act();
    } catch (const SimulatedCrash&) {
      crashed = true;
    }
    platform::InstallFileSystem(nullptr);
    flow.Check(faulted, crashed);
    for (const auto& [operation, count] : plan->AllCalls())
      std::fprintf(calls, "%s %d\n", operation.c_str(), count);
    flow.TearDown();
    std::fflush(nullptr);
    _exit(testing::Test::HasFailure() ? 1 : 0);
  }
  int status = -1;
  waitpid(child, &status, 0);
  std::rewind(calls);
  Calls made;
  char operation[32];
  for (int count = 0; std::fscanf(calls, "%31s %d", operation, &count) == 2;)
    made[operation] = count;
  std::fclose(calls);
  EXPECT_EQ(status, 0) << "the run failed; its output is above";
  return status == 0 ? std::optional(made) : std::nullopt;
}

// Each call fails with ENOSPC, EACCES and EIO, a write is also cut short,
// and the process stops at the call as a crash or a power cut would.
std::vector<std::pair<std::string, Fault>> FaultsAt(const std::string& operation, int nth) {
  const std::string call = operation + " call " + std::to_string(nth);
  std::vector<std::pair<std::string, Fault>> faults{
      {"the launcher stops at " + call, [=](FaultPlan& p) { p.CrashAt(operation, nth); }}};
  for (int error : {ENOSPC, EACCES, EIO}) {
    faults.emplace_back(call + " fails with " + strerrorname_np(error),
                        [=](FaultPlan& p) { p.FailCall(operation, nth, error); });
  }
  if (operation == "Write")
    faults.emplace_back(call + " writes half", [=](FaultPlan& p) { p.ShortWrite(nth); });
  return faults;
}

std::shared_ptr<FaultPlan> PlanOn(const Road& road, const Fault& fault) {
  auto plan = std::make_shared<FaultPlan>();
  for (const auto& [operation, error] : road) {
    // Far more calls than any flow makes.
    for (int nth = 1; nth <= 64; ++nth)
      plan->FailCall(operation, nth, error);
  }
  fault(*plan);
  return plan;
}

}  // namespace

int Sweep(FaultedFlow&& flow) {
  int cases = 0;
  for (const Road& road : kRoads) {
    std::string roadName;
    for (const auto& [operation, error] : road)
      roadName += ", every " + operation + " call refused with " + strerrorname_np(error);
    const std::optional<Calls> clean =
        RunCase(flow, PlanOn(road, [](FaultPlan&) {}), false, "nothing fails" + roadName);
    // A road on which the flow never meets a refusal was swept already.
    const auto met = [&](const auto& refusal) { return clean->count(refusal.first) > 0; };
    if (!clean || !std::all_of(road.begin(), road.end(), met))
      continue;
    for (const auto& [operation, count] : *clean) {
      for (int nth = 1; nth <= count; ++nth) {
        for (const auto& [name, fault] : FaultsAt(operation, nth)) {
          cases += RunCase(flow, PlanOn(road, fault), true, name + roadName) ? 1 : 0;
        }
      }
    }
  }
  std::cout << "fault cases run: " << cases << "\n";
  return cases;
}

void RunOnce(FaultedFlow&& flow, std::shared_ptr<FaultPlan> fileSystem) {
  const int cases = RunCase(flow, fileSystem, false, "a look fails for a moment") ? 1 : 0;
  EXPECT_EQ(cases, 1);
  std::cout << "fault cases run: " << cases << "\n";
}

}  // namespace tervix::test
