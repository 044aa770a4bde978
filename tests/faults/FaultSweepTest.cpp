#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "login/Window1.h"
#include "options/Option.h"
#include "platform/Controls.h"
#include "platform/Window.h"
#include "prefs/Prefs.h"
#include "restore/Restore.h"
#include "tests/faults/FaultSweep.h"
#include "tests/support/UserActions.h"

namespace tervix::test {
namespace {

using Names = std::vector<std::string>;

constexpr const char* kExecutable = "/opt/tervix/Tervix";
constexpr const char* kNewLogin = "bob the builder";

platform::Window& Shown(const std::string& runtimeClassName) {
  return platform::NotNil(platform::GetImplicitWindow(runtimeClassName));
}

// Bob's profile and last week's backup are on disk, the game is known from an
// earlier run, and bob presses "Logon".
class LogonFlow : public FaultedFlow {
  static constexpr const char* kProfile = "bob's profile: level 12, three ships";
  static constexpr const char* kOldBackup = "bob's backup from last week, longer than his profile";
  static constexpr const char* kStarting = "Starting gateway...";

  void Arrange() override {
    WriteFile(ProfileFolder() + "bob.usr", kProfile);
    WriteFile(ProfileFolder() + "bob-backup.usr", kOldBackup);
    WriteFile(PrefsFolderPath() + "/PrefExecutable", kExecutable);
    StartLauncher();
    Type(Shown(Window1::kRuntimeClassName), "EditField1", "bob");
  }
  void Act() override { Click(Shown(Window1::kRuntimeClassName), "BevelButton1"); }
  void Check(bool faulted, bool crashed) override {
    const std::string backup = ReadFile(ProfileFolder() + "bob-backup.usr").value_or("<missing>");
    const std::string status =
        Shown(Window1::kRuntimeClassName).ControlAs<platform::StaticText>("StaticText2")->Text();
    const Names& launched = launches().launched();
    const auto& messages = dialogs().messages();
    EXPECT_EQ(ReadFile(ProfileFolder() + "bob.usr"), kProfile);
    EXPECT_TRUE(backup == kOldBackup || backup == kProfile) << "the backup holds: " << backup;
    EXPECT_TRUE(!crashed || status != kStarting || backup == kProfile)
        << "\"Starting gateway...\" was shown before the backup was made";
    if (crashed)
      return;
    EXPECT_EQ(ListFolder(ProfileFolder()), (Names{"bob-backup.usr", "bob.usr"}));
    const bool missing = status == "Please enter your gateway login...";
    EXPECT_TRUE(missing ? backup == kOldBackup && launched.empty() : status == kStarting) << status;
    const std::string shown =
        messages.size() == 1 ? messages[0].text : "messages: " + std::to_string(messages.size());
    EXPECT_EQ(shown, missing ? "This gateway doesn't exists, please try again..." : "messages: 0");
    // Only a player who was asked for the game and cancelled goes without it.
    EXPECT_TRUE(missing || launched == Names{kExecutable} || !dialogs().openFileTitles().empty())
        << "the known game was not started";
    EXPECT_TRUE(faulted || backup == kProfile) << "a logon where nothing failed made no backup";
  }
};

// Alice's profile and her backup are on disk, perhaps with a trashed copy
// from an earlier restore; she opens the restore window and presses "Yes".
template <bool withOldTrashed>
class RestoreFlow : public FaultedFlow {
  static constexpr const char* kProfile = "alice's profile as she plays it now";
  static constexpr const char* kBackup = "alice's backup, the one she wants back";
  static constexpr const char* kOldTrash = withOldTrashed ? "an old trashed profile" : "<missing>";

