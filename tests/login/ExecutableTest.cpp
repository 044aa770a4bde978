#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/login/LoginTest.h"

namespace tervix::test {
namespace {

using Texts = std::vector<std::string>;

constexpr const char* kChosen = "/games/tervix/Tervix";

// A profile on disk and "bob" typed; whether the executable is known is up to each test.
class ExecutableTest : public LoginTest {
 protected:
  void SetUp() override {
    LoginTest::SetUp();
    WriteFile(Profile("bob.usr"), "current profile");
    StartLauncher();
    TypeLogin("bob");
  }
  std::optional<std::string> StoredExecutable() const {
    return ReadFile(PrefsFolderPath() + "/PrefExecutable");
  }
};

TEST_F(ExecutableTest, UnknownExecutableIsAskedForAndStored) {
  dialogs().AnswerNextOpenFile(kChosen);

  ClickLogon();

  EXPECT_EQ(dialogs().openFileTitles(), Texts{"Select Tervix executable"});
  EXPECT_EQ(dialogs().openFileInitialDirectories(), Texts{"/"});
  EXPECT_EQ(StoredExecutable(), kChosen);
  EXPECT_EQ(launches().launched(), Texts{kChosen});
}

TEST_F(ExecutableTest, CancelledDialogStoresNothingAndLaunchesNothing) {
  dialogs().AnswerNextOpenFile(std::nullopt);

  ClickLogon();

  EXPECT_EQ(dialogs().openFileTitles().size(), 1u);
  EXPECT_FALSE(FileExists(PrefsFolderPath() + "/PrefExecutable"));
  EXPECT_TRUE(launches().launched().empty());
  EXPECT_EQ(ReadFile(Profile("bob-backup.usr")), "current profile");
  EXPECT_EQ(StatusLine(), "Starting gateway...");
  EXPECT_EQ(clock().backgroundTaskCalls(), 240);
  EXPECT_EQ(platform::PendingQuitCode(), 0);
}

TEST_F(ExecutableTest, KnownExecutableIsLaunchedWithoutDialogThenLauncherQuits) {
  KnowExecutable();

  ClickLogon();

  EXPECT_TRUE(dialogs().openFileTitles().empty());
  EXPECT_EQ(launches().launched(), Texts{kExecutable});
  EXPECT_EQ(clock().backgroundTaskCalls(), 240);
  EXPECT_EQ(platform::PendingQuitCode(), 0);
}

}  // namespace
}  // namespace tervix::test
