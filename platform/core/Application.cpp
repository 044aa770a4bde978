#include "platform/core/Application.h"

#include "platform/core/NamedHandlers.h"
#include "platform/ui/Menu.h"

namespace platform {

void Application::SetMenuBar(std::shared_ptr<MenuBar> menuBar) {
  menuBar_ = std::move(menuBar);
}

void Application::AddMenuHandler(const std::string& itemName, MenuHandler handler) {
  BindHandler(menuHandlers_, itemName, std::move(handler));
}

std::vector<std::string> Application::MenuHandlerNames() const {
  std::vector<std::string> names;
  for (const auto& [name, handler] : menuHandlers_)
    names.push_back(name);
  return names;
}

bool Application::HandleMenuCommand(const std::string& itemName) {
  std::optional<MenuHandler> handler = BoundHandler(menuHandlers_, itemName);
  return handler ? (*handler)() : false;
}

}  // namespace platform
