#include <gtest/gtest.h>

#include <filesystem>

#include "prefs/Prefs.h"
#include "tests/options/OptionTest.h"

namespace tervix::test {
namespace {

using OptionFieldsTest = OptionTest;

TEST_F(OptionFieldsTest, FieldsOpenEmptyWhenNothingIsStored) {
  auto window = ChoosePreferences();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(FieldText(*window, "EditField1"), "");
  EXPECT_EQ(FieldText(*window, "Executable"), "");
}

TEST_F(OptionFieldsTest, FieldsShowTheStoredValues) {
  StoreOnDisk("PrefLogin", "alice");
  StoreOnDisk("PrefExecutable", "/games/tervix/Tervix");
  auto window = ChoosePreferences();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(FieldText(*window, "EditField1"), "alice");
  EXPECT_EQ(FieldText(*window, "Executable"), "/games/tervix/Tervix");
}

TEST_F(OptionFieldsTest, LeavingAFieldStoresItsTextEvenWhenUnchanged) {
  StoreOnDisk("PrefLogin", "alice");
  StoreOnDisk("PrefExecutable", "/games/tervix/Tervix");
  auto window = ChoosePreferences();
  ASSERT_NE(window, nullptr);
  std::filesystem::remove(StoredPath("PrefLogin"));
  std::filesystem::remove(StoredPath("PrefExecutable"));

  Focus(*window, "EditField1");
  Focus(*window, "Executable");
  EXPECT_EQ(Stored("PrefLogin"), "alice");
  EXPECT_EQ(Stored("PrefExecutable"), std::nullopt)
      << "the executable field has not lost the focus";

  Focus(*window, "EditField1");
  EXPECT_EQ(Stored("PrefExecutable"), "/games/tervix/Tervix");
}

TEST_F(OptionFieldsTest, TypedLoginIsStoredExactlyWithItsBlanks) {
  auto window = ChoosePreferences();
  ASSERT_NE(window, nullptr);
  Type(*window, "EditField1", "  Bob ");
  Focus(*window, "Executable");
  EXPECT_EQ(Stored("PrefLogin"), "  Bob ");
  EXPECT_EQ(Prefs::PrefLogin(), "  Bob ");
}

TEST_F(OptionFieldsTest, TypedExecutableIsStoredExactlyWithItsBlanks) {
  auto window = ChoosePreferences();
  ASSERT_NE(window, nullptr);
  Type(*window, "Executable", " /opt/Tervix Game/run ");
  Focus(*window, "EditField1");
  EXPECT_EQ(Stored("PrefExecutable"), " /opt/Tervix Game/run ");
  EXPECT_EQ(Prefs::PrefExecutable(), " /opt/Tervix Game/run ");
}

TEST_F(OptionFieldsTest, EmptiedFieldStoresTheEmptyString) {
  StoreOnDisk("PrefLogin", "amy");
  auto window = ChoosePreferences();
  ASSERT_NE(window, nullptr);
  Type(*window, "EditField1", "\b\b\b");
  ASSERT_EQ(FieldText(*window, "EditField1"), "");
  Focus(*window, "Executable");
  EXPECT_EQ(Stored("PrefLogin"), "");
  EXPECT_EQ(Prefs::PrefLogin(), "");
}

TEST_F(OptionFieldsTest, SavedLoginLeavesTheOpenLoginWindowAsItIs) {
  auto login = platform::GetImplicitWindow("Window1.Window1");
  ASSERT_NE(login, nullptr);
  Type(*login, "EditField1", "hero");
  auto window = ChoosePreferences();
  ASSERT_NE(window, nullptr);
  Type(*window, "EditField1", "alice");
  Focus(*window, "Executable");
  ASSERT_EQ(Stored("PrefLogin"), "alice");
  EXPECT_EQ(FieldText(*login, "EditField1"), "hero");
}

}  // namespace
}  // namespace tervix::test
