#pragma once

#include <vector>

#include "platform/core/Runtime.h"
#include "platform/design/PropertyBlock.h"
#include "platform/ui/Window.h"

namespace tervix {

// The preferences window: the default login and the game executable's path.
class Option : public platform::Window {
 public:
  static constexpr const char* kRuntimeClassName = "Option.Option";
  static platform::ClassRecord ClassRecord();
  static const platform::WindowDesign& Design();
  static const std::vector<platform::ControlDesign>& Controls();
  std::string RuntimeClassName() const override { return kRuntimeClassName; }

  void BevelButton1_Action();
  void EditField1_Open();
  void EditField1_LostFocus();
  void Executable_Open();
  void Executable_LostFocus();
  void BevelButton3_Action();

 protected:
  void Layout() override;
  void CreateControls() override;
  void CreateControls0();
  void AddMenuHandlers(platform::Window& window) override;
};

}  // namespace tervix
