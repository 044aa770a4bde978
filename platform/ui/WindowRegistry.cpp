#include "platform/ui/WindowRegistry.h"

#include <QApplication>
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/core/Runtime.h"
#include "platform/ui/Window.h"
#include "platform/ui/qt/Widgets.h"

namespace platform {
namespace {

struct WindowLists {
  std::map<std::string, std::shared_ptr<Window>> implicitWindows;
  std::vector<std::shared_ptr<Window>> windows;
  uint64_t shownCount = 0;
};

WindowLists& Lists() {
  static WindowLists lists;
  return lists;
}

}  // namespace

void RegisterWindow(const std::shared_ptr<Window>& window) {
  Lists().implicitWindows[window->RuntimeClassName()] = window;
  Lists().windows.push_back(window);
}

void ForgetWindow(const Window& window) {
  auto& implicitWindows = Lists().implicitWindows;
  auto entry = implicitWindows.find(window.RuntimeClassName());
  if (entry != implicitWindows.end() && entry->second.get() == &window)
    implicitWindows.erase(entry);
  auto& windows = Lists().windows;
  windows.erase(std::remove_if(windows.begin(), windows.end(),
                               [&window](const auto& open) { return open.get() == &window; }),
                windows.end());
}

uint64_t NextShownOrder() {
  return ++Lists().shownCount;
}

std::shared_ptr<Window> GetImplicitWindow(const std::string& runtimeClassName) {
  auto& implicitWindows = Lists().implicitWindows;
  auto found = implicitWindows.find(runtimeClassName);
  return found == implicitWindows.end() ? nullptr : found->second;
}

std::vector<std::shared_ptr<Window>> OpenWindows() {
  std::vector<std::shared_ptr<Window>> open;
  for (const auto& window : Lists().windows) {
    if (window->IsOpen())
      open.push_back(window);
  }
  return open;
}

void ReleaseImplicitWindowList() {
  Lists().implicitWindows.clear();
}

void ReleaseWindowSupportLists() {
  Lists().windows.clear();
}

namespace qt {

std::shared_ptr<Window> FrontWindow() {
  std::vector<std::shared_ptr<Window>> open = OpenWindows();
  if (open.empty())
    return nullptr;
  QWidget* active = QApplication::activeWindow();
  for (const auto& window : open) {
    if (active != nullptr && WindowQWidget(*window) == active)
      return window;
  }
  return *std::max_element(open.begin(), open.end(), [](const auto& a, const auto& b) {
    return a->Widget().shownOrder < b->Widget().shownOrder;
  });
}

}  // namespace qt
}  // namespace platform
