#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "app/Instances.h"
#include "app/MenuBar1.h"
#include "platform/Menu.h"

namespace tervix {
namespace {

struct ExpectedItem {
  std::string kind;
  std::string name;
  std::string text;
  std::optional<std::string> shortcut;
};

void ExpectItem(const platform::MenuItem& item, const ExpectedItem& expected) {
  SCOPED_TRACE("item " + expected.name);
  EXPECT_EQ(item.KindName(), expected.kind);
  EXPECT_EQ(item.Name(), expected.name);
  EXPECT_EQ(item.Text(), expected.text);
  EXPECT_EQ(item.KeyboardShortcut(), expected.shortcut);
  EXPECT_TRUE(item.AutoEnable());
}

TEST(MenuBarTree, OneFileMenuHoldsFourItemsInOrder) {
  std::shared_ptr<MenuBar1> bar = instance::MenuBar1();
  ASSERT_EQ(bar->Count(), 1);
  ExpectItem(*bar->Item(0), {"MenuItem", "FileMenu", "&File", ""});
  std::shared_ptr<platform::MenuItem> file = bar->Item(0);
  ASSERT_EQ(file->Count(), 4);
  ExpectItem(*file->Item(0), {"AppleMenuItem", "About", "About Tervix", ""});
  ExpectItem(*file->Item(1), {"AppleMenuItem", "UntitledSeparator", "-", std::nullopt});
  ExpectItem(*file->Item(2), {"PrefsMenuItem", "Pref", "Preferences...", "Cmd+,"});
  ExpectItem(*file->Item(3), {"QuitMenuItem", "FileQuit", "&Quit", "Cmd+Q"});
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(file->Item(i)->Count(), 0);
}

TEST(MenuBarTree, SecondRequestReturnsTheSameBarUnchanged) {
  std::shared_ptr<MenuBar1> first = instance::MenuBar1();
  std::shared_ptr<MenuBar1> second = instance::MenuBar1();
  EXPECT_EQ(first, second);
  EXPECT_EQ(second->Count(), 1);
  EXPECT_EQ(second->Child("FileMenu")->Count(), 4);
}

}  // namespace
}  // namespace tervix
