#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/PropertyBlock.h"
#include "platform/Window.h"

namespace tervix::test {

inline platform::WindowDesign TinyDesign() {
  platform::WindowDesign design;
  design.title = "Tiny";
  design.width = 300;
  design.height = 200;
  return design;
}

// What a tiny window is built from; tests fill it in before asking for one.
struct TinyRecipe {
  platform::WindowDesign design = TinyDesign();
  std::vector<platform::ControlDesign> controls;
  platform::KeyOrder order = platform::KeyOrder::Forward;
  std::shared_ptr<platform::MenuBar> menuBar;
  // Runs at the end of CreateControls, to bind handlers as a window class would.
  std::function<void(platform::Window&)> bind;
  std::function<void(platform::Window&)> addMenuHandlers;
};

// A window class made for one test. Two numbers give two classes, so tests can
// tell the registry entries of different classes apart.
template <int N>
class TinyWindow : public platform::Window {
 public:
  static inline const std::string kRuntimeClassName =
      "Tiny" + std::to_string(N) + ".Tiny" + std::to_string(N);
  static TinyRecipe& Recipe() {
    static TinyRecipe recipe;
    return recipe;
  }
  std::string RuntimeClassName() const override { return kRuntimeClassName; }

 protected:
  void Layout() override {
    if (Recipe().menuBar)
      SetMenuBar(Recipe().menuBar);
    platform::SetProperties(*this, platform::EncodeWindowBlock(Recipe().design));
  }
  void CreateControls() override {
    for (const platform::ControlDesign& row : Recipe().controls)
      CreateControl(row, Recipe().order);
    if (Recipe().bind)
      Recipe().bind(*this);
  }
  void AddMenuHandlers(platform::Window& window) override {
    if (Recipe().addMenuHandlers)
      Recipe().addMenuHandlers(window);
  }
};

using FirstWindow = TinyWindow<1>;
using SecondWindow = TinyWindow<2>;

inline platform::ControlDesign Row(std::string name, platform::ControlClass kind, int32_t left,
                                   int32_t top, int32_t width, int32_t height, std::string text) {
  platform::ControlDesign row;
  row.name = std::move(name);
  row.kind = kind;
  row.left = left;
  row.top = top;
  row.width = width;
  row.height = height;
  row.text = std::move(text);
  return row;
}

inline platform::ControlDesign Button(std::string name, std::string caption, int32_t left = 10,
                                      int32_t top = 10) {
  return Row(std::move(name), platform::ControlClass::BevelButton, left, top, 90, 22,
             std::move(caption));
}

inline platform::ControlDesign Field(std::string name, std::string text, int32_t top = 40) {
  return Row(std::move(name), platform::ControlClass::EditField, 10, top, 200, 22, std::move(text));
}

inline platform::ControlDesign Label(std::string name, std::string text, int32_t top = 70) {
  return Row(std::move(name), platform::ControlClass::StaticText, 10, top, 200, 20,
             std::move(text));
}

inline platform::ControlDesign Banner(std::string name) {
  platform::ControlDesign row =
      Row(std::move(name), platform::ControlClass::Canvas, 0, 0, 300, 50, "");
  row.differs = {{"UseFocusRing", false}};
  return row;
}

}  // namespace tervix::test
