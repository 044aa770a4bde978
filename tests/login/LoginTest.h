#pragma once

#include <memory>
#include <string>

#include "login/Window1.h"
#include "platform/Controls.h"
#include "platform/Exceptions.h"
#include "platform/Window.h"
#include "prefs/Prefs.h"
#include "tests/support/TestRuntime.h"
#include "tests/support/UserActions.h"

namespace tervix::test {

// A started launcher with its login window, and the steps a player takes in it.
class LoginTest : public RuntimeTest {
 protected:
  static constexpr const char* kExecutable = "/opt/tervix/Tervix";

  std::shared_ptr<platform::Window> LoginWindow() const {
    const std::shared_ptr<platform::Window> window =
        platform::GetImplicitWindow(Window1::kRuntimeClassName);
    platform::NotNil(window);
    return window;
  }
  std::string StatusLine() const {
    return LoginWindow()->ControlAs<platform::StaticText>("StaticText2")->Text();
  }
  std::string LoginField() const {
    return LoginWindow()->ControlAs<platform::EditField>("EditField1")->Text();
  }
  bool LogonEnabled() const {
    return LoginWindow()->ControlAs<platform::BevelButton>("BevelButton1")->Enabled();
  }

  std::string Profile(const std::string& fileName) const { return ProfileFolder() + fileName; }

  // The game executable is already known, so Logon asks for nothing.
  static void KnowExecutable() { Prefs::PrefExecutable(kExecutable); }

  void TypeLogin(const std::string& login) { Type(*LoginWindow(), "EditField1", login); }
  // Starts the launcher with the executable known and types the login.
  void StartAndType(const std::string& login) {
    StartLauncher();
    KnowExecutable();
    TypeLogin(login);
  }
  void ClickLogon() { Click(*LoginWindow(), "BevelButton1"); }
};

}  // namespace tervix::test
