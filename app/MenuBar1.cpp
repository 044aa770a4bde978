#include "app/MenuBar1.h"

#include <memory>
#include <optional>
#include <string>

#include "app/Instances.h"
#include "platform/core/Exceptions.h"

namespace tervix {
namespace {

// Nil until the first request has built the whole bar; nil again after shutdown.
std::shared_ptr<MenuBar1> implicitInstance;

// A new item of the given kind; a shortcut of nullopt is left unset.
template <class Kind>
std::shared_ptr<platform::MenuItem> NewItem(const std::string& name, const std::string& text,
                                            const std::optional<std::string>& shortcut) {
  auto item = std::make_shared<Kind>();
  item->SetName(name);
  item->SetAutoEnable(true);
  item->SetText(text);
  if (shortcut)
    item->SetKeyboardShortcut(*shortcut);
  return item;
}

}  // namespace

platform::ClassRecord MenuBar1::ClassRecord() {
  return {"MenuBar1.MenuBar1", "MenuBar", {"Constructor", "Untitled0"}, {}, "Public"};
}

void MenuBar1::Constructor() {
  Untitled0();
}

void MenuBar1::Untitled0() {
  Append(NewItem<platform::MenuItem>("FileMenu", "&File", ""));
  platform::NotNil(Child("FileMenu"))
      .Append(NewItem<platform::AppleMenuItem>("About", "About Tervix", ""));
  platform::NotNil(Child("FileMenu"))
      .Append(NewItem<platform::AppleMenuItem>("UntitledSeparator", "-", std::nullopt));
  platform::NotNil(Child("FileMenu"))
      .Append(NewItem<platform::PrefsMenuItem>("Pref", "Preferences...", "Cmd+,"));
  platform::NotNil(Child("FileMenu"))
      .Append(NewItem<platform::QuitMenuItem>("FileQuit", "&Quit", "Cmd+Q"));
}

void MenuBar1_implicitInstanceExit() {
  implicitInstance = nullptr;
}

std::shared_ptr<MenuBar1> instance::MenuBar1() {
  if (!implicitInstance) {
    auto bar = std::make_shared<tervix::MenuBar1>();
    bar->Constructor();
    implicitInstance = bar;
  }
  return implicitInstance;
}

}  // namespace tervix
