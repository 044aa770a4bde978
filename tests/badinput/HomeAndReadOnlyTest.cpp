#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "options/Option.h"
#include "prefs/Prefs.h"
#include "tests/badinput/BadInputTest.h"
#include "tests/badinput/ReadOnlyFolder.h"

namespace tervix::test {
namespace {

constexpr const char* kChosen = "/games/tervix/Tervix";

using HomeTest = BadInputTest;

// Without a home the profile folder is "/Library/Application Support/Tervix/",
// where no profile is; the launcher creates nothing there.
TEST_F(HomeTest, LogonWithoutHomeIsAMissingProfile) {
  WriteFile(Profile("bob.usr"), "bob's profile");
  unsetenv("HOME");
  LogonTyping("bob");
  EXPECT_EQ(Messages(), Texts{kGatewayMissing});
  EXPECT_FALSE(FileExists("/Library/Application Support/Tervix/bob-backup.usr"));
  EXPECT_EQ(Contents(ProfileFolder()), (Files{{"bob.usr", "bob's profile"}}));
}

TEST_F(HomeTest, LogonWithAnEmptyHomeIsAMissingProfile) {
  WriteFile(Profile("bob.usr"), "bob's profile");
  setenv("HOME", "", 1);
  LogonTyping("bob");
  EXPECT_EQ(Messages(), Texts{kGatewayMissing});
  EXPECT_EQ(Contents(ProfileFolder()), (Files{{"bob.usr", "bob's profile"}}));
}

TEST_F(HomeTest, RestoreWithoutHomeStopsAfterTheOpeningLines) {
  WriteFile(Profile("alice.usr"), "alice's profile");
  WriteFile(Profile("alice-backup.usr"), "alice's backup");
  unsetenv("HOME");
  RestoreStored("alice");
  EXPECT_TRUE(RestoreOpen());
  EXPECT_EQ(TicksWaited(), 0);
  EXPECT_EQ(Contents(ProfileFolder()),
            (Files{{"alice-backup.usr", "alice's backup"}, {"alice.usr", "alice's profile"}}));
}

// With neither a config home nor a home there is no preferences folder: the
// windows show no stored values and leaving a field stores nothing anywhere.
TEST_F(HomeTest, WithoutAnyHomePreferencesAreNeitherShownNorStored) {
  unsetenv("XDG_CONFIG_HOME");
  setenv("HOME", "", 1);
  StartLauncher();
  EXPECT_EQ(LoginField(), "");
  ChooseMenu("Pref");
  platform::Window& preferences =
      platform::NotNil(platform::GetImplicitWindow(Option::kRuntimeClassName));

  Type(preferences, "EditField1", "alice");
  Focus(preferences, "Executable");

  EXPECT_EQ(Prefs::PrefLogin(), "");
  EXPECT_EQ(ListFolder(ConfigHome()), Texts{});
  EXPECT_FALSE(FileExists(std::string("/.config/") + Prefs::kApplicationFolderName));
}

class ReadOnlyTest : public BadInputTest {
 protected:
  void MakeReadOnly(const std::string& folder) {
    platform::InstallFileSystem(std::make_shared<ReadOnlyFolder>(folder));
  }
};

TEST_F(ReadOnlyTest, ReadOnlyProfileFolderKeepsTheOldBackupAndStartsTheGame) {
  WriteFile(Profile("bob.usr"), "bob's profile");
  WriteFile(Profile("bob-backup.usr"), "bob's old backup");
  MakeReadOnly(ProfileFolder());
  LogonTyping("bob");
  EXPECT_EQ(StatusLine(), kStartingGateway);
  EXPECT_EQ(launches().launched(), Texts{kExecutable});
  EXPECT_EQ(Contents(ProfileFolder()),
            (Files{{"bob-backup.usr", "bob's old backup"}, {"bob.usr", "bob's profile"}}));
}

TEST_F(ReadOnlyTest, ReadOnlyProfileFolderRestoreFailsAndSaysSo) {
  WriteFile(Profile("alice.usr"), "alice's profile");
  WriteFile(Profile("alice-backup.usr"), "alice's backup");
  MakeReadOnly(ProfileFolder());
  RestoreStored("alice");
  EXPECT_TRUE(TerminalSays(kRestoreFailed)) << Terminal();
  EXPECT_FALSE(TerminalSays(kRestoreDone)) << Terminal();
  EXPECT_EQ(Contents(ProfileFolder()),
            (Files{{"alice-backup.usr", "alice's backup"}, {"alice.usr", "alice's profile"}}));
}

// The preferences window, opened again, shows the login that is really stored.
TEST_F(ReadOnlyTest, ReadOnlyConfigHomeKeepsTheStoredLogin) {
  StoreFromEarlierRun("PrefLogin", "alice");
  StartLauncher();
  MakeReadOnly(ConfigHome());
  ChooseMenu("Pref");
  platform::Window& preferences =
      platform::NotNil(platform::GetImplicitWindow(Option::kRuntimeClassName));
  Type(preferences, "EditField1", "\b\b\b\b\bbob");
  Focus(preferences, "Executable");
  Click(preferences, "BevelButton1");

  ChooseMenu("Pref");

  EXPECT_EQ(platform::NotNil(platform::GetImplicitWindow(Option::kRuntimeClassName))
                .ControlAs<platform::EditField>("EditField1")
                ->Text(),
            "alice");
  EXPECT_EQ(ReadFile(PrefsFolderPath() + "/PrefLogin"), "alice");
  EXPECT_EQ(ListFolder(PrefsFolderPath()), Texts{"PrefLogin"});
}

// The chosen game cannot be remembered, but it is the one the player chose now.
TEST_F(ReadOnlyTest, ReadOnlyConfigHomeStillStartsTheChosenGame) {
  WriteFile(Profile("bob.usr"), "bob's profile");
  dialogs().AnswerNextOpenFile(kChosen);
  MakeReadOnly(ConfigHome());
  StartLauncher();
  Type(Login(), "EditField1", "bob");

  Click(Login(), "BevelButton1");

  EXPECT_EQ(dialogs().openFileTitles(), Texts{"Select Tervix executable"});
  EXPECT_EQ(launches().launched(), Texts{kChosen});
  EXPECT_EQ(ListFolder(ConfigHome()), Texts{});
}

}  // namespace
}  // namespace tervix::test
