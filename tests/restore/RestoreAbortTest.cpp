#include <gtest/gtest.h>

#include "platform/Runtime.h"
#include "platform/Window.h"
#include "prefs/Prefs.h"
#include "tests/restore/RestoreFixture.h"
#include "tests/support/UserActions.h"

namespace tervix::test {
namespace {

class RestoreAbortTest : public RestoreTest {
 protected:
  void WriteProfiles() {
    WriteFile(ProfileFile("alice.usr"), "current profile");
    WriteFile(ProfileFile("alice-backup.usr"), "backup profile");
  }
};

const char* const kAbortLines =
    "\n\nRestore process aborted, returning to login screen.\nPlease wait...";

TEST_F(RestoreAbortTest, NoDisablesBothButtonsAndSaysItAbortsBeforeTheWait) {
  auto window = OpenRestoreWindow("alice");
  ASSERT_TRUE(window);
  PressNo(*window);

  ASSERT_TRUE(waitClock().seen()) << "\"No\" did not wait";
  const SeenDuringWait& seen = *waitClock().seen();
  EXPECT_TRUE(seen.restoreOpen);
  EXPECT_EQ(seen.terminal, Dialogue("alice") + kAbortLines);
  EXPECT_FALSE(seen.noEnabled);
  EXPECT_FALSE(seen.yesEnabled);
}

TEST_F(RestoreAbortTest, NoReturnsToANewLoginWindowAfter240Ticks) {
  auto window = OpenRestoreWindow("alice");
  ASSERT_TRUE(window);
  PressNo(*window);

  EXPECT_EQ(waitClock().backgroundTaskCalls(), 240);
  EXPECT_FALSE(OpenRestore()) << "the restore window is still open";
  EXPECT_EQ(LoginFieldOfOpenLoginWindow(), "alice");
  EXPECT_FALSE(platform::PendingQuitCode()) << "the launcher quit";
}

TEST_F(RestoreAbortTest, NoTouchesNoFileAndNoPreference) {
  WriteProfiles();
  auto window = OpenRestoreWindow("alice");
  ASSERT_TRUE(window);
  const auto profiles = FolderContents(ProfileFolder());
  const auto prefs = FolderContents(PrefsFolderPath());
  PressNo(*window);

  EXPECT_EQ(FolderContents(ProfileFolder()), profiles);
  EXPECT_EQ(FolderContents(PrefsFolderPath()), prefs);
}

TEST_F(RestoreAbortTest, NoAfterAYesWithoutProfileFollowsItsLines) {
  auto window = OpenRestoreWindow("alice");
  ASSERT_TRUE(window);
  PressYes(*window);
  PressNo(*window);

  ASSERT_TRUE(waitClock().seen());
  EXPECT_EQ(waitClock().seen()->terminal,
            Dialogue("alice") + "\n\nStarting restore process...\n\n" + kAbortLines);
  EXPECT_EQ(waitClock().backgroundTaskCalls(), 240);
  EXPECT_FALSE(OpenRestore());
  EXPECT_EQ(LoginFieldOfOpenLoginWindow(), "alice");
}

TEST_F(RestoreAbortTest, CloseBoxLeavesNoWindowAndFilesAndPreferencesAsTheyWere) {
  WriteProfiles();
  auto window = OpenRestoreWindow("alice");
  ASSERT_TRUE(window);
  const auto profiles = FolderContents(ProfileFolder());
  const auto prefs = FolderContents(PrefsFolderPath());
  CloseBox(*window);

  EXPECT_TRUE(platform::OpenWindows().empty())
      << platform::OpenWindows().size() << " windows still open";
  EXPECT_EQ(waitClock().backgroundTaskCalls(), 0);
  EXPECT_EQ(FolderContents(ProfileFolder()), profiles);
  EXPECT_EQ(FolderContents(PrefsFolderPath()), prefs);
  EXPECT_EQ(Prefs::PrefLogin(), "alice");
}

}  // namespace
}  // namespace tervix::test
