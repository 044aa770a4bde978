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

bool Application::HandleMenuCommand(const std::string& itemName) {
  std::optional<MenuHandler> handler = BoundHandler(menuHandlers_, itemName);
  return handler ? (*handler)() : false;
}

}  // namespace platform
