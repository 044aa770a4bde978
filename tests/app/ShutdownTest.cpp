#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/Startup.h"
#include "platform/Runtime.h"
#include "platform/Window.h"
#include "tests/support/TestRuntime.h"
#include "tests/support/UserActions.h"

namespace tervix {
namespace {

class ShutdownTest : public test::RuntimeTest {
 protected:
  // The journal from the entry on.
  static std::vector<std::string> JournalFrom(const std::string& entry) {
    const std::vector<std::string>& journal = platform::RuntimeJournal();
    return {std::find(journal.begin(), journal.end(), entry), journal.end()};
  }

  // What the event loop does with a quit that a handler asked for, then
  // the rest of the process entry.
  int RunLoopAndShutDown() {
    platform::RuntimeRun();
    finalize();
    return platform::RuntimeExit();
  }
};

TEST_F(ShutdownTest, QuitReleasesPicturesFirstAndMenuBarLastAndExitsWithZero) {
  StartLauncher();
  test::ChooseMenu("FileQuit");
  EXPECT_EQ(platform::PendingQuitCode(), 0);
  EXPECT_EQ(RunLoopAndShutDown(), 0);
  const std::vector<std::string> shutdown = JournalFrom("Release tervix_logo1");
  ASSERT_GE(shutdown.size(), 4u);
  EXPECT_EQ(shutdown[1], "Release tervix_logo4");
  const auto maps = std::find(shutdown.begin(), shutdown.end(), "Release introspection maps");
  ASSERT_NE(maps, shutdown.end());
  EXPECT_EQ(*(maps + 1), "Release MenuBar1");
  EXPECT_EQ(shutdown.back(), "RuntimeExit 0");
  EXPECT_EQ(platform::GetImplicitWindow("Window1.Window1"), nullptr);
}

}  // namespace
}  // namespace tervix
