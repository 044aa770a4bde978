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

namespace fs = std::filesystem;

platform::Window& Shown(const std::string& runtimeClassName) {
  return platform::NotNil(platform::GetImplicitWindow(runtimeClassName));
}

// The launcher's two open-file dialogs, answered in the toolkit's own dialog.
enum class Dialog { Logon, Get };
struct DialogCase {
  const char* name;
  Dialog dialog;
  bool choose;
  bool configHome;  // false: the config home is missing
  friend void PrintTo(const DialogCase& input, std::ostream* out) { *out << input.name; }
};

const DialogCase kDialogCases[] = {
    {"LogonChosen", Dialog::Logon, true, true},
    {"LogonCancelled", Dialog::Logon, false, true},
    {"GetChosen", Dialog::Get, true, true},
    {"GetCancelled", Dialog::Get, false, true},
    {"LogonChosenWithoutConfigHome", Dialog::Logon, true, false},
    {"LogonCancelledWithoutConfigHome", Dialog::Logon, false, false},
    {"GetChosenWithoutConfigHome", Dialog::Get, true, false},
    {"GetCancelledWithoutConfigHome", Dialog::Get, false, false},
};

class OpenFileDialogTest : public RuntimeTest, public testing::WithParamInterface<DialogCase> {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    platform::InstallDialogHost(nullptr);
    WriteFile(Game(), "#!/bin/sh\n");
    WriteFile(ProfileFolder() + "bob.usr", "bob's profile");
  }
  std::string Game() const { return Home() + "/games/Tervix"; }

  // Answers the dialog that the player opens; the game the launcher then
  // knows: launched by Logon, or shown in the preferences window after "Get".
  std::string UseDialog(const DialogCase& input) {
    AnswerOpenFileDialog(input.choose ? std::optional(Game()) : std::nullopt);
    StartLauncher();
    if (input.dialog == Dialog::Logon) {
      platform::Window& login = Shown(Window1::kRuntimeClassName);
      login.ControlAs<platform::EditField>("EditField1")->SetText("bob");
      Click(login, "BevelButton1");
      return launches().launched().empty() ? "" : launches().launched().front();
    }
    ChooseMenu("Pref");
    Click(Shown(Option::kRuntimeClassName), "BevelButton3");
    return Shown(Option::kRuntimeClassName).ControlAs<platform::EditField>("Executable")->Text();
  }
};

TEST_P(OpenFileDialogTest, LeavesNothingOfTheToolkitInTheConfigHome) {
  const DialogCase& input = GetParam();
  if (!input.configHome)
    fs::remove(ConfigHome());

  EXPECT_EQ(UseDialog(input), input.choose ? Game() : "");

  EXPECT_EQ(AnsweredOpenFileDialogs(), std::vector<std::string>{"Select Tervix executable"});
  if (input.configHome) {
    for (const std::string& name : ListFolder(ConfigHome()))
      EXPECT_EQ(name, Prefs::kApplicationFolderName);
  } else {
    EXPECT_FALSE(FileExists(ConfigHome())) << "the missing config home was made";
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, OpenFileDialogTest, testing::ValuesIn(kDialogCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Options of the toolkit given on the launcher's command line.
struct OptionCase {
  const char* name;
  std::vector<std::string> options;
  friend void PrintTo(const OptionCase& input, std::ostream* out) { *out << input.name; }
};

const OptionCase kOptionCases[] = {
    {"Reverse", {"-reverse"}},
    {"StyleSheet", {"-stylesheet", "look.qss"}},
    {"Style", {"-style", "windows"}},
    {"Platform", {"-platform", "minimal"}},
};

class ToolkitOptionTest : public RuntimeTest, public testing::WithParamInterface<OptionCase> {
 protected:
  std::vector<std::string> CommandLine() const override {
    std::vector<std::string> words{"tervix-launcher"};
    for (const std::string& word : GetParam().options)
      words.push_back(word == "look.qss" ? Home() + "/look.qss" : word);
    return words;
  }
};

TEST_P(ToolkitOptionTest, ChangesNothingThePlayerSees) {
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

INSTANTIATE_TEST_SUITE_P(Cases, ToolkitOptionTest, testing::ValuesIn(kOptionCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tervix::test
