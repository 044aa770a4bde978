#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

#include "platform/Application.h"
#include "platform/Runtime.h"
#include "platform/Window.h"
#include "tests/support/TestRuntime.h"
#include "tests/support/UserActions.h"

namespace tervix {
namespace {

struct MenuCase {
  std::string itemName;
  std::string windowClass;
};

void PrintTo(const MenuCase& menuCase, std::ostream* out) {
  *out << menuCase.itemName;
}

class AppMenuTest : public test::RuntimeTest, public ::testing::WithParamInterface<MenuCase> {};

TEST_P(AppMenuTest, ChoosingTheItemOpensItsWindow) {
  StartLauncher();
  test::ChooseMenu(GetParam().itemName);
  std::shared_ptr<platform::Window> window = platform::GetImplicitWindow(GetParam().windowClass);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->Visible());
}

TEST_P(AppMenuTest, ChoosingTheItemAgainShowsTheOpenWindowAndIsHandled) {
  StartLauncher();
  test::ChooseMenu(GetParam().itemName);
  std::shared_ptr<platform::Window> first = platform::GetImplicitWindow(GetParam().windowClass);
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(platform::GetAppObject()->HandleMenuCommand(GetParam().itemName));
  EXPECT_EQ(platform::GetImplicitWindow(GetParam().windowClass), first);
  EXPECT_TRUE(first->Visible());
  EXPECT_EQ(platform::OpenWindows().size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(ApplicationMenus, AppMenuTest,
                         ::testing::Values(MenuCase{"Pref", "Option.Option"},
                                           MenuCase{"About", "AquaAboutBox.AquaAboutBox"}),
                         [](const ::testing::TestParamInfo<MenuCase>& info) {
                           return info.param.itemName;
                         });

}  // namespace
}  // namespace tervix
