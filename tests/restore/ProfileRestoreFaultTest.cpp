#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <ostream>
#include <string>
#include <utility>

#include "tests/restore/RestoreFixture.h"
#include "tests/support/FaultPlan.h"

namespace tervix::test {
namespace {

const char* const kCurrent = "the profile the player has now";
const char* const kBackup = "the profile the player saved before";
const char* const kOldTrashed = "a trashed profile left by an earlier restore";
const char* const kRestoreFailed = "Restore failed, your gateway was left as it was.\n";

// One file-system call that goes wrong during the restore: the plan's fault
// at the Nth call of an operation (an errno, or 0 for a crash at that call).
struct FileFault {
  std::string operation;
  int nth = 1;
  int error = 0;
  // A fault arranged first, to send the copy down another path.
  std::function<void(FaultPlan&)> before;
};

std::string Describe(const FileFault& fault) {
  return fault.operation + std::to_string(fault.nth) + (fault.error == 0 ? "Crash" : "Fails");
}
std::string FaultName(const testing::TestParamInfo<FileFault>& info) {
  return Describe(info.param);
}
void PrintTo(const FileFault& fault, std::ostream* out) {
  *out << Describe(fault);
}

class ProfileRestoreFaultTest : public RestoreTest, public testing::WithParamInterface<FileFault> {
 protected:
  // Presses "Yes" with the profile, its backup and an old trashed copy on disk,
  // the fault planned; returns whether the press ran to its end.
  bool PressYesWithFault() {
    WriteFile(ProfileFile("alice.usr"), kCurrent);
    WriteFile(ProfileFile("alice-backup.usr"), kBackup);
    WriteFile(ProfileFile("alice-trashed.usr"), kOldTrashed);
    auto window = OpenRestoreWindow("alice");
    EXPECT_TRUE(window);
    if (!window) {
      return false;
    }

    const FileFault& fault = GetParam();
    auto plan = FaultPlan::Install();
    if (fault.before) {
      fault.before(*plan);
    }
    if (fault.error == 0) {
      plan->CrashAt(fault.operation, fault.nth);
    } else {
      plan->FailCall(fault.operation, fault.nth, fault.error);
    }
    bool ranToEnd = true;
    try {
      PressYes(*window);
    } catch (const SimulatedCrash&) {
      ranToEnd = false;
    }
    const int calls = plan->Calls(fault.operation);
    FaultPlan::Uninstall();
    EXPECT_GE(calls, fault.nth) << "the restore made only " << calls << " " << fault.operation
                                << " calls, so the planned fault never happened";
    terminal_ = waitClock().seen() ? waitClock().seen()->terminal : TerminalText(*window);
    return ranToEnd;
  }

  std::string Read(const std::string& fileName) const {
    return ReadFile(ProfileFile(fileName)).value_or("<missing>");
  }

  std::string terminal_;
};

TEST_P(ProfileRestoreFaultTest, NoProfileContentIsEverLost) {
  PressYesWithFault();

  const std::string current = Read("alice.usr");
  const std::string trashed = Read("alice-trashed.usr");
  EXPECT_TRUE(current == kCurrent || current == kBackup) << "the profile holds: " << current;
  EXPECT_TRUE(current == kCurrent || trashed == kCurrent)
      << "the former profile is gone; profile: " << current << "; trashed: " << trashed;
  EXPECT_EQ(Read("alice-backup.usr"), kBackup);
  EXPECT_TRUE(trashed == kOldTrashed || trashed == kCurrent) << "trashed holds: " << trashed;
}

// A fault after a copy's rename (flushing the folder) leaves the new content in
// place, so the terminal may say the restore is done; it must say what is on disk.
TEST_P(ProfileRestoreFaultTest, TerminalTellsWhatHappenedToTheProfile) {
  const bool ranToEnd = PressYesWithFault();

  const bool saysDone = terminal_.find("Restore done !!!") != std::string::npos;
  const bool saysFailed = terminal_.find(kRestoreFailed) != std::string::npos;
  if (!ranToEnd) {
    EXPECT_FALSE(saysDone || saysFailed) << terminal_;
    return;
  }
  ASSERT_NE(saysDone, saysFailed) << terminal_;
  if (saysDone) {
    EXPECT_EQ(Read("alice.usr"), kBackup) << "reported as restored, but it was not";
    EXPECT_EQ(Read("alice-trashed.usr"), kCurrent);
  } else {
    EXPECT_EQ(Read("alice.usr"), kCurrent) << "reported as left as it was, but it was not";
  }
  EXPECT_EQ(waitClock().backgroundTaskCalls(), 360);
  EXPECT_FALSE(OpenRestore());
  EXPECT_EQ(LoginFieldOfOpenLoginWindow(), "alice");
  EXPECT_EQ(ListFolder(ProfileFolder()),
            (std::vector<std::string>{"alice-backup.usr", "alice-trashed.usr", "alice.usr"}))
      << "a temporary file was left behind";
}

FileFault Fails(std::string operation, int nth, int error) {
  return {std::move(operation), nth, error, nullptr};
}
FileFault Crashes(std::string operation, int nth) {
  return {std::move(operation), nth, 0, nullptr};
}
// Both copies fall back from the kernel copy to reading and writing.
FileFault FailsCopyingInUserSpace(std::string operation, int nth, int error) {
  return {std::move(operation), nth, error, [](FaultPlan& plan) {
            plan.FailCall("CopyFileRange", 1, EXDEV);
            plan.FailCall("CopyFileRange", 2, EXDEV);
          }};
}

INSTANTIATE_TEST_SUITE_P(
    EachFailingCall, ProfileRestoreFaultTest,
    testing::Values(Fails("Open", 1, EACCES), Fails("Open", 2, ENOSPC), Fails("Open", 3, EMFILE),
                    Fails("Open", 4, EACCES), Fails("Open", 5, ENOSPC), Fails("Open", 6, EMFILE),
                    Fails("CopyFileRange", 1, EIO), Fails("CopyFileRange", 2, ENOSPC),
                    FailsCopyingInUserSpace("Write", 1, ENOSPC),
                    FailsCopyingInUserSpace("Write", 2, EIO), Fails("Fsync", 1, EIO),
                    Fails("Fsync", 2, EIO), Fails("Fsync", 3, EIO), Fails("Fsync", 4, EIO),
                    Fails("Rename", 1, EXDEV), Fails("Rename", 2, EACCES)),
    FaultName);

INSTANTIATE_TEST_SUITE_P(EachCrashingCall, ProfileRestoreFaultTest,
                         testing::Values(Crashes("Open", 1), Crashes("Open", 2), Crashes("Open", 3),
                                         Crashes("Open", 4), Crashes("Open", 5), Crashes("Open", 6),
                                         Crashes("CopyFileRange", 1), Crashes("CopyFileRange", 2),
                                         Crashes("Fsync", 1), Crashes("Fsync", 2),
                                         Crashes("Fsync", 3), Crashes("Fsync", 4),
                                         Crashes("Rename", 1), Crashes("Rename", 2)),
                         FaultName);

}  // namespace
}  // namespace tervix::test
