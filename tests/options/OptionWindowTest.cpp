#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "options/Option.h"
#include "platform/core/Exceptions.h"
#include "platform/ui/Controls.h"
#include "prefs/Prefs.h"
#include "tests/support/TestRuntime.h"
#include "tests/support/UserActions.h"

namespace tervix::test {
namespace {

// A started launcher, with the preference files as the disk holds them.
class OptionWindowTest : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    StartLauncher();
  }
  std::optional<std::string> Stored(const std::string& key) const {
    return ReadFile(PrefsFolderPath() + "/" + key);
  }
  // Chooses "Preferences..." and returns the window it shows.
  static std::shared_ptr<Option> ChoosePreferences() {
    ChooseMenu("Pref");
    return platform::TypeTest<Option>(platform::GetImplicitWindow(Option::kRuntimeClassName));
  }
  static void PressTab() {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ProcessEvents();
  }
  static std::string FieldText(const platform::Window& window, const std::string& name) {
    return window.ControlAs<platform::EditField>(name)->Text();
  }
};

TEST_F(OptionWindowTest, LeavingAFieldStoresItsExactTextChangedOrNot) {
  Prefs::PrefLogin("amy");
  Prefs::PrefExecutable("/x");
  auto window = ChoosePreferences();
  std::filesystem::remove_all(PrefsFolderPath());
  Focus(*window, "EditField1");
  Focus(*window, "Executable");
  EXPECT_EQ(Stored("PrefLogin"), "amy");
  EXPECT_EQ(Stored("PrefExecutable"), std::nullopt) << "the executable field still has the focus";
  Focus(*window, "EditField1");
  EXPECT_EQ(Stored("PrefExecutable"), "/x");
  const struct {
    std::string field, key, erase, other, typed;
  } fields[] = {{"EditField1", "PrefLogin", "\b\b\b", "Executable", "  Bob "},
                {"Executable", "PrefExecutable", "\b\b", "EditField1", " /opt/Tervix Game/run "}};
  for (const auto& field : fields) {
    SCOPED_TRACE(field.field);
    Type(*window, field.field, field.erase);
    Focus(*window, field.other);
    EXPECT_EQ(Stored(field.key), "") << "an emptied field";
    Type(*window, field.field, field.typed);
    Focus(*window, field.other);
    EXPECT_EQ(Stored(field.key), field.typed);
  }
}

// "Ok" and the close box take no focus, so only the close itself hands the
// typing over.
TEST_F(OptionWindowTest, TextTypedJustBeforeOkOrTheCloseBoxIsStored) {
  for (const bool byCloseBox : {false, true}) {
    for (const auto& [field, key] :
         {std::pair{"EditField1", "PrefLogin"}, std::pair{"Executable", "PrefExecutable"}}) {
      SCOPED_TRACE(std::string(field) + (byCloseBox ? " then the close box" : " then Ok"));
      auto window = ChoosePreferences();
      Type(*window, field, byCloseBox ? "/box" : "/ok");
      const std::string typed = FieldText(*window, field);
      ASSERT_NE(Stored(key), typed) << "stored before the close";
      byCloseBox ? CloseBox(*window) : Click(*window, "BevelButton1");
      EXPECT_EQ(Stored(key), typed);
      EXPECT_FALSE(window->IsOpen());
    }
  }
}

// Each field is typed into through the keyboard alone, a Tab ending each.
TEST_F(OptionWindowTest, TabBetweenTheFieldsStoresEachAndOkKeepsThem) {
  auto window = ChoosePreferences();
  Type(*window, "EditField1", "erin\t");
  EXPECT_EQ(Stored("PrefLogin"), "erin");
  Type(*window, "Executable", "/opt/game\t");
  EXPECT_EQ(Stored("PrefExecutable"), "/opt/game");
  Click(*window, "BevelButton1");
  EXPECT_EQ(Stored("PrefLogin"), "erin");
  EXPECT_EQ(Stored("PrefExecutable"), "/opt/game");
}

