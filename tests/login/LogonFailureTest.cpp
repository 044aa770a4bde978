#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "tests/login/LoginTest.h"
#include "tests/support/FaultPlan.h"

namespace tervix::test {
namespace {

using Files = std::vector<std::string>;

// A profile and an old backup on disk, the executable known and "bob" typed.
class LogonFailureTest : public LoginTest {
 protected:
  void SetUp() override {
    LoginTest::SetUp();
    WriteFile(Profile("bob.usr"), "current profile");
    WriteFile(Profile("bob-backup.usr"), "old backup");
    StartAndType("bob");
  }
  void TearDown() override {
    FaultPlan::Uninstall();
    LoginTest::TearDown();
  }
};

struct CopyFault {
  std::string operation;
  int error;
};
void PrintTo(const CopyFault& fault, std::ostream* out) {
  *out << fault.operation << " fails with " << std::strerror(fault.error);
}

class LogonCopyFailureTest : public LogonFailureTest,
                             public ::testing::WithParamInterface<CopyFault> {};

TEST_P(LogonCopyFailureTest, LogonKeepsOldBackupWhenCopyFails) {
  const std::shared_ptr<FaultPlan> plan = FaultPlan::Install();
  plan->FailCall(GetParam().operation, 1, GetParam().error);
  // The kernel copy and the plain write are two roads for the same bytes.
  if (GetParam().operation == "CopyFileRange") {
    plan->FailCall("Write", 1, GetParam().error);
  }

  ClickLogon();

  EXPECT_EQ(ReadFile(Profile("bob-backup.usr")), "old backup");
  EXPECT_EQ(ReadFile(Profile("bob.usr")), "current profile");
  EXPECT_EQ(ListFolder(ProfileFolder()), (Files{"bob-backup.usr", "bob.usr"}));
  EXPECT_EQ(StatusLine(), "Starting gateway...");
  EXPECT_EQ(launches().launched(), Files{kExecutable});
  EXPECT_EQ(platform::PendingQuitCode(), 0);
}

INSTANTIATE_TEST_SUITE_P(CopyFaults, LogonCopyFailureTest,
                         ::testing::Values(CopyFault{"CopyFileRange", ENOSPC},
                                           CopyFault{"Fsync", EIO}, CopyFault{"Rename", ENOSPC}),
                         [](const auto& info) { return info.param.operation; });

struct FlowStop {
  std::string operation;
  int nth;
  std::string status;
};
void PrintTo(const FlowStop& stop, std::ostream* out) {
  *out << "stop at " << stop.operation << " " << stop.nth;
}

class LogonStatusTest : public LogonFailureTest, public ::testing::WithParamInterface<FlowStop> {};

// Stopping the flow at a file operation shows the status line of that step.
TEST_P(LogonStatusTest, StatusLineNamesTheStepInProgress) {
  FaultPlan::Install()->CrashAt(GetParam().operation, GetParam().nth);

  EXPECT_THROW(ClickLogon(), SimulatedCrash);

  EXPECT_EQ(StatusLine(), GetParam().status);
  EXPECT_EQ(ReadFile(Profile("bob-backup.usr")), "old backup");
  EXPECT_TRUE(launches().launched().empty());
}

INSTANTIATE_TEST_SUITE_P(Steps, LogonStatusTest,
                         ::testing::Values(FlowStop{"Stat", 1, "Checking if gateway exists..."},
                                           FlowStop{"Stat", 2, "Checking if old backup exists..."},
                                           FlowStop{"Open", 1, "Backuping profile..."}),
                         [](const auto& info) {
                           return info.param.operation + std::to_string(info.param.nth);
                         });

}  // namespace
}  // namespace tervix::test
