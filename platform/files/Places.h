#pragma once

#include <memory>
#include <string>

namespace platform {

class FolderItem;

// The per-user preferences folder: $XDG_CONFIG_HOME when it is an absolute
// path, else $HOME/.config.
// A fresh reference at each call; nil when neither variable gives a path.
std::shared_ptr<FolderItem> PreferencesFolder();

// The mounted volume of that number; volume 0 is the root folder "/". Nil for others.
std::shared_ptr<FolderItem> Volume(int number);

struct System {
  // The variable's value; the empty string when it is not set.
  static std::string EnvironmentVariable(const std::string& name);
};

}  // namespace platform
