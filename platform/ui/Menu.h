#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// A menu or a menu item; a menu holds its items as children.
class MenuItem {
 public:
  virtual ~MenuItem() = default;

  void SetName(std::string name) { name_ = std::move(name); }
  const std::string& Name() const { return name_; }
  void SetAutoEnable(bool autoEnable) { autoEnable_ = autoEnable; }
  bool AutoEnable() const { return autoEnable_; }
  void SetText(std::string text) { text_ = std::move(text); }
  const std::string& Text() const { return text_; }
  // "Cmd+Q" style; "Cmd" is the platform's command key (Ctrl on Linux).
  // Nothing when never set.
  void SetKeyboardShortcut(std::string shortcut) { shortcut_ = std::move(shortcut); }
  const std::optional<std::string>& KeyboardShortcut() const { return shortcut_; }

  void Append(std::shared_ptr<MenuItem> item);
  int Count() const { return static_cast<int>(children_.size()); }
  std::shared_ptr<MenuItem> Item(int index) const;
  // The direct child of that name, or nil.
  std::shared_ptr<MenuItem> Child(const std::string& name) const;
  // The item of that name anywhere below root (root included), or nil.
  static std::shared_ptr<MenuItem> Lookup(const MenuItem& root, const std::string& name);

  // The kind's name: "MenuItem", "AppleMenuItem", "PrefsMenuItem", "QuitMenuItem", "MenuBar".
  virtual std::string KindName() const { return "MenuItem"; }

 private:
  std::string name_;
  bool autoEnable_ = false;
  std::string text_;
  std::optional<std::string> shortcut_;
  std::vector<std::shared_ptr<MenuItem>> children_;
};

class AppleMenuItem : public MenuItem {
 public:
  std::string KindName() const override { return "AppleMenuItem"; }
};

class PrefsMenuItem : public MenuItem {
 public:
  std::string KindName() const override { return "PrefsMenuItem"; }
};

// Choosing it quits the application.
class QuitMenuItem : public MenuItem {
 public:
  std::string KindName() const override { return "QuitMenuItem"; }
};

class MenuBar : public MenuItem {
 public:
  std::string KindName() const override { return "MenuBar"; }
};

// Chooses the item of that name as the user would from the menu bar: a
// QuitMenuItem quits; otherwise the front window's menu handler for the name
// runs, and when it does not handle the command, the application's.
void ChooseMenuItem(const std::string& itemName);

}  // namespace platform
