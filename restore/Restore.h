#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/core/Runtime.h"
#include "platform/design/PropertyBlock.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Window.h"

namespace tervix {

// The terminal-style window that puts a login's backup profile back.
class Restore : public platform::Window {
 public:
  static constexpr const char* kRuntimeClassName = "Restore.Restore";
  static platform::ClassRecord ClassRecord();
  static const platform::WindowDesign& Design();
  static const std::vector<platform::ControlDesign>& Controls();
  std::string RuntimeClassName() const override { return kRuntimeClassName; }

  bool Canvas1_MouseDown(int32_t x, int32_t y);
  void Terminal_Open();
  void BevelYES_Action();
  void BevelNO_Action();

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
