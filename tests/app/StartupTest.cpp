#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QTimer>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/BusyWait.h"
#include "app/Startup.h"
#include "login/Window1.h"
#include "options/Option.h"
#include "platform/core/Runtime.h"
#include "platform/core/qt/Dispatcher.h"
#include "platform/ui/Controls.h"
#include "platform/ui/qt/Widgets.h"
#include "restore/Restore.h"
#include "tests/support/TestRuntime.h"
#include "tests/support/UserActions.h"

namespace tervix::test {
namespace {

// The launcher run through its process entry; a run the player could not quit ends with 99.
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
      const std::string shortcut = item->shortcut().toString().toStdString();
      menus.append(" ").append(item->isSeparator() ? "----" : item->text().toStdString());
      if (!shortcut.empty())
        menus.append(" [").append(shortcut).append("]");
      menus.append(item->isEnabled() ? "" : " (disabled)");
    }
    menus += "\n";
  }
  return menus;
}

// The banner and the menu item show the same about box, never a second one.
TEST_F(StartupTest, LauncherShowsItsWindowsAndMenusAndQuitsWithStatusZero) {
  std::vector<std::string> seen;
  std::string menus;
  const int status = RunLauncher([&] {
    const auto login = platform::GetImplicitWindow(Window1::kRuntimeClassName);
    seen.push_back(OnScreen());
    menus = MenusOf(login);
    ChooseMenu("Pref");
    Click(*login, "Canvas1");
    seen.push_back(OnScreen());
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
                                      "Window1.Window1 Option.Option AquaAboutBox.AquaAboutBox ",
                                      "Option.Option AquaAboutBox.AquaAboutBox Restore.Restore "}));
  const std::string fileMenu = "&File: About Tervix ---- Preferences... [Ctrl+,] &Quit [Ctrl+Q]\n";
  EXPECT_EQ(menus, fileMenu + fileMenu) << "the login window's, then the restore window's";
}

TEST_F(StartupTest, LoginWindowThatCannotBeBuiltEndsTheRunWithFailureSaidOnStderr) {
  platform::SetResourceFilePath(Home() + "/no-such-resources.rcc");
  testing::internal::CaptureStderr();
  EXPECT_EQ(RunLauncher([] {}), 1);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("Unhandled exception: NilObjectException\n"), std::string::npos) << said;
  EXPECT_EQ(platform::OpenWindows().size(), 0u);
}

// "Get" cancelled, then Logon's dialog answered, in the toolkit's own; config home there or not.
class OpenFileDialogTest : public RuntimeTest, public testing::WithParamInterface<bool> {};

TEST_P(OpenFileDialogTest, LeavesNothingOfTheToolkitInTheConfigHome) {
  const bool configHome = GetParam();
  if (!configHome)
    std::filesystem::remove(ConfigHome());
  const std::string game = Home() + "/games/Tervix";
  WriteFile(game, "#!/bin/sh\n");
  WriteFile(ProfileFolder() + "bob.usr", "bob's profile");
  platform::InstallDialogHost(nullptr);
  StartLauncher();
  ChooseMenu("Pref");
  AnswerOpenFileDialog(std::nullopt);
  Click(Shown(Option::kRuntimeClassName), "BevelButton3");
  AnswerOpenFileDialog(game);
  Shown(Window1::kRuntimeClassName).ControlAs<platform::EditField>("EditField1")->SetText("bob");
  Click(Shown(Window1::kRuntimeClassName), "BevelButton1");

  EXPECT_EQ(launches().launched(), std::vector<std::string>{game});
  EXPECT_EQ(AnsweredOpenFileDialogs(),
            (std::vector<std::string>{"Select Tervix executable", "Select Tervix executable"}));
  if (configHome) {
    for (const std::string& name : ListFolder(ConfigHome()))
      EXPECT_EQ(name, Prefs::kApplicationFolderName);
  } else {
    EXPECT_FALSE(FileExists(ConfigHome())) << "the missing config home was made";
  }
}

INSTANTIATE_TEST_SUITE_P(ConfigHome, OpenFileDialogTest, testing::Bool(),
                         [](const auto& info) { return info.param ? "There" : "Missing"; });

class ToolkitOptionTest : public RuntimeTest {
 protected:
  std::vector<std::string> CommandLine() const override {
    return {"tervix-launcher", "-reverse", "-stylesheet", Home() + "/look.qss",
            "-style",          "windows",  "-platform",   "minimal"};
  }
};

TEST_F(ToolkitOptionTest, ChangesNothingThePlayerSees) {
  WriteFile(Home() + "/look.qss", "QWidget { background: red; }");
  StartLauncher();
  const QMainWindow& login = *platform::qt::WindowQWidget(Shown(Window1::kRuntimeClassName));
  EXPECT_EQ(login.layoutDirection(), Qt::LeftToRight) << "and so for every control inside";
  EXPECT_EQ(qApp->styleSheet().toStdString(), "");
  EXPECT_EQ(login.style()->name().toStdString(), "fusion");
  EXPECT_EQ(QGuiApplication::platformName().toStdString(), "offscreen");
}

class BusyWaitTest : public RuntimeTest, public testing::WithParamInterface<int32_t> {};

// One tick per yield, so a wait of N ticks yields N times, across the counter's wrap too.
TEST_P(BusyWaitTest, WaitYieldsOncePerTickWhereverTheCounterStands) {
  clock().Set(GetParam());
  BusyWait(240);
  EXPECT_EQ(clock().backgroundTaskCalls(), 240);
}

INSTANTIATE_TEST_SUITE_P(CounterAt, BusyWaitTest,
                         testing::Values(0, std::numeric_limits<int32_t>::max() - 100,
                                         std::numeric_limits<int32_t>::max(), -1));

}  // namespace
}  // namespace tervix::test
