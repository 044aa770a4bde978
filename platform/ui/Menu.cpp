#include "platform/ui/Menu.h"

#include "platform/core/Application.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Runtime.h"
#include "platform/ui/Window.h"
#include "platform/ui/qt/Widgets.h"

namespace platform {
namespace {

// The item of that name in the menu bar the user chose it from: the front
// window's, else the application's.
std::shared_ptr<MenuItem> FindChosenItem(const std::shared_ptr<Window>& front,
                                         const std::string& itemName) {
  if (front && front->GetMenuBar()) {
    if (auto item = MenuItem::Lookup(*front->GetMenuBar(), itemName))
      return item;
  }
  std::shared_ptr<Application> application = GetAppObject();
  if (application && application->GetMenuBar()) {
    return MenuItem::Lookup(*application->GetMenuBar(), itemName);
  }
  return nullptr;
}

}  // namespace

void MenuItem::Append(std::shared_ptr<MenuItem> item) {
  NotNil(item);
  children_.push_back(std::move(item));
}

std::shared_ptr<MenuItem> MenuItem::Item(int index) const {
  if (index < 0 || index >= Count())
    return nullptr;
  return children_[static_cast<size_t>(index)];
}

std::shared_ptr<MenuItem> MenuItem::Child(const std::string& name) const {
  for (const auto& child : children_) {
    if (child->Name() == name)
      return child;
  }
  return nullptr;
}

std::shared_ptr<MenuItem> MenuItem::Lookup(const MenuItem& root, const std::string& name) {
  // The caller holds the root, so it is handed back without taking a share in it.
  if (root.Name() == name)
    return std::shared_ptr<MenuItem>(std::shared_ptr<MenuItem>(), const_cast<MenuItem*>(&root));
  for (const auto& child : root.children_) {
    if (auto found = Lookup(*child, name)) {
      return found.get() == child.get() ? child : found;
    }
  }
  return nullptr;
}

void ChooseMenuItem(const std::string& itemName) {
  std::shared_ptr<Window> front = qt::FrontWindow();
  std::shared_ptr<MenuItem> item = FindChosenItem(front, itemName);
  if (std::dynamic_pointer_cast<QuitMenuItem>(item)) {
    Quit(0);
    return;
  }
  if (front && front->HandleMenuCommand(itemName))
    return;
  if (std::shared_ptr<Application> application = GetAppObject()) {
    application->HandleMenuCommand(itemName);
  }
}

}  // namespace platform
