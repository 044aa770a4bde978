#pragma once

#include <memory>
#include <vector>

#include "platform/core/Runtime.h"
#include "platform/design/PropertyBlock.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Window.h"

namespace tervix {

// The about box: picture, name, version and copyright line.
class AquaAboutBox : public platform::Window {
 public:
  static constexpr const char* kRuntimeClassName = "AquaAboutBox.AquaAboutBox";
  static platform::ClassRecord ClassRecord();
  static const platform::WindowDesign& Design();
  static const std::vector<platform::ControlDesign>& Controls();
  std::string RuntimeClassName() const override { return kRuntimeClassName; }

  void name_Open();
  void version_Open();
  void copyright_Open();
  void Event_EnableMenuItems();
  void Event_Open();
  bool FileClose_Action();
  void hideControl(const std::shared_ptr<platform::RectControl>& target);

 protected:
  void Layout() override;
  void CreateControls() override;
  void CreateControls0();
  void AddMenuHandlers(platform::Window& window) override;
};

}  // namespace tervix
