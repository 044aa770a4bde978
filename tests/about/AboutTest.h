#pragma once

#include <memory>
#include <string>

#include "about/AquaAboutBox.h"
#include "platform/Controls.h"
#include "platform/Window.h"
#include "tests/support/TestRuntime.h"
#include "tests/support/UserActions.h"

namespace tervix::test {

// A started launcher with helpers to reach the about box as the user sees it.
class AboutTest : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    StartLauncher();
  }

  // Chooses "About Tervix" and returns the window it shows.
  std::shared_ptr<AquaAboutBox> ChooseAbout() {
    ChooseMenu("About");
    return OpenAboutBox();
  }
  // The open about box, or nil.
  static std::shared_ptr<AquaAboutBox> OpenAboutBox() {
    return std::dynamic_pointer_cast<AquaAboutBox>(
        platform::GetImplicitWindow(AquaAboutBox::kRuntimeClassName));
  }
  static std::string Label(const platform::Window& window, const std::string& name) {
    return window.ControlAs<platform::StaticText>(name)->Text();
  }
};

}  // namespace tervix::test
