#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "login/Window1.h"
#include "platform/Controls.h"
#include "platform/Seams.h"
#include "platform/Window.h"
#include "restore/Restore.h"
#include "tests/faults/FaultSweep.h"
#include "tests/faults/TerminalWatch.h"
#include "tests/support/UserActions.h"

namespace tervix::test {
namespace {

constexpr const char* kProfile = "alice's profile as she plays it now";
constexpr const char* kBackup = "alice's backup, the one she wants back";
constexpr const char* kOldTrashed = "a profile trashed by an earlier restore";
constexpr const char* kRestoreDone = "Restore done !!!";
constexpr const char* kRestoreFailed = "Restore failed, your gateway was left as it was.";
constexpr const char* kNoBackup = "Sorry you have no backup yet...";
constexpr int kReturnTicks = 360;

std::string TerminalOf(const platform::Window& window) {
  return window.ControlAs<platform::EditField>("Terminal")->Text();
}

// Alice's profile and her backup are on disk, perhaps with a trashed copy
// from an earlier restore; she opens the restore window and presses "Yes".
class RestoreFlow : public FaultedFlow {
 protected:
  explicit RestoreFlow(bool withOldTrashed) : withOldTrashed_(withOldTrashed) {}

  Seen Run() override {
    WriteFile(ProfileFolder() + "alice.usr", kProfile);
    WriteFile(ProfileFolder() + "alice-backup.usr", kBackup);
    if (withOldTrashed_)
      WriteFile(ProfileFolder() + "alice-trashed.usr", kOldTrashed);
    StoreFromEarlierRun("PrefLogin", "alice");
    StartLauncher();
    Click(platform::NotNil(platform::GetImplicitWindow(Window1::kRuntimeClassName)),
          "BevelButton2");
    const std::shared_ptr<platform::Window> restore =
        platform::GetImplicitWindow(Restore::kRuntimeClassName);
    auto watch = std::make_shared<TerminalWatch>();
    platform::InstallTickClock(watch);

    Act([&] { Click(platform::NotNil(restore), "BevelYES"); });

    const auto open = platform::GetImplicitWindow(Restore::kRuntimeClassName);
    const std::string terminal = watch->terminal() ? *watch->terminal()
                                 : open            ? TerminalOf(*open)
                                                   : "<not seen>";
    return {{"terminal", terminal},
            {"restore open", open ? "yes" : "no"},
            {"login open", platform::GetImplicitWindow(Window1::kRuntimeClassName) ? "yes" : "no"},
            {"ticks waited", std::to_string(watch->backgroundTaskCalls())}};
  }

 private:
  bool withOldTrashed_;
};

class RestoreOverOldTrashedCopy : public RestoreFlow {
 public:
  RestoreOverOldTrashedCopy() : RestoreFlow(true) {}
};

class FirstRestore : public RestoreFlow {
 public:
  FirstRestore() : RestoreFlow(false) {}
};

bool Says(const FaultCase& restore, const std::string& text) {
  return restore.Saw("terminal").find(text) != std::string::npos;
}

// What the terminal says and what is on disk agree, and no profile content is lost.
void CheckRestore(const FaultCase& restore, const std::string& trashedBefore) {
  const std::string folder = restore.ProfileFolder();
  const std::string current = FaultCase::Read(folder + "alice.usr");
  const std::string trashed = FaultCase::Read(folder + "alice-trashed.usr");
  EXPECT_EQ(FaultCase::Read(folder + "alice-backup.usr"), kBackup);
  EXPECT_TRUE(current == kProfile || current == kBackup) << "the profile holds: " << current;
  EXPECT_TRUE(current == kProfile || trashed == kProfile)
      << "the profile alice had is gone; profile: " << current << "; trashed: " << trashed;
  EXPECT_TRUE(trashed == trashedBefore || trashed == kProfile) << "trashed holds: " << trashed;

  const bool saysDone = Says(restore, kRestoreDone);
  const bool saysFailed = Says(restore, kRestoreFailed);
  EXPECT_FALSE(saysDone && saysFailed) << restore.Saw("terminal");
  if (saysDone) {
    EXPECT_EQ(current, kBackup) << "the terminal says the restore is done, but it is not";
    EXPECT_EQ(trashed, kProfile);
  }
  if (saysFailed) {
    EXPECT_EQ(current, kProfile) << "the terminal says the profile was left as it was";
  }
  if (!restore.fault) {
    EXPECT_TRUE(saysDone) << restore.Saw("terminal");
  }
  if (restore.crashed) {
    return;
  }

  const bool returnsToLogin = saysDone || saysFailed || Says(restore, kNoBackup);
  EXPECT_EQ(restore.Saw("restore open"), returnsToLogin ? "no" : "yes");
  EXPECT_EQ(restore.Saw("login open"), returnsToLogin ? "yes" : "no");
  EXPECT_EQ(restore.Saw("ticks waited"), std::to_string(returnsToLogin ? kReturnTicks : 0));
  if (!saysDone && !saysFailed) {
    EXPECT_EQ(current, kProfile) << "a press that reached no file step changed the profile";
    EXPECT_EQ(trashed, trashedBefore);
  }
  for (const std::string& name : FaultCase::List(folder)) {
    EXPECT_TRUE(name == "alice.usr" || name == "alice-backup.usr" || name == "alice-trashed.usr")
        << "a temporary file was left behind: " << name;
  }
}

void CheckRestoreOverOldTrashedCopy(const FaultCase& restore) {
  CheckRestore(restore, kOldTrashed);
}

void CheckFirstRestore(const FaultCase& restore) {
  CheckRestore(restore, "<missing>");
}

int Report(int cases) {
  std::cout << "fault cases run: " << cases << "\n";
  return cases;
}

TEST(RestoreFaultTest, ProfileSurvivesAnyFailedCallAndTerminalTellsTheTruth) {
  EXPECT_GE(Report(Sweep<RestoreOverOldTrashedCopy>(FaultSet::FailedCalls,
                                                    CheckRestoreOverOldTrashedCopy)),
            60);
}

TEST(RestoreFaultTest, ProfileSurvivesWhereverTheLauncherStops) {
  EXPECT_GE(
      Report(Sweep<RestoreOverOldTrashedCopy>(FaultSet::Crashes, CheckRestoreOverOldTrashedCopy)),
      20);
}

TEST(RestoreFaultTest, FirstRestoreSurvivesAnyFailedCall) {
  EXPECT_GE(Report(Sweep<FirstRestore>(FaultSet::FailedCalls, CheckFirstRestore)), 60);
}

TEST(RestoreFaultTest, FirstRestoreSurvivesWhereverTheLauncherStops) {
  EXPECT_GE(Report(Sweep<FirstRestore>(FaultSet::Crashes, CheckFirstRestore)), 20);
}

}  // namespace
}  // namespace tervix::test
