#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <algorithm>
#include <limits>

#include "platform/Application.h"
#include "platform/Runtime.h"
#include "platform/Window.h"
#include "platform/qt/Widgets.h"
#include "tests/platform/TinyWindows.h"
#include "tests/support/TestRuntime.h"

namespace tervix::test {
namespace {

using platform::ImplicitInstance;

class RuntimeLoopTest : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    FirstWindow::Recipe() = {};
    FirstWindow::Recipe().controls = {Button("BevelButton1", "Go")};
  }
  void OnAction(std::function<void()> action) {
    FirstWindow::Recipe().bind = [action](platform::Window& window) {
      window.ControlByName("BevelButton1")->InstallInstanceEventHandler("Action", action);
    };
  }
  // Clicks the button once the event loop runs, as a player would.
  static void ClickWhenRunning(const std::shared_ptr<platform::Window>& window) {
    QWidget* button = platform::qt::ControlQWidget(*window->ControlByName("BevelButton1"));
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [button] { QTest::mouseClick(button, Qt::LeftButton); },
        Qt::QueuedConnection);
  }
  static bool Journaled(const std::string& entry) {
    const auto& journal = platform::RuntimeJournal();
    return std::find(journal.begin(), journal.end(), entry) != journal.end();
  }
};

TEST_F(RuntimeLoopTest, TheLoopRunsUntilAHandlerQuitsAndExitsWithItsCode) {
  OnAction([] { platform::Quit(3); });
  auto window = ImplicitInstance<FirstWindow>();
  ClickWhenRunning(window);

  platform::RuntimeRun();

  EXPECT_EQ(platform::PendingQuitCode(), std::nullopt) << "the loop did not carry out the quit";
  EXPECT_EQ(platform::RuntimeExit(), 3);
  EXPECT_TRUE(Journaled("RuntimeExit 3"));
}

TEST_F(RuntimeLoopTest, AnExceptionThatLeavesAHandlerEndsTheLoopAndIsThrownFromRun) {
  OnAction([] { throw platform::RuntimeException("broken handler"); });
  auto window = ImplicitInstance<FirstWindow>();
  ClickWhenRunning(window);

  try {
    platform::RuntimeRun();
    FAIL() << "the loop swallowed the exception";
  } catch (...) {
    testing::internal::CaptureStderr();
    platform::UnhandledException(std::current_exception());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Unhandled exception: broken handler\n");
  }
  EXPECT_EQ(platform::RuntimeExit(), 1);
  EXPECT_TRUE(Journaled("UnhandledException: broken handler"));
}

TEST_F(RuntimeLoopTest, RunReturnsAtOnceWhenAQuitIsPending) {
  ImplicitInstance<FirstWindow>();
  platform::Quit(0);

  platform::RuntimeRun();

  EXPECT_EQ(platform::RuntimeExit(), 0);
}

TEST_F(RuntimeLoopTest, RunWithNoWindowOpenEndsRatherThanHanging) {
  platform::RuntimeRun();

  EXPECT_EQ(platform::RuntimeExit(), 0);
}

TEST_F(RuntimeLoopTest, TheJournalRecordsStartUpInOrderAndEachClassOnce) {
  platform::RegisterClass({"App", "Application", {}, {}, "Public"});
  platform::RegisterClass({"Window1.Window1", "Window", {}, {}, "Public"});
  platform::RegisterClass({"App", "Application", {}, {}, "Public"});
  platform::RuntimeInitExternalClasses();
  platform::InitPluginEntrypoints();
  platform::RuntimeRegisterAppObject(std::make_shared<platform::Application>());
  platform::ReleaseImplicitWindowList();
  platform::ReleaseWindowSupportLists();
  platform::ReleaseIntrospectionMaps();

  EXPECT_EQ(platform::RuntimeJournal(),
            (std::vector<std::string>{"RuntimeInit", "Register App", "Register Window1.Window1",
                                      "ExternalClasses", "PluginEntrypoints", "RegisterAppObject",
                                      "Release implicit window list", "Release window lists",
                                      "Release introspection maps"}));
  ASSERT_EQ(platform::RegisteredClasses().size(), 2u);
  EXPECT_EQ(platform::RegisteredClasses()[1].runtimeClassName, "Window1.Window1");
  EXPECT_NE(platform::GetAppObject(), nullptr);
}

TEST_F(RuntimeLoopTest, ABusyWaitYieldsOncePerTick) {
  const int32_t start = platform::Ticks();
  while (platform::TicksSince(start) < 240)
    platform::RuntimeBackgroundTask();

  EXPECT_EQ(clock().backgroundTaskCalls(), 240);
}

TEST_F(RuntimeLoopTest, ABusyWaitAcrossTheCounterWrapEndsOnTime) {
  clock().Set(std::numeric_limits<int32_t>::max() - 100);

  const int32_t start = platform::Ticks();
  while (platform::TicksSince(start) < 240)
    platform::RuntimeBackgroundTask();

  EXPECT_EQ(clock().backgroundTaskCalls(), 240);
  EXPECT_LT(platform::Ticks(), 0) << "the counter did not wrap";
}

}  // namespace
}  // namespace tervix::test
