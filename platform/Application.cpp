#include "platform/Application.h"

#include "platform/Menu.h"

namespace platform {

void Application::SetMenuBar(std::shared_ptr<MenuBar> menuBar) {
  menuBar_ = std::move(menuBar);
}

void Application::AddMenuHandler(const std::string& itemName, MenuHandler handler) {
  for (auto& [name, bound] : menuHandlers_) {
    if (name == itemName) {
      bound = std::move(handler);
      return;
    }
  }
  menuHandlers_.emplace_back(itemName, std::move(handler));
}

std::vector<std::string> Application::MenuHandlerNames() const {
  std::vector<std::string> names;
  for (const auto& [name, handler] : menuHandlers_)
    names.push_back(name);
  return names;
}

bool Application::HandleMenuCommand(const std::string& itemName) {
  for (const auto& [name, handler] : menuHandlers_) {
    if (name == itemName)
      return MenuHandler(handler)();
  }
  return false;
}

}  // namespace platform
