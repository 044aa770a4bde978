#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <filesystem>
#include <optional>
#include <string>

#include "options/Option.h"
#include "platform/ui/Controls.h"
#include "prefs/Prefs.h"
#include "tests/support/TestRuntime.h"
#include "tests/support/UserActions.h"

namespace tervix::test {
namespace {

// A started launcher, with the preference files as the disk holds them.
class OptionWindowTest : public RuntimeTest {
 protected:
  platform::Window& ChoosePreferences() {
    StartLauncher();
    ChooseMenu("Pref");
    return Shown(Option::kRuntimeClassName);
  }
  std::optional<std::string> Stored(const std::string& key) const {
    return ReadFile(PrefsFolderPath() + "/" + key);
  }
  static std::string FieldText(const platform::Window& window, const std::string& name) {
    return window.ControlAs<platform::EditField>(name)->Text();
  }
};

// "Ok" and the close box take no focus, so only the close itself hands the
// typing over, blanks and all.
TEST_F(OptionWindowTest, TextTypedJustBeforeOkOrTheCloseBoxIsStored) {
  StartLauncher();
  for (const bool byCloseBox : {false, true}) {
    for (const auto& [field, key] :
         {std::pair{"EditField1", "PrefLogin"}, std::pair{"Executable", "PrefExecutable"}}) {
      SCOPED_TRACE(std::string(field) + (byCloseBox ? " then the close box" : " then Ok"));
      ChooseMenu("Pref");
      const auto window = platform::GetImplicitWindow(Option::kRuntimeClassName);
      ASSERT_NE(window, nullptr);
      const std::string typed = byCloseBox ? " /box " : " /ok ";
      Type(*window, field, std::string(8, '\b') + typed);
      ASSERT_NE(Stored(key), typed) << "stored before the close";
      byCloseBox ? CloseBox(*window) : Click(*window, "BevelButton1");
      EXPECT_EQ(Stored(key), typed);
      EXPECT_FALSE(window->IsOpen());
    }
  }
}

// A hand-edited preference file may hold what the fields cannot show as it
// is; a field left unchanged stores it again all the same.
TEST_F(OptionWindowTest, TabLeavesTheStoredBytesAsTheyWere) {
  const std::string login = "b\xFFob\xC3", executable = "/games/" + std::string(39993, 'x');
  WriteFile(PrefsFolderPath() + "/PrefLogin", login);
  WriteFile(PrefsFolderPath() + "/PrefExecutable", executable);
  platform::Window& window = ChoosePreferences();
  std::filesystem::remove_all(PrefsFolderPath());
  const auto pressTab = [] {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ProcessEvents();
  };
  Focus(window, "EditField1");
  pressTab();
  EXPECT_TRUE(Stored("PrefLogin") == login) << testing::PrintToString(Stored("PrefLogin"));
  EXPECT_EQ(Stored("PrefExecutable"), std::nullopt) << "the executable field still has the focus";
  pressTab();
  ASSERT_EQ(Stored("PrefExecutable").value_or("").size(), 40000u);
  EXPECT_TRUE(Stored("PrefExecutable") == executable);
}

TEST_F(OptionWindowTest, ChoosingPreferencesAgainShowsTheOpenWindowAsItIs) {
  platform::Window& window = ChoosePreferences();
  Type(window, "EditField1", "typed");
  ChooseMenu("Pref");
  EXPECT_EQ(&Shown(Option::kRuntimeClassName), &window) << "another window was built";
  EXPECT_EQ(FieldText(window, "EditField1"), "typed");
}

class GetTest : public OptionWindowTest,
                public testing::WithParamInterface<std::optional<std::string>> {};

TEST_P(GetTest, ChosenFileIsStoredAtOnceAndACancelChangesNothing) {
  Prefs::PrefExecutable("/games/old");
  platform::Window& window = ChoosePreferences();
  Type(window, "Executable", "-unsaved");
  dialogs().AnswerNextOpenFile(GetParam());
  Click(window, "BevelButton3");
  EXPECT_EQ(dialogs().openFileTitles(), std::vector<std::string>{"Select Tervix executable"});
  EXPECT_EQ(dialogs().openFileInitialDirectories(), std::vector<std::string>{"/"});
  EXPECT_EQ(FieldText(window, "Executable"), GetParam().value_or("/games/old-unsaved"));
  EXPECT_EQ(Stored("PrefExecutable"), GetParam().value_or("/games/old"));
}

INSTANTIATE_TEST_SUITE_P(ChosenOrCancelled, GetTest,
                         testing::Values("/home/player/Tervix Game", std::nullopt));

}  // namespace
}  // namespace tervix::test