TEST_F(OptionWindowTest, NewLoginStoredByOkIsTheOneRestoreNames) {
  Prefs::PrefLogin("alice");
  auto window = ChoosePreferences();
  Type(*window, "EditField1", "\b\b\b\b\bcarol");
  Click(*window, "BevelButton1");
  Click(platform::NotNil(platform::GetImplicitWindow("Window1.Window1")), "BevelButton2");
  EXPECT_NE(RestoreTerminal().find("Your current gateway is: carol.usr"), std::string::npos)
      << RestoreTerminal();
}

// A hand-edited preference file may hold what the fields cannot show as it is.
TEST_F(OptionWindowTest, TabLeavesTheStoredBytesAsTheyWere) {
  const std::string login = "b\xFFob\xC3", executable = "/games/" + std::string(39993, 'x');
  WriteFile(PrefsFolderPath() + "/PrefLogin", login);
  WriteFile(PrefsFolderPath() + "/PrefExecutable", executable);
  auto window = ChoosePreferences();
  std::filesystem::remove_all(PrefsFolderPath());
  Focus(*window, "EditField1");
  PressTab();
  PressTab();
  EXPECT_TRUE(Stored("PrefLogin") == login) << testing::PrintToString(Stored("PrefLogin"));
  ASSERT_EQ(Stored("PrefExecutable").value_or("").size(), 40000u);
  EXPECT_TRUE(Stored("PrefExecutable") == executable);
}

TEST_F(OptionWindowTest, CancelledGetKeepsTheFieldAndTheStore) {
  Prefs::PrefExecutable("/games/old");
  auto window = ChoosePreferences();
  Type(*window, "Executable", "-unsaved");
  dialogs().AnswerNextOpenFile(std::nullopt);
  Click(*window, "BevelButton3");
  EXPECT_EQ(dialogs().openFileTitles(), std::vector<std::string>{"Select Tervix executable"});
  EXPECT_EQ(dialogs().openFileInitialDirectories(), std::vector<std::string>{"/"});
  EXPECT_EQ(FieldText(*window, "Executable"), "/games/old-unsaved");
  EXPECT_EQ(Stored("PrefExecutable"), "/games/old");
}

TEST_F(OptionWindowTest, ChosenFileIsStoredAtOnceAndLogonLaunchesItWithoutAsking) {
  const std::string game = Home() + "/Tervix Game";
  WriteFile(game, "#!/bin/sh\n");
  WriteFile(ProfileFolder() + "hero.usr", "profile");
  auto window = ChoosePreferences();
  Type(*window, "Executable", "/typed/path");
  dialogs().AnswerNextOpenFile(game);
  Click(*window, "BevelButton3");
  EXPECT_EQ(FieldText(*window, "Executable"), game);
  EXPECT_EQ(Stored("PrefExecutable"), game);

  Click(*window, "BevelButton1");
  platform::Window& login = platform::NotNil(platform::GetImplicitWindow("Window1.Window1"));
  Type(login, "EditField1", "hero");
  Click(login, "BevelButton1");
  EXPECT_EQ(launches().launched(), std::vector<std::string>{game});
  EXPECT_EQ(dialogs().openFileTitles().size(), 1u) << "only the Get button may have asked";
}

TEST_F(OptionWindowTest, PreferencesReloadsTheStoredValuesOnlyAfterOk) {
  Prefs::PrefLogin("alice");
  auto window = ChoosePreferences();
  Type(*window, "EditField1", "-typed");
  EXPECT_EQ(ChoosePreferences(), window);
  EXPECT_EQ(FieldText(*window, "EditField1"), "alice-typed") << "reloaded while open";
  Type(*window, "Executable", "/games/tervix");
  Click(*window, "BevelButton1");
  auto rebuilt = ChoosePreferences();
  EXPECT_NE(rebuilt, window);
  EXPECT_EQ(FieldText(*rebuilt, "EditField1"), "alice-typed");
  EXPECT_EQ(FieldText(*rebuilt, "Executable"), "/games/tervix");
}

}  // namespace
}  // namespace tervix::test
