#include <gtest/gtest.h>

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Startup.h"
#include "login/Window1.h"
#include "platform/core/Runtime.h"
#include "platform/core/qt/Dispatcher.h"
#include "platform/ui/qt/Widgets.h"
#include "restore/Restore.h"
#include "tests/support/TestRuntime.h"
#include "tests/support/UserActions.h"

namespace tervix::test {
namespace {

// The launcher run through its process entry, with the player acting once its
// event loop has started; a run the player could not quit ends with 99.
class StartupTest : public RuntimeTest {
 protected:
  static int RunLauncher(const std::function<void()>& player) {
    QTimer::singleShot(0, [player] {
      player();
      if (!platform::PendingQuitCode())
        platform::qt::Dispatch(nullptr, nullptr, [] { platform::Quit(99); });
    });
    static char name[] = "tervix-launcher";
    static char* arguments[] = {name, nullptr};
    return tervix::main(1, arguments);
  }
  // The run-time class names of the windows on screen, in the order they were built.
  static std::string OnScreen() {
    std::string names;
    for (const auto& window : platform::OpenWindows())
      names += window->Visible() ? window->RuntimeClassName() + " " : "";
    return names;
  }
};

// Each menu of a window's menu bar with its items as the player sees them.
std::string MenusOf(const std::shared_ptr<platform::Window>& window) {
  const auto* bar = qobject_cast<QMenuBar*>(platform::qt::WindowQWidget(*window)->menuWidget());
  std::string menus = bar ? "" : "no menu bar";
  for (const QAction* menu : bar ? bar->actions() : QList<QAction*>()) {
    menus += menu->text().toStdString() + ":";
    for (const QAction* item : menu->menu()->actions()) {
      const QString shortcut = item->shortcut().toString();
      menus += ' ';
      menus += item->isSeparator() ? std::string("----") : item->text().toStdString();
      menus += shortcut.isEmpty() ? "" : " [" + shortcut.toStdString() + "]";
      menus += item->isEnabled() ? "" : " (disabled)";
    }
    menus += "\n";
  }
  return menus;
}

TEST_F(StartupTest, LauncherShowsItsWindowsAndMenusAndQuitsWithStatusZero) {
  std::vector<std::string> seen;
  std::string menus;
  const int status = RunLauncher([&] {
    const auto login = platform::GetImplicitWindow(Window1::kRuntimeClassName);
    seen.push_back(OnScreen());
    menus = MenusOf(login);
    ChooseMenu("Pref");
    ChooseMenu("About");
    seen.push_back(OnScreen());
    Click(*login, "BevelButton2");
    seen.push_back(OnScreen());
    menus += MenusOf(platform::GetImplicitWindow(Restore::kRuntimeClassName));
    ChooseMenu("FileQuit");
  });

  EXPECT_EQ(status, 0);
  EXPECT_EQ(seen,
            (std::vector<std::string>{"Window1.Window1 ",
                                      "Window1.Window1 Option.Option AquaAboutBox.AquaAboutBox ",
                                      "Option.Option AquaAboutBox.AquaAboutBox Restore.Restore "}));
  const std::string fileMenu = "&File: About Tervix ---- Preferences... [Ctrl+,] &Quit [Ctrl+Q]\n";
  EXPECT_EQ(menus, fileMenu + fileMenu) << "the login window's, then the restore window's";
}

// A resource file the launcher cannot open: building the login window fails,
// and the player who started the launcher from a terminal is told why at once.
TEST_F(StartupTest, LoginWindowThatCannotBeBuiltEndsTheRunWithFailureSaidOnStderr) {
  platform::SetResourceFilePath(Home() + "/no-such-resources.rcc");
  testing::internal::CaptureStderr();
  EXPECT_EQ(RunLauncher([] {}), 1);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("Unhandled exception: NilObjectException\n"), std::string::npos) << said;
  EXPECT_EQ(platform::OpenWindows().size(), 0u);
}

}  // namespace
}  // namespace tervix::test
