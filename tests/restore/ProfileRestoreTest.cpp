#include <gtest/gtest.h>

#include <string>

#include "app/Instances.h"
#include "login/Window1.h"
#include "options/Option.h"
#include "platform/Window.h"
#include "prefs/Prefs.h"
#include "tests/restore/RestoreFixture.h"
#include "tests/support/UserActions.h"

namespace tervix::test {
namespace {

using ProfileRestoreTest = RestoreTest;

const char* const kOpening = "\n\nStarting restore process...\n\n";
const char* const kReturning = "\nReturning to login screen.\nPlease wait...";

TEST_F(ProfileRestoreTest, YesWithoutProfileOnlyWritesTheOpeningLines) {
  WriteFile(ProfileFile("alice-backup.usr"), "backup profile");
  auto window = OpenRestoreWindow("alice");
  ASSERT_TRUE(window);
  PressYes(*window);

  EXPECT_EQ(TerminalText(*window), Dialogue("alice") + kOpening);
  EXPECT_TRUE(IsEnabled(*window, "BevelYES"));
  EXPECT_TRUE(IsEnabled(*window, "BevelNO"));
  EXPECT_EQ(OpenRestore(), window) << "the restore window closed";
  EXPECT_EQ(waitClock().backgroundTaskCalls(), 0);
  EXPECT_EQ(ListFolder(ProfileFolder()), std::vector<std::string>{"alice-backup.usr"});
}

TEST_F(ProfileRestoreTest, SecondYesWithoutProfileLeavesThreeEmptyLinesBetween) {
  auto window = OpenRestoreWindow("alice");
  ASSERT_TRUE(window);
  PressYes(*window);
  PressYes(*window);

  EXPECT_EQ(
      TerminalText(*window),
      Dialogue("alice") + "\n\nStarting restore process...\n\n\n\nStarting restore process...\n\n");
}

TEST_F(ProfileRestoreTest, YesAfterTheProfileAppearedRestoresIt) {
  auto window = OpenRestoreWindow("alice");
  ASSERT_TRUE(window);
  PressYes(*window);
  WriteFile(ProfileFile("alice.usr"), "current profile");
  WriteFile(ProfileFile("alice-backup.usr"), "backup profile");
  PressYes(*window);

  EXPECT_EQ(ReadFile(ProfileFile("alice.usr")), "backup profile");
  EXPECT_FALSE(OpenRestore());
}

TEST_F(ProfileRestoreTest, YesWithoutBackupSaysSoAndReturnsToLogin) {
  WriteFile(ProfileFile("alice.usr"), "current profile");
  auto window = OpenRestoreWindow("alice");
  ASSERT_TRUE(window);
  PressYes(*window);

  ASSERT_TRUE(waitClock().seen()) << "\"Yes\" did not wait";
  const SeenDuringWait& seen = *waitClock().seen();
  EXPECT_EQ(seen.terminal,
            Dialogue("alice") + kOpening + "Sorry you have no backup yet..." + kReturning);
  EXPECT_FALSE(seen.noEnabled);
  EXPECT_TRUE(seen.yesEnabled);
  EXPECT_EQ(waitClock().backgroundTaskCalls(), 360);
  EXPECT_FALSE(OpenRestore()) << "the restore window is still open";
  EXPECT_EQ(LoginFieldOfOpenLoginWindow(), "alice");
  EXPECT_EQ(FolderContents(ProfileFolder()),
            (std::map<std::string, std::string>{{"alice.usr", "current profile"}}));
}

TEST_F(ProfileRestoreTest, YesPutsTheBackupInPlaceAndKeepsTheFormerProfileAsTrashed) {
  WriteFile(ProfileFile("alice.usr"), "current profile");
  WriteFile(ProfileFile("alice-backup.usr"), "backup profile");
  auto window = OpenRestoreWindow("alice");
  ASSERT_TRUE(window);
  PressYes(*window);

  ASSERT_TRUE(waitClock().seen()) << "\"Yes\" did not wait";
  const SeenDuringWait& seen = *waitClock().seen();
  EXPECT_EQ(seen.terminal, Dialogue("alice") + kOpening + "Restore done !!!\n" + kReturning);
  EXPECT_FALSE(seen.noEnabled);
  EXPECT_FALSE(seen.yesEnabled);
  EXPECT_EQ(FolderContents(ProfileFolder()), (std::map<std::string, std::string>{
                                                 {"alice-backup.usr", "backup profile"},
                                                 {"alice-trashed.usr", "current profile"},
                                                 {"alice.usr", "backup profile"},
                                             }));
}

TEST_F(ProfileRestoreTest, RestoreReturnsToANewLoginWindowShowingTheStoredLogin) {
  WriteFile(ProfileFile("alice.usr"), "current profile");
  WriteFile(ProfileFile("alice-backup.usr"), "backup profile");
  Prefs::PrefLogin("alice");
  StartLauncher();
  auto firstLogin = platform::GetImplicitWindow(Window1::kRuntimeClassName);
  Type(platform::NotNil(instance::Window1()), "EditField1", "-typed");
  Click(platform::NotNil(instance::Window1()), "BevelButton2");
  auto window = OpenRestore();
  ASSERT_TRUE(window);
  PressYes(*window);

  EXPECT_EQ(waitClock().backgroundTaskCalls(), 360);
  EXPECT_FALSE(OpenRestore());
  auto newLogin = platform::GetImplicitWindow(Window1::kRuntimeClassName);
  ASSERT_TRUE(newLogin) << "no login window after the restore";
  EXPECT_NE(newLogin, firstLogin);
  EXPECT_TRUE(newLogin->Visible());
  EXPECT_EQ(LoginFieldOfOpenLoginWindow(), "alice");
}

TEST_F(ProfileRestoreTest, TrashedFileFromAnEarlierRestoreIsReplacedWhole) {
  WriteFile(ProfileFile("alice.usr"), "current");
  WriteFile(ProfileFile("alice-backup.usr"), "backup");
  WriteFile(ProfileFile("alice-trashed.usr"), "a much longer trashed profile from last week");
  auto window = OpenRestoreWindow("alice");
  ASSERT_TRUE(window);
  PressYes(*window);

  EXPECT_EQ(ReadFile(ProfileFile("alice-trashed.usr")), "current");
  EXPECT_EQ(ReadFile(ProfileFile("alice.usr")), "backup");
}

TEST_F(ProfileRestoreTest, EmptyStoredLoginWorksOnTheBareFileNames) {
  WriteFile(ProfileFile(".usr"), "current profile");
  WriteFile(ProfileFile("-backup.usr"), "backup profile");
  auto window = OpenRestoreWindow("");
  ASSERT_TRUE(window);
  PressYes(*window);

  EXPECT_EQ(FolderContents(ProfileFolder()), (std::map<std::string, std::string>{
                                                 {"-backup.usr", "backup profile"},
                                                 {"-trashed.usr", "current profile"},
                                                 {".usr", "backup profile"},
                                             }));
}

TEST_F(ProfileRestoreTest, YesWorksOnALoginStoredAfterTheWindowOpened) {
  WriteFile(ProfileFile("bob.usr"), "bob current");
  WriteFile(ProfileFile("bob-backup.usr"), "bob backup");
  auto window = OpenRestoreWindow("");
  ASSERT_TRUE(window);
  ChooseMenu("Pref");
  auto option = platform::GetImplicitWindow(Option::kRuntimeClassName);
  ASSERT_TRUE(option) << "no preferences window";
  Type(*option, "EditField1", "bob");
  Focus(*option, "Executable");
  ASSERT_EQ(Prefs::PrefLogin(), "bob");
  PressYes(*window);

  ASSERT_TRUE(waitClock().seen());
  EXPECT_EQ(waitClock().seen()->terminal,
            Dialogue("") + kOpening + "Restore done !!!\n" + kReturning)
      << "the question should still name the login stored when the window opened";
  EXPECT_EQ(ReadFile(ProfileFile("bob.usr")), "bob backup");
  EXPECT_EQ(ReadFile(ProfileFile("bob-trashed.usr")), "bob current");
}

TEST_F(ProfileRestoreTest, StoredLoginThatLeavesTheProfileFolderCountsAsMissing) {
  const std::string outside = Home() + "/Library/Application Support/";
  WriteFile(outside + "evil.usr", "someone else's file");
  WriteFile(outside + "evil-backup.usr", "attacker content");
  auto window = OpenRestoreWindow("../evil");
  ASSERT_TRUE(window);
  PressYes(*window);

  EXPECT_EQ(TerminalText(*window), Dialogue("../evil") + kOpening);
  EXPECT_EQ(ReadFile(outside + "evil.usr"), "someone else's file");
  EXPECT_FALSE(FileExists(outside + "evil-trashed.usr"));
  EXPECT_EQ(OpenRestore(), window);
}

TEST_F(ProfileRestoreTest, StoredLoginWithANulCharacterCountsAsMissing) {
  WriteFile(ProfileFile("a"), "a file that only the part before the NUL names");
  auto window = OpenRestoreWindow(std::string("a\0b", 3));
  ASSERT_TRUE(window);
  PressYes(*window);

  EXPECT_EQ(OpenRestore(), window) << "the press went past the missing-profile outcome";
  EXPECT_EQ(waitClock().backgroundTaskCalls(), 0);
  EXPECT_EQ(FolderContents(ProfileFolder()),
            (std::map<std::string, std::string>{
                {"a", "a file that only the part before the NUL names"}}));
}

}  // namespace
}  // namespace tervix::test
