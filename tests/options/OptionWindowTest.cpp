#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/Runtime.h"
#include "tests/options/OptionTest.h"

namespace tervix::test {
namespace {

using OptionWindowTest = OptionTest;

TEST_F(OptionWindowTest, BuildingTheWindowFindsEveryControlItsHandlersUse) {
  auto window = ChoosePreferences();
  ASSERT_NE(window, nullptr);
  const std::vector<std::pair<std::string, platform::ControlClass>> expected{
      {"BevelButton1", platform::ControlClass::BevelButton},
      {"BevelButton2", platform::ControlClass::BevelButton},
      {"EditField1", platform::ControlClass::EditField},
      {"StaticText1", platform::ControlClass::StaticText},
      {"StaticText2", platform::ControlClass::StaticText},
      {"Executable", platform::ControlClass::EditField},
      {"BevelButton3", platform::ControlClass::BevelButton}};
  ASSERT_EQ(window->ControlCount(), static_cast<int32_t>(expected.size()));
  for (int32_t index = 0; index < window->ControlCount(); ++index) {
    EXPECT_EQ(window->Control(index)->Name(), expected[index].first) << "at index " << index;
    EXPECT_EQ(window->Control(index)->Kind(), expected[index].second) << expected[index].first;
  }
}

TEST_F(OptionWindowTest, WindowShowsItsDesignedLabelsAndButtons) {
  auto window = ChoosePreferences();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->Title(), "Untitled");
  EXPECT_EQ(window->Width(), 274);
  EXPECT_EQ(window->Height(), 188);
  EXPECT_EQ(window->ControlAs<platform::StaticText>("StaticText1")->Text(), "Default login");
  EXPECT_EQ(window->ControlAs<platform::StaticText>("StaticText2")->Text(), "Tervix executable");
  EXPECT_EQ(window->ControlAs<platform::BevelButton>("BevelButton1")->Caption(), "Ok");
  EXPECT_EQ(window->ControlAs<platform::BevelButton>("BevelButton2")->Caption(), "Cancel");
  EXPECT_EQ(window->ControlAs<platform::BevelButton>("BevelButton3")->Caption(), "Get");
  auto executable = window->ControlByName("Executable");
  EXPECT_EQ(executable->Left(), 21);
  EXPECT_EQ(executable->Top(), 86);
  EXPECT_EQ(executable->Width(), 185);
  EXPECT_EQ(executable->Height(), 23);
}

TEST_F(OptionWindowTest, PreferencesWhileOpenShowsTheSameWindowUnreloaded) {
  StoreOnDisk("PrefLogin", "alice");
  auto window = ChoosePreferences();
  ASSERT_NE(window, nullptr);
  Type(*window, "EditField1", "-typed");
  auto again = ChoosePreferences();
  EXPECT_EQ(again, window);
  EXPECT_EQ(FieldText(*window, "EditField1"), "alice-typed");
}

TEST_F(OptionWindowTest, OkThenPreferencesShowsTheStoredValuesInANewWindow) {
  auto window = ChoosePreferences();
  ASSERT_NE(window, nullptr);
  Type(*window, "EditField1", "carol");
  Type(*window, "Executable", "/games/tervix");
  Focus(*window, "EditField1");
  Click(*window, "BevelButton1");
  EXPECT_EQ(OpenPreferences(), nullptr);
  EXPECT_FALSE(window->IsOpen());

  auto rebuilt = ChoosePreferences();
  ASSERT_NE(rebuilt, nullptr);
  EXPECT_NE(rebuilt, window);
  EXPECT_EQ(FieldText(*rebuilt, "EditField1"), "carol");
  EXPECT_EQ(FieldText(*rebuilt, "Executable"), "/games/tervix");
}

TEST_F(OptionWindowTest, OkStoresNothingItself) {
  StoreOnDisk("PrefLogin", "alice");
  auto window = ChoosePreferences();
  ASSERT_NE(window, nullptr);
  const auto before = ListFolder(PrefsFolderPath());
  Click(*window, "BevelButton1");
  EXPECT_EQ(ListFolder(PrefsFolderPath()), before);
  EXPECT_EQ(Stored("PrefLogin"), "alice");
  EXPECT_EQ(platform::PendingQuitCode(), std::nullopt) << "the login window is still open";
}

TEST_F(OptionWindowTest, CancelChangesNothing) {
  StoreOnDisk("PrefLogin", "alice");
  StoreOnDisk("PrefExecutable", "/games/tervix");
  auto window = ChoosePreferences();
  ASSERT_NE(window, nullptr);
  Type(*window, "EditField1", "-typed");
  Click(*window, "BevelButton2");
  EXPECT_EQ(OpenPreferences(), window);
  EXPECT_EQ(FieldText(*window, "EditField1"), "alice-typed");
  EXPECT_EQ(FieldText(*window, "Executable"), "/games/tervix");
  EXPECT_EQ(Stored("PrefLogin"), "alice");
  EXPECT_EQ(Stored("PrefExecutable"), "/games/tervix");
}

TEST_F(OptionWindowTest, CloseBoxThenPreferencesBuildsANewWindow) {
  auto window = ChoosePreferences();
  ASSERT_NE(window, nullptr);
  CloseBox(*window);
  EXPECT_EQ(OpenPreferences(), nullptr);
  auto rebuilt = ChoosePreferences();
  EXPECT_NE(rebuilt, nullptr);
  EXPECT_NE(rebuilt, window);
}

}  // namespace
}  // namespace tervix::test
