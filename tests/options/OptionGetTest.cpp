#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "prefs/Prefs.h"
#include "tests/options/OptionTest.h"

namespace tervix::test {
namespace {

using OptionGetTest = OptionTest;

constexpr const char* kDialogTitle = "Select Tervix executable";

TEST_F(OptionGetTest, GetAsksForTheExecutableFromTheFirstVolume) {
  auto window = ChoosePreferences();
  ASSERT_NE(window, nullptr);
  dialogs().AnswerNextOpenFile(std::nullopt);
  Click(*window, "BevelButton3");
  EXPECT_EQ(dialogs().openFileTitles(), std::vector<std::string>{kDialogTitle});
  EXPECT_EQ(dialogs().openFileInitialDirectories(), std::vector<std::string>{"/"});
}

TEST_F(OptionGetTest, CancelledGetKeepsTheFieldAndTheStore) {
  StoreOnDisk("PrefExecutable", "/games/old");
  auto window = ChoosePreferences();
  ASSERT_NE(window, nullptr);
  Type(*window, "Executable", "-unsaved");
  dialogs().AnswerNextOpenFile(std::nullopt);
  Click(*window, "BevelButton3");
  EXPECT_EQ(FieldText(*window, "Executable"), "/games/old-unsaved");
  EXPECT_EQ(Stored("PrefExecutable"), "/games/old");
  EXPECT_EQ(Prefs::PrefExecutable(), "/games/old");
}

TEST_F(OptionGetTest, ChosenFileIsShownAndStoredAtOnce) {
  const std::string game = Home() + "/Tervix Game";
  WriteFile(game, "#!/bin/sh\n");
  auto window = ChoosePreferences();
  ASSERT_NE(window, nullptr);
  Type(*window, "Executable", "/typed/path");
  dialogs().AnswerNextOpenFile(game);
  Click(*window, "BevelButton3");
  EXPECT_EQ(FieldText(*window, "Executable"), game);
  EXPECT_EQ(Stored("PrefExecutable"), game);
  EXPECT_EQ(Prefs::PrefExecutable(), game);
}

TEST_F(OptionGetTest, LogonLaunchesTheChosenFileWithoutAsking) {
  const std::string game = Home() + "/tervix";
  WriteFile(game, "#!/bin/sh\n");
  WriteFile(ProfileFolder() + "hero.usr", "profile");
  auto window = ChoosePreferences();
  ASSERT_NE(window, nullptr);
  dialogs().AnswerNextOpenFile(game);
  Click(*window, "BevelButton3");
  Click(*window, "BevelButton1");

  auto login = platform::GetImplicitWindow("Window1.Window1");
  ASSERT_NE(login, nullptr);
  Type(*login, "EditField1", "hero");
  Click(*login, "BevelButton1");
  EXPECT_EQ(launches().launched(), std::vector<std::string>{game});
  EXPECT_EQ(dialogs().openFileTitles().size(), 1u) << "only the Get button may have asked";
}

}  // namespace
}  // namespace tervix::test
