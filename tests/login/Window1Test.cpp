#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "about/AquaAboutBox.h"
#include "login/Window1.h"
#include "platform/Menu.h"
#include "restore/Restore.h"
#include "tests/login/LoginTest.h"

namespace tervix::test {
namespace {

class Window1Test : public LoginTest {
 protected:
  std::shared_ptr<Window1> Login() const { return platform::TypeTest<Window1>(LoginWindow()); }
};

TEST_F(Window1Test, BuildingTheWindowFindsEveryControlTheHandlersUse) {
  StartLauncher();
  const std::shared_ptr<platform::Window> window = LoginWindow();

  EXPECT_NO_THROW(window->ControlAs<platform::Canvas>("Canvas1"));
  EXPECT_NO_THROW(window->ControlAs<platform::EditField>("EditField1"));
  EXPECT_NO_THROW(window->ControlAs<platform::StaticText>("StaticText2"));
  EXPECT_NO_THROW(window->ControlAs<platform::BevelButton>("BevelButton1"));
  EXPECT_NO_THROW(window->ControlAs<platform::BevelButton>("BevelButton2"));
}

TEST_F(Window1Test, LoginFieldShowsStoredLogin) {
  Prefs::PrefLogin("alice");
  StartLauncher();

  EXPECT_EQ(LoginField(), "alice");
}

TEST_F(Window1Test, RestoreClosesLoginWindowAndNamesStoredLogin) {
  Prefs::PrefLogin("alice");
  StartLauncher();
  TypeLogin("bob");
  const std::shared_ptr<platform::Window> login = LoginWindow();

  Click(*login, "BevelButton2");

  EXPECT_FALSE(login->IsOpen());
  EXPECT_EQ(platform::GetImplicitWindow(Window1::kRuntimeClassName), nullptr);
  const std::shared_ptr<platform::Window> restore =
      platform::GetImplicitWindow(Restore::kRuntimeClassName);
  ASSERT_NE(restore, nullptr);
  EXPECT_TRUE(restore->Visible());
  const std::string terminal = restore->ControlAs<platform::EditField>("Terminal")->Text();
  EXPECT_NE(terminal.find("Your current gateway is: alice.usr"), std::string::npos) << terminal;
  EXPECT_EQ(terminal.find("alicebob"), std::string::npos) << terminal;
  EXPECT_FALSE(platform::PendingQuitCode());
}

TEST_F(Window1Test, RebuiltLoginWindowShowsStoredLoginAgain) {
  Prefs::PrefLogin("alice");
  StartLauncher();
  TypeLogin("bob");
  Click(*LoginWindow(), "BevelButton2");
  const std::shared_ptr<platform::Window> restore =
      platform::GetImplicitWindow(Restore::kRuntimeClassName);
  ASSERT_NE(restore, nullptr);

  Click(*restore, "BevelNO");

  EXPECT_EQ(LoginField(), "alice");
  EXPECT_EQ(StatusLine(), "Please enter your gateway login...");
  EXPECT_TRUE(LogonEnabled());
}

TEST_F(Window1Test, BannerClickOpensAboutBox) {
  StartLauncher();
  TypeLogin("bob");

  Click(*LoginWindow(), "Canvas1");
  const std::shared_ptr<platform::Window> about =
      platform::GetImplicitWindow(AquaAboutBox::kRuntimeClassName);
  Click(*LoginWindow(), "Canvas1");

  ASSERT_NE(about, nullptr);
  EXPECT_TRUE(about->Visible());
  EXPECT_EQ(platform::GetImplicitWindow(AquaAboutBox::kRuntimeClassName), about);
  EXPECT_EQ(LoginField(), "bob");
  EXPECT_EQ(StatusLine(), "Please enter your gateway login...");
}

TEST_F(Window1Test, MenuItemAccessorsFindMenuBarItemsByKind) {
  StartLauncher();
  const std::shared_ptr<Window1> login = Login();

  EXPECT_EQ(login->FileMenu()->Text(), "&File");
  EXPECT_EQ(login->About()->Text(), "About Tervix");
  EXPECT_EQ(login->UntitledSeparator()->Text(), "-");
  EXPECT_EQ(login->Pref()->Text(), "Preferences...");
  EXPECT_EQ(login->FileQuit()->Text(), "&Quit");
  login->SetMenuBar(nullptr);
  EXPECT_THROW(login->FileQuit(), platform::NilObjectException);
}

}  // namespace
}  // namespace tervix::test
