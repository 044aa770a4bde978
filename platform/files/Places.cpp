#include "platform/files/Places.h"

#include <cstdlib>

#include "platform/files/FolderItem.h"

namespace platform {

std::shared_ptr<FolderItem> PreferencesFolder() {
  // A relative config home is ignored, as the desktop's base-directory rules ask.
  const std::string configHome = System::EnvironmentVariable("XDG_CONFIG_HOME");
  if (!configHome.empty() && configHome.front() == '/') {
    return std::make_shared<FolderItem>(configHome, kShellPathMode);
  }
  const std::string home = System::EnvironmentVariable("HOME");
  if (home.empty())
    return nullptr;
  return std::make_shared<FolderItem>(home + "/.config", kShellPathMode);
}

std::shared_ptr<FolderItem> Volume(int number) {
  if (number != 0)
    return nullptr;
  return std::make_shared<FolderItem>("/", kShellPathMode);
}

std::string System::EnvironmentVariable(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  return value ? std::string(value) : std::string();
}

}  // namespace platform
