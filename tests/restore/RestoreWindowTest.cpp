#include <gtest/gtest.h>

#include "about/AquaAboutBox.h"
#include "app/Instances.h"
#include "login/Window1.h"
#include "platform/Controls.h"
#include "platform/Menu.h"
#include "prefs/Prefs.h"
#include "tests/restore/RestoreFixture.h"
#include "tests/support/UserActions.h"

namespace tervix::test {
namespace {

using RestoreWindowTest = RestoreTest;

TEST_F(RestoreWindowTest, BuildingTheWindowFindsEveryControlTheHandlersLookUp) {
  auto window = OpenRestoreWindow("alice");
  ASSERT_TRUE(window) << "the Restore button opened no restore window";

  EXPECT_EQ(window->Title(), "Tervix Launcher");
  EXPECT_EQ(window->Width(), 389);
  EXPECT_EQ(window->Height(), 288);
  EXPECT_TRUE(window->Visible());
  EXPECT_EQ(window->ControlCount(), 4);
  EXPECT_EQ(window->ControlAs<platform::Canvas>("Canvas1")->Width(), 395);
  EXPECT_TRUE(window->ControlAs<platform::Canvas>("Canvas1")->Backdrop())
      << "the banner shows no picture";
  auto terminal = window->ControlAs<platform::EditField>("Terminal");
  EXPECT_EQ(terminal->Left(), 20);
  EXPECT_EQ(terminal->Top(), 69);
  auto yes = window->ControlAs<platform::BevelButton>("BevelYES");
  auto no = window->ControlAs<platform::BevelButton>("BevelNO");
  EXPECT_EQ(yes->Caption(), "Yes");
  EXPECT_EQ(no->Caption(), "No");
  EXPECT_LT(no->Left(), yes->Left()) << "\"No\" stands left of \"Yes\"";
}

TEST_F(RestoreWindowTest, OpeningAsksAboutTheStoredLoginInPlaceOfTheLoginWindow) {
  auto window = OpenRestoreWindow("alice");
  ASSERT_TRUE(window);

  EXPECT_EQ(TerminalText(*window), Dialogue("alice"));
  EXPECT_TRUE(IsEnabled(*window, "BevelYES"));
  EXPECT_TRUE(IsEnabled(*window, "BevelNO"));
  EXPECT_FALSE(LoginFieldOfOpenLoginWindow()) << "the login window is still open";
}

TEST_F(RestoreWindowTest, EmptyStoredLoginStillGivesTheWholeDialogue) {
  auto window = OpenRestoreWindow("");
  ASSERT_TRUE(window);
  EXPECT_EQ(TerminalText(*window), Dialogue(""));
}

TEST_F(RestoreWindowTest, DialogueNamesTheStoredLoginNotTheTypedOne) {
  Prefs::PrefLogin("alice");
  StartLauncher();
  Type(platform::NotNil(instance::Window1()), "EditField1", "bob");
  Click(platform::NotNil(instance::Window1()), "BevelButton2");

  auto window = OpenRestore();
  ASSERT_TRUE(window);
  EXPECT_EQ(TerminalText(*window), Dialogue("alice"));
}

TEST_F(RestoreWindowTest, TypedTextStaysAndLaterLinesFollowIt) {
  auto window = OpenRestoreWindow("alice");
  ASSERT_TRUE(window);
  Type(*window, "Terminal", "hello");
  const std::string typed = TerminalText(*window);
  ASSERT_NE(typed.find("hello"), std::string::npos) << typed;
  PressYes(*window);

  EXPECT_EQ(TerminalText(*window), typed + "\n\nStarting restore process...\n\n");
}

TEST_F(RestoreWindowTest, ReopenedWindowShowsOnlyAFreshDialogue) {
  auto first = OpenRestoreWindow("alice");
  ASSERT_TRUE(first);
  PressNo(*first);
  Click(platform::NotNil(instance::Window1()), "BevelButton2");

  auto second = OpenRestore();
  ASSERT_TRUE(second);
  EXPECT_NE(second, first) << "a closed restore window was reused";
  EXPECT_EQ(TerminalText(*second), Dialogue("alice"));
  EXPECT_TRUE(IsEnabled(*second, "BevelYES"));
  EXPECT_TRUE(IsEnabled(*second, "BevelNO"));
}

TEST_F(RestoreWindowTest, BannerClickShowsTheAboutBoxAndLeavesTheWindowAsItWas) {
  auto window = OpenRestoreWindow("alice");
  ASSERT_TRUE(window);
  Click(*window, "Canvas1");
  auto about = platform::GetImplicitWindow(AquaAboutBox::kRuntimeClassName);
  ASSERT_TRUE(about) << "no about box after a banner click";
  EXPECT_TRUE(about->Visible());

  Click(*window, "Canvas1");
  EXPECT_EQ(platform::GetImplicitWindow(AquaAboutBox::kRuntimeClassName), about)
      << "a second click built another about box";
  EXPECT_EQ(OpenRestore(), window);
  EXPECT_EQ(TerminalText(*window), Dialogue("alice"));
  EXPECT_TRUE(IsEnabled(*window, "BevelYES"));
  EXPECT_TRUE(IsEnabled(*window, "BevelNO"));
}

TEST_F(RestoreWindowTest, MenuItemAccessorsGiveTheMenuBarsItems) {
  auto window = OpenRestoreWindow("alice");
  ASSERT_TRUE(window);
  ASSERT_TRUE(window->FileQuit());
  EXPECT_EQ(window->FileQuit()->Text(), "&Quit");
  ASSERT_TRUE(window->About());
  EXPECT_EQ(window->About()->Text(), "About Tervix");
}

}  // namespace
}  // namespace tervix::test
