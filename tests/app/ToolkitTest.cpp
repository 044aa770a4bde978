#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QMainWindow>
#include <QStyle>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "login/Window1.h"
#include "options/Option.h"
#include "platform/ui/Controls.h"
#include "platform/ui/qt/Widgets.h"
#include "tests/support/TestRuntime.h"
#include "tests/support/UserActions.h"

namespace tervix::test {
namespace {

// The launcher's two open-file dialogs answered in the toolkit's own dialog:
// "Get" in the preferences window cancelled, then Logon's chosen, with the
// config home there or missing.
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

// The toolkit's own options given on the launcher's command line.
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
  const QWidget& field =
      *platform::qt::ControlQWidget(*Shown(Window1::kRuntimeClassName).ControlByName("EditField1"));

  EXPECT_EQ(login.layoutDirection(), Qt::LeftToRight);
  EXPECT_EQ(field.layoutDirection(), Qt::LeftToRight);
  EXPECT_EQ(qApp->styleSheet().toStdString(), "");
  EXPECT_EQ(login.style()->name().toStdString(), "fusion");
  EXPECT_EQ(QGuiApplication::platformName().toStdString(), "offscreen");
}

}  // namespace
}  // namespace tervix::test
