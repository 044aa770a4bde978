#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/core/Runtime.h"
#include "platform/design/PropertyBlock.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Window.h"

namespace tervix {

// The login-and-launch window, the application's default window.
class Window1 : public platform::Window {
 public:
  static constexpr const char* kRuntimeClassName = "Window1.Window1";
  static platform::ClassRecord ClassRecord();
  static const platform::WindowDesign& Design();
  static const std::vector<platform::ControlDesign>& Controls();
  std::string RuntimeClassName() const override { return kRuntimeClassName; }

  bool Canvas1_MouseDown(int32_t x, int32_t y);
  void EditField1_Open();
  void BevelButton1_Action();
  void BevelButton2_Action();

  std::shared_ptr<platform::MenuItem> FileMenu() const;
  std::shared_ptr<platform::QuitMenuItem> FileQuit() const;
  std::shared_ptr<platform::PrefsMenuItem> Pref() const;
  std::shared_ptr<platform::AppleMenuItem> UntitledSeparator() const;
  std::shared_ptr<platform::AppleMenuItem> About() const;

 protected:
  void Layout() override;
  void CreateControls() override;
  void CreateControls0();
  void AddMenuHandlers(platform::Window& window) override;
};

}  // namespace tervix
