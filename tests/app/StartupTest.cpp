#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Startup.h"
#include "platform/core/Application.h"
#include "platform/core/Runtime.h"
#include "platform/core/Seams.h"
#include "platform/ui/Menu.h"
#include "tests/support/TestRuntime.h"

namespace tervix::test {
namespace {

// The process entry, run with a resource file it cannot open: building the
// login window fails, so the entry returns and the whole run is in the journal.
class StartupTest : public RuntimeTest {
 protected:
  int RunWithoutResources() {
    platform::SetResourceFilePath(Home() + "/no-such-resources.rcc");
    static char name[] = "tervix-launcher";
    static char* arguments[] = {name, nullptr};
    return tervix::main(1, arguments);
  }
  static std::vector<std::string> JournalFrom(const std::string& entry) {
    const std::vector<std::string>& journal = platform::RuntimeJournal();
    return {std::find(journal.begin(), journal.end(), entry), journal.end()};
  }
};

TEST_F(StartupTest, ClassesMenuBarAndHandlersComeBeforeTheLoginWindowInTheirOrder) {
  RunWithoutResources();
  std::vector<std::string> start{"RuntimeInit"};
  for (const std::string name : {"App", "Window1.Window1", "MenuBar1.MenuBar1",
                                 "AquaAboutBox.AquaAboutBox", "Option.Option", "Restore.Restore"})
    start.push_back("Register " + name);
  start.insert(start.end(),
               {"ExternalClasses", "PluginEntrypoints", "Built MenuBar1", "RegisterAppObject",
                "Bind menu handler Pref", "Bind menu handler About", "Make default view"});
  std::vector<std::string> journal = JournalFrom("RuntimeInit");
  journal.resize(std::min(journal.size(), start.size()));
  EXPECT_EQ(journal, start);
}

TEST_F(StartupTest, FailureWhileTheLoginWindowIsBuiltSkipsTheLoopAndShutsDown) {
  const int status = RunWithoutResources();
  EXPECT_NE(status, 0);
  EXPECT_EQ(JournalFrom("Make default view"),
            (std::vector<std::string>{"Make default view", "UnhandledException: NilObjectException",
                                      "Release tervix_logo1", "Release tervix_logo4",
                                      "Release implicit window list", "Release window lists",
                                      "Release introspection maps", "Release MenuBar1",
                                      "RuntimeExit " + std::to_string(status)}));
}

// Each class's own operations as the registry lists them, by name as the
// program's documents give them, underscores included.
TEST_F(StartupTest, ClassRecordsNameEachOperationExactly) {
  tervix::initialize();
  std::vector<std::string> records;
  for (const platform::ClassRecord& record : platform::RegisteredClasses()) {
    std::string line = record.runtimeClassName + ":";
    for (const std::string& operation : record.operations)
      line += " " + operation;
    records.push_back(line);
  }
  const std::string window = ": Layout CreateControls _CreateControls0 ";
  const std::string menus = " FileMenu FileQuit Pref UntitledSeparator About AddMenuHandlers";
  EXPECT_EQ(
      records,
      (std::vector<std::string>{
          "App: _Pref_Action _About_Action",
          "Window1.Window1" + window +
              "Canvas1_MouseDown EditField1_Open BevelButton1_Action BevelButton2_Action" + menus,
          "MenuBar1.MenuBar1: Constructor Untitled0",
          "AquaAboutBox.AquaAboutBox" + window +
              "name_Open version_Open copyright_Open AddMenuHandlers Event_EnableMenuItems "
              "Event_Open _FileClose_Action hideControl",
          "Option.Option" + window +
              "BevelButton1_Action EditField1_Open EditField1_LostFocus Executable_Open "
              "Executable_LostFocus BevelButton3_Action AddMenuHandlers",
          "Restore.Restore" + window + "Canvas1_MouseDown Terminal_Open BevelYES_Action " +
              "BevelNO_Action" + menus}));
}

// Kind, name, text, shortcut (in brackets, or "unset") and number of items.
std::string Describe(const platform::MenuItem& item) {
  return item.KindName() + " " + item.Name() + " \"" + item.Text() + "\" " +
         (item.KeyboardShortcut() ? "[" + *item.KeyboardShortcut() + "]" : "unset") +
         (item.AutoEnable() ? " auto " : " manual ") + std::to_string(item.Count());
}

using MenuBarTest = RuntimeTest;

TEST_F(MenuBarTest, OneFileMenuHoldsAboutSeparatorPreferencesAndQuitInOrder) {
  StartLauncher();
  const std::shared_ptr<platform::MenuBar> bar = platform::GetAppObject()->GetMenuBar();
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->Count(), 1);
  std::vector<std::string> tree{Describe(*bar->Item(0))};
  for (int index = 0; index < bar->Item(0)->Count(); ++index)
    tree.push_back(Describe(*bar->Item(0)->Item(index)));
  EXPECT_EQ(tree, (std::vector<std::string>{"MenuItem FileMenu \"&File\" [] auto 4",
                                            "AppleMenuItem About \"About Tervix\" [] auto 0",
                                            "AppleMenuItem UntitledSeparator \"-\" unset auto 0",
                                            "PrefsMenuItem Pref \"Preferences...\" [Cmd+,] auto 0",
                                            "QuitMenuItem FileQuit \"&Quit\" [Cmd+Q] auto 0"}));
}

}  // namespace
}  // namespace tervix::test
