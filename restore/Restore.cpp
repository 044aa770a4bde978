#include "restore/Restore.h"

#include <memory>
#include <string>

#include "about/AquaAboutBox.h"
#include "app/Instances.h"
#include "app/MenuBar1.h"
#include "app/Pictures.h"
#include "login/ProfilePaths.h"
#include "login/Window1.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Values.h"
#include "platform/files/FolderItem.h"
#include "platform/files/Places.h"
#include "platform/ui/Controls.h"
#include "prefs/Prefs.h"
#include "restore/ProfileRestore.h"
#include "restore/RestoreSteps.h"

namespace tervix {

namespace {

constexpr const char* kTerminalBanner = "Tervix Restore System v1.0";
constexpr const char* kRuleLine = "--------------------------------------------------------";
constexpr const char* kCurrentGatewayPrompt = "Your current gateway is: ";
constexpr const char* kCurrentProfileSuffix = ".usr";
constexpr const char* kRestoreQuestion = "Do you want to restore gateway: ";
constexpr const char* kBackupQuestionEnd = "-backup.usr ?";
constexpr const char* kAborted = "Restore process aborted, returning to login screen.";
constexpr int32_t kAbortTicks = 240;
constexpr const char* kStarting = "Starting restore process...";
constexpr const char* kRestoreDone = "Restore done !!!";
constexpr const char* kRestoreFailed = "Restore failed, your gateway was left as it was.";
constexpr const char* kNoBackup = "Sorry you have no backup yet...";
constexpr const char* kReturning = "Returning to login screen.";
constexpr int32_t kReturnTicks = 360;

std::shared_ptr<platform::FolderItem> ProfileFile(const std::string& path) {
  return std::make_shared<platform::FolderItem>(path, platform::kShellPathMode);
}

}  // namespace

// clang-format off
const platform::WindowDesign& Restore::Design() {
  static const platform::WindowDesign design{"Tervix Launcher", 389, 288, /*placement*/ 2,
                                             /*frame*/ 0, /*liveResize*/ false,
                                             /*minimizeButton*/ true, {}};
  return design;
}

const std::vector<platform::ControlDesign>& Restore::Controls() {
  using platform::Color;
  using platform::ControlClass;
  static const std::vector<platform::ControlDesign> controls{
      // The banner is the login window's, stored once.
      Window1::Controls()[0],
      {"Terminal", ControlClass::EditField, 20, 69, 349, 165, kTerminalBanner, 1,
       {{"Multiline", true}, {"TextColor", Color{0x00, 0xFF, 0x00}},
        {"BackColor", Color{0x00, 0x00, 0x00}}, {"TextSize", 10}, {"UseFocusRing", false}}},
      {"BevelYES", ControlClass::BevelButton, 205, 246, 117, 22, "Yes", 2, {}},
      {"BevelNO", ControlClass::BevelButton, 65, 246, 117, 22, "No", 3, {}},
  };
  return controls;
}
// clang-format on

platform::ClassRecord Restore::ClassRecord() {
  return {kRuntimeClassName,
          "Window",
          {"Layout", "CreateControls", "_CreateControls0", "Canvas1_MouseDown", "Terminal_Open",
           "BevelYES_Action", "BevelNO_Action", "FileMenu", "FileQuit", "Pref", "UntitledSeparator",
           "About", "AddMenuHandlers"},
          {"Layout", "CreateControls", "AddMenuHandlers"}};
}

void Restore::Layout() {
  SetMenuBar(instance::MenuBar1());
  platform::SetProperties(*this, platform::EncodeWindowBlock(Design()));
}

void Restore::CreateControls() {
  CreateControls0();
}

void Restore::CreateControls0() {
  CreateControl(Controls()[0], platform::KeyOrder::Forward, tervix_logo1());
  ControlAs<platform::Canvas>("Canvas1")->InstallInstanceEventHandler(
      "MouseDown", [this](int32_t x, int32_t y) { return Canvas1_MouseDown(x, y); });
  CreateControl(Controls()[1], platform::KeyOrder::Forward);
  ControlAs<platform::EditField>("Terminal")->InstallInstanceEventHandler("Open", [this] {
    Terminal_Open();
  });
  CreateControl(Controls()[2], platform::KeyOrder::Forward);
  ControlAs<platform::BevelButton>("BevelYES")->InstallInstanceEventHandler("Action", [this] {
    BevelYES_Action();
  });
  CreateControl(Controls()[3], platform::KeyOrder::Forward);
  ControlAs<platform::BevelButton>("BevelNO")->InstallInstanceEventHandler(
      "Action", [this] { BevelNO_Action(); });
}

// The restore window handles no menu command of its own; the application's handlers serve it.
void Restore::AddMenuHandlers(platform::Window&) {}

bool Restore::Canvas1_MouseDown(int32_t, int32_t) {
  platform::NotNil(instance::AquaAboutBox()).Show();
  return false;
}

void Restore::Terminal_Open() {
  using RestoreSteps::AppendToTerminal;
  AppendToTerminal(*this, platform::EndOfLine());
  AppendToTerminal(*this, kRuleLine);
  AppendToTerminal(*this, platform::EndOfLine());
  AppendToTerminal(*this, platform::EndOfLine());
  AppendToTerminal(*this, kCurrentGatewayPrompt);
  AppendToTerminal(*this, Prefs::PrefLogin());
  AppendToTerminal(*this, kCurrentProfileSuffix);
  AppendToTerminal(*this, platform::EndOfLine());
  AppendToTerminal(*this, platform::EndOfLine());
  AppendToTerminal(*this, kRestoreQuestion);
  AppendToTerminal(*this, Prefs::PrefLogin());
  AppendToTerminal(*this, kBackupQuestionEnd);
}

void Restore::BevelYES_Action() {
  using RestoreSteps::AppendToTerminal;
  AppendToTerminal(*this, platform::EndOfLine());
  AppendToTerminal(*this, platform::EndOfLine());
  AppendToTerminal(*this, kStarting);
  AppendToTerminal(*this, platform::EndOfLine());
  AppendToTerminal(*this, platform::EndOfLine());

  const std::string home = platform::System::EnvironmentVariable("HOME");
  // Nothing writes the stored login during a press, so one reading names every file.
  const std::string login = Prefs::PrefLogin();
  if (!ProfilePaths::NamesAProfile(login)) {
    return;
  }
  const auto current = ProfileFile(ProfilePaths::CurrentProfile(home, login));
  if (!current->Exists()) {
    return;
  }

  RestoreSteps::Disable(*this, "BevelNO");
  const auto backup = ProfileFile(ProfilePaths::BackupProfile(home, login));
  if (backup->Exists()) {
    RestoreSteps::Disable(*this, "BevelYES");
    const platform::FolderItem folder(ProfilePaths::ProfileFolder(home), platform::kShellPathMode);
    const auto trashed = ProfileFile(ProfilePaths::TrashedProfile(home, login));
    const bool restored = ProfileRestore::PutBackupInPlace(folder, *current, *backup, *trashed);
    AppendToTerminal(*this, restored ? kRestoreDone : kRestoreFailed);
    AppendToTerminal(*this, platform::EndOfLine());
  } else {
    AppendToTerminal(*this, kNoBackup);
  }

  AppendToTerminal(*this, platform::EndOfLine());
  AppendToTerminal(*this, kReturning);
  AppendToTerminal(*this, platform::EndOfLine());
  AppendToTerminal(*this, RestoreSteps::kPleaseWait);
  RestoreSteps::ReturnToLogin(*this, "BevelYES", kReturnTicks);
}

void Restore::BevelNO_Action() {
  using RestoreSteps::AppendToTerminal;
  RestoreSteps::Disable(*this, "BevelNO");
  RestoreSteps::Disable(*this, "BevelYES");
  AppendToTerminal(*this, platform::EndOfLine());
  AppendToTerminal(*this, platform::EndOfLine());
  AppendToTerminal(*this, kAborted);
  AppendToTerminal(*this, platform::EndOfLine());
  AppendToTerminal(*this, RestoreSteps::kPleaseWait);
  RestoreSteps::ReturnToLogin(*this, "BevelNO", kAbortTicks);
}

std::shared_ptr<platform::MenuItem> Restore::FileMenu() const {
  return MenuBarItem<platform::MenuItem>("FileMenu");
}

std::shared_ptr<platform::QuitMenuItem> Restore::FileQuit() const {
  return MenuBarItem<platform::QuitMenuItem>("FileQuit");
}

std::shared_ptr<platform::PrefsMenuItem> Restore::Pref() const {
  return MenuBarItem<platform::PrefsMenuItem>("Pref");
}

std::shared_ptr<platform::AppleMenuItem> Restore::UntitledSeparator() const {
  return MenuBarItem<platform::AppleMenuItem>("UntitledSeparator");
}

std::shared_ptr<platform::AppleMenuItem> Restore::About() const {
  return MenuBarItem<platform::AppleMenuItem>("About");
}

}  // namespace tervix