  std::string Read(const std::string& name) const {
    return ReadFile(ProfileFolder() + "alice" + name + ".usr").value_or("<missing>");
  }
  void Arrange() override {
    WriteFile(ProfileFolder() + "alice.usr", kProfile);
    WriteFile(ProfileFolder() + "alice-backup.usr", kBackup);
    if (withOldTrashed)
      WriteFile(ProfileFolder() + "alice-trashed.usr", kOldTrash);
    WriteFile(PrefsFolderPath() + "/PrefLogin", "alice");
    StartLauncher();
    Click(Shown(Window1::kRuntimeClassName), "BevelButton2");
  }
  void Act() override { Click(Shown(Restore::kRuntimeClassName), "BevelYES"); }
  void Check(bool faulted, bool crashed) override {
    const std::string current = Read(""), trashed = Read("-trashed"), terminal = RestoreTerminal();
    const bool done = terminal.find("Restore done !!!") != std::string::npos;
    const bool failed =
        terminal.find("Restore failed, your gateway was left as it was.") != std::string::npos;
    EXPECT_EQ(Read("-backup"), kBackup);
    EXPECT_TRUE(current == kProfile || (current == kBackup && trashed == kProfile))
        << "alice's profile is lost; the profile holds: " << current << "; trashed: " << trashed;
    EXPECT_TRUE(trashed == kOldTrash || trashed == kProfile) << "trashed holds: " << trashed;
    EXPECT_TRUE(!done || (current == kBackup && trashed == kProfile))
        << "the terminal says the restore is done, yet the profile holds: " << current;
    EXPECT_TRUE(!failed || current == kProfile)
        << "the terminal says the restore failed, yet the profile holds: " << current;
    EXPECT_TRUE(done || faulted) << terminal;
    EXPECT_TRUE(crashed || done || failed || (current == kProfile && trashed == kOldTrash))
        << "a press that reached no file step changed the files";
    EXPECT_TRUE(crashed || ListFolder(ProfileFolder()).size() == (trashed == "<missing>" ? 2u : 3u))
        << "a temporary file was left: " << testing::PrintToString(ListFolder(ProfileFolder()));
  }
};

// The player opens the preferences window, replaces the login shown with a
// new one and moves on to the executable field, which saves the login.
template <bool storedBefore>
class LoginSaveFlow : public FaultedFlow {
  const std::optional<std::string> before_ = storedBefore ? std::optional("alice") : std::nullopt;

  void Arrange() override {
    if (before_)
      WriteFile(PrefsFolderPath() + "/PrefLogin", *before_);
    StartLauncher();
    ChooseMenu("Pref");
    Type(Shown(Option::kRuntimeClassName), "EditField1", std::string(5, '\b') + kNewLogin);
  }
  void Act() override { Focus(Shown(Option::kRuntimeClassName), "Executable"); }
  void Check(bool faulted, bool crashed) override {
    const std::optional<std::string> stored = ReadFile(PrefsFolderPath() + "/PrefLogin");
    EXPECT_TRUE(stored == before_ || stored == kNewLogin) << stored.value_or("<missing>");
    EXPECT_TRUE(faulted || stored == kNewLogin) << stored.value_or("<missing>");
    EXPECT_TRUE(crashed || Prefs::PrefLogin() == stored.value_or(""))
        << "this run goes on with " << Prefs::PrefLogin() << ", not the login on disk";
  }
};

TEST(FaultSweepTest, LogonKeepsAWholeBackupWhateverFails) {
  EXPECT_GE(Sweep(LogonFlow()), 40);
}

TEST(FaultSweepTest, RestoreKeepsEveryProfileAndTellsTheTruthWhateverFails) {
  EXPECT_GE(Sweep(RestoreFlow<true>()), 80);
}

TEST(FaultSweepTest, FirstRestoreKeepsEveryProfileAndTellsTheTruthWhateverFails) {
  EXPECT_GE(Sweep(RestoreFlow<false>()), 80);
}

TEST(FaultSweepTest, LoginSaveLeavesTheOldOrTheNewLoginWhateverFails) {
  EXPECT_GE(Sweep(LoginSaveFlow<true>()), 80);
}

TEST(FaultSweepTest, FirstLoginSaveLeavesNoLoginOrTheNewOneWhateverFails) {
  EXPECT_GE(Sweep(LoginSaveFlow<false>()), 50);
}

// A file system on which the Nth look at a path with the given end fails with EIO.
struct BlinkingPath : FaultPlan {
  BlinkingPath(std::string end, int nth) : end(std::move(end)), nth(nth) {}
  int Stat(Path path, struct stat* status) override {
    if (path.ends_with(end) && --nth == 0)
      FailCall("Stat", Calls("Stat") + 1, EIO);
    return FaultPlan::Stat(path, status);
  }
  std::string end;
  int nth;
};

// Logon reads the known game's path twice; the second read failing for a
// moment must not leave the player with "Starting gateway..." and no game.
TEST(MomentaryFailureTest, LogonStartsTheKnownGameWhenThePreferencesFolderBlinks) {
  RunOnce(LogonFlow(), std::make_shared<BlinkingPath>("/config", 2));
}

// The third look at the login's file is the one right after the rename that
// put the new login in place; the save is done, and this run must use it.
TEST(MomentaryFailureTest, SavedLoginIsUsedAtOnceWhenItsFileBlinksAfterTheMove) {
  RunOnce(LoginSaveFlow<true>(), std::make_shared<BlinkingPath>("/PrefLogin", 3));
}

}  // namespace

}  // namespace tervix::test
