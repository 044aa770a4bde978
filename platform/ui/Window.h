#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Application.h"
#include "platform/core/Exceptions.h"
#include "platform/design/PropertyBlock.h"
#include "platform/ui/Controls.h"
#include "platform/ui/EventName.h"
#include "platform/ui/Menu.h"

namespace platform {

class Picture;
struct WindowWidget;  // the toolkit window; framework-internal

// A window. A program window class derives from it, names its run-time class
// and fills in the three construction hooks.
class Window : public std::enable_shared_from_this<Window> {
 public:
  Window();
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // The name the class is registered under and its open window is found by.
  virtual std::string RuntimeClassName() const = 0;

  // Builds the window: registers it under RuntimeClassName(), runs Layout,
  // CreateControls and AddMenuHandlers, then raises Open on every control in
  // creation order and last on the window. An exception leaves the window
  // closed and unregistered.
  void Constructor();
  void Show();
  // Raises LostFocus on the control that has the window's focus, then closes
  // the controls and the window, and removes the registry entry of the
  // run-time class name when that entry holds this window. Closing again,
  // even from that LostFocus handler, does nothing.
  void Close();
  bool IsOpen() const;
  // Raises LostFocus on the control that has the window's focus, whether or
  // not the window is the active one, once in the window's life: Close and
  // Quit both begin with it, and neither they nor a later focus-out raise it again.
  void RaiseLastLostFocus();
  bool LastLostFocusRaised() const;

  // The control of that name, or nil.
  std::shared_ptr<RectControl> ControlByName(const std::string& name) const;
  // The control of that name converted to T; NilObjectException when there is none.
  template <class T>
  std::shared_ptr<T> ControlAs(const std::string& name) const {
    return TypeTest<T>(ControlByName(name));
  }
  int32_t ControlCount() const { return static_cast<int32_t>(controls_.size()); }
  // The control at an index in creation order; nil outside 0..ControlCount()-1.
  std::shared_ptr<RectControl> Control(int32_t index) const;

  void SetMenuBar(std::shared_ptr<MenuBar> menuBar);
  std::shared_ptr<MenuBar> GetMenuBar() const { return menuBar_; }
  // The item of that name in the window's menu bar converted to T, or nil when
  // the bar has none; NilObjectException when the window has no menu bar.
  template <class T>
  std::shared_ptr<T> MenuBarItem(const std::string& name) const {
    const std::shared_ptr<MenuItem> item = MenuItem::Lookup(NotNil(menuBar_), name);
    return item ? TypeTest<T>(item) : nullptr;
  }
  void AddMenuHandler(const std::string& itemName, MenuHandler handler);
  // Runs the window's handler for the item name; false when none handled it.
  bool HandleMenuCommand(const std::string& itemName);

  // Binds a window event (Open, EnableMenuItems).
  void InstallWindowEventHandler(EventName event, EventHandler handler);

  std::string Title() const;
  int32_t Width() const;
  int32_t Height() const;
  void SetHeight(int32_t height);
  bool Visible() const;
  // Sets a design property by its block key; an unknown key throws RuntimeException.
  void SetProperty(const std::string& key, const PropertyValue& value);

  WindowWidget& Widget() const { return *widget_; }

 protected:
  virtual void Layout() = 0;
  virtual void CreateControls() = 0;
  virtual void AddMenuHandlers(Window& window) = 0;

  // Adds a new control of class T under name (the framework's new control,
  // its constructor, and the window's add-control step).
  template <class T>
  void NewControl(const std::string& name) {
    AddControl(name, std::make_shared<T>());
  }
  void AddControl(const std::string& name, std::shared_ptr<RectControl> control);
  // The steps that make one row of a control table: a new control of the
  // row's class added under its name, a canvas's backdrop set, then the row's
  // property block (in the given key order) applied.
  void CreateControl(const ControlDesign& design, KeyOrder order,
                     std::shared_ptr<Picture> backdrop = nullptr);

 private:
  std::unique_ptr<WindowWidget> widget_;
  std::vector<std::shared_ptr<RectControl>> controls_;
  std::shared_ptr<MenuBar> menuBar_;
  std::vector<std::pair<std::string, MenuHandler>> menuHandlers_;
  std::vector<std::pair<std::string, EventHandler>> windowEvents_;
  bool open_ = false;
  bool closing_ = false;
  bool lastLostFocusRaised_ = false;
};

// Applies every entry of a block to its target, in block order.
void SetProperties(Window& window, const std::string& block);
void SetProperties(RectControl& control, const std::string& block);

// The window registry: the one open window of each run-time class name.
std::shared_ptr<Window> GetImplicitWindow(const std::string& runtimeClassName);
// Windows open now, in the order they were built.
std::vector<std::shared_ptr<Window>> OpenWindows();
// Shutdown: forgets every entry.
void ReleaseImplicitWindowList();

// The open window of class T, or a new one built through its Constructor.
template <class T>
std::shared_ptr<T> ImplicitInstance() {
  std::shared_ptr<Window> window = GetImplicitWindow(T::kRuntimeClassName);
  if (!window) {
    auto built = std::make_shared<T>();
    built->Constructor();
    window = built;
  }
  return TypeTest<T>(window);
}

}  // namespace platform
