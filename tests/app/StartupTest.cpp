#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/Instances.h"
#include "app/MenuBar1.h"
#include "app/Startup.h"
#include "login/Window1.h"
#include "platform/Application.h"
#include "platform/Runtime.h"
#include "platform/Seams.h"
#include "platform/Window.h"
#include "tests/support/TestRuntime.h"

namespace tervix {
namespace {

class StartupTest : public test::RuntimeTest {
 protected:
  // Where the entry stands in the journal; the journal's size when it is absent.
  static size_t JournalIndex(const std::string& entry) {
    const std::vector<std::string>& journal = platform::RuntimeJournal();
    return static_cast<size_t>(std::find(journal.begin(), journal.end(), entry) - journal.begin());
  }
  static std::string Journal() {
    std::string all;
    for (const std::string& entry : platform::RuntimeJournal())
      all += entry + "\n";
    return all;
  }
};

TEST_F(StartupTest, ProgramClassesAreRegisteredLastInTheirOrder) {
  StartLauncher();
  std::vector<std::string> names;
  for (const platform::ClassRecord& record : platform::RegisteredClasses()) {
    names.push_back(record.runtimeClassName);
  }
  const std::vector<std::string> program{
      "App",           "Window1.Window1", "MenuBar1.MenuBar1", "AquaAboutBox.AquaAboutBox",
      "Option.Option", "Restore.Restore"};
  ASSERT_GE(names.size(), program.size());
  EXPECT_EQ(std::vector<std::string>(names.end() - 6, names.end()), program);
}

TEST_F(StartupTest, MenuBarIsBuiltBeforeHandlersAndLoginWindow) {
  StartLauncher();
  EXPECT_LT(JournalIndex("Built MenuBar1"), JournalIndex("RegisterAppObject")) << Journal();
  EXPECT_LT(JournalIndex("RegisterAppObject"), JournalIndex("Bind menu handler Pref")) << Journal();
  EXPECT_LT(JournalIndex("Bind menu handler About"), JournalIndex("Make default view"))
      << Journal();
  std::shared_ptr<platform::MenuBar> bar = platform::GetAppObject()->GetMenuBar();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar, instance::MenuBar1());
  ASSERT_EQ(bar->Count(), 1);
  EXPECT_EQ(bar->Item(0)->Count(), 4);
}

TEST_F(StartupTest, PrefHandlerIsBoundBeforeAbout) {
  StartLauncher();
  EXPECT_EQ(platform::GetAppObject()->MenuHandlerNames(),
            (std::vector<std::string>{"Pref", "About"}));
}

TEST_F(StartupTest, LoginWindowIsTheOnlyWindowAndShowsTheMenuBar) {
  StartLauncher();
  const std::vector<std::shared_ptr<platform::Window>> open = platform::OpenWindows();
  ASSERT_EQ(open.size(), 1u);
  EXPECT_EQ(open[0]->RuntimeClassName(), "Window1.Window1");
  EXPECT_TRUE(open[0]->Visible());
  EXPECT_EQ(open[0]->GetMenuBar(), instance::MenuBar1());
  EXPECT_EQ(platform::GetImplicitWindow("Window1.Window1"), open[0]);
}

TEST_F(StartupTest, FailureWhileLoginWindowIsBuiltSkipsTheLoopAndShutsDown) {
  platform::SetResourceFilePath(Home() + "/no-such-resources.rcc");
  static char name[] = "tervix-launcher";
  static char* arguments[] = {name, nullptr};

  const int status = tervix::main(1, arguments);

  EXPECT_NE(status, 0);
  EXPECT_EQ(JournalIndex("Run"), platform::RuntimeJournal().size()) << Journal();
  const size_t unhandled = JournalIndex("UnhandledException: NilObjectException");
  EXPECT_LT(JournalIndex("Make default view"), unhandled) << Journal();
  EXPECT_LT(unhandled, JournalIndex("Release tervix_logo1")) << Journal();
  EXPECT_LT(JournalIndex("Release tervix_logo1"), JournalIndex("Release MenuBar1")) << Journal();
  EXPECT_EQ(platform::RuntimeJournal().back(), "RuntimeExit " + std::to_string(status));
  EXPECT_EQ(platform::GetImplicitWindow("Window1.Window1"), nullptr);
}

}  // namespace
}  // namespace tervix
