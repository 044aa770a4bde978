#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

class MenuBar;

using MenuHandler = std::function<bool()>;

// The application object. The program derives its own class from it.
class Application {
 public:
  virtual ~Application() = default;

  void SetMenuBar(std::shared_ptr<MenuBar> menuBar);
  std::shared_ptr<MenuBar> GetMenuBar() const { return menuBar_; }

  // Binds a handler to a menu item name; a later binding of the name replaces it.
  void AddMenuHandler(const std::string& itemName, MenuHandler handler);
  // Runs the handler bound to the name; false when there is none.
  bool HandleMenuCommand(const std::string& itemName);

  virtual int MajorVersion() const { return 0; }
  virtual int MinorVersion() const { return 0; }

 private:
  std::shared_ptr<MenuBar> menuBar_;
  std::vector<std::pair<std::string, MenuHandler>> menuHandlers_;
};

}  // namespace platform
