#include "login/Window1.h"

#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "about/AquaAboutBox.h"
#include "app/BusyWait.h"
#include "app/ExecutableDialog.h"
#include "app/Instances.h"
#include "app/MenuBar1.h"
#include "app/Pictures.h"
#include "login/ProfilePaths.h"
#include "platform/core/Exceptions.h"
#include "platform/files/FolderItem.h"
#include "platform/files/FolderLock.h"
#include "platform/files/Places.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "prefs/Prefs.h"
#include "restore/Restore.h"

namespace tervix {

namespace {

constexpr const char* kPrompt = "Please enter your gateway login...";
constexpr const char* kCheckingGateway = "Checking if gateway exists...";
constexpr const char* kCheckingOldBackup = "Checking if old backup exists...";
constexpr const char* kDeletingOldBackup = "Deleting old backup...";
constexpr const char* kBackupingProfile = "Backuping profile...";
constexpr const char* kStartingGateway = "Starting gateway...";
constexpr const char* kGatewayMissing = "This gateway doesn't exists, please try again...";
constexpr const char* kGameNotStarted = "The game could not be started (<reason>): <path>";
constexpr const char* kBackupFailedOldKept = "Backup failed (<reason>). Your old backup was kept.";
constexpr const char* kBackupFailedNoBackup = "Backup failed (<reason>). You have no backup yet.";

// A caution box whose text names the reason for a failure, and the path where it has one.
void ShowFailure(std::string text, const std::string& reason, const std::string& path = {}) {
  constexpr std::string_view kReason = "<reason>", kPath = "<path>";
  text.replace(text.find(kReason), kReason.size(), reason);
  if (const size_t at = text.find(kPath); at != std::string::npos) {
    text.replace(at, kPath.size(), path);
  }
  platform::MsgBox(text, platform::kMsgBoxCaution, "");
}

void ShowFailure(const std::string& text, int32_t error) {
  ShowFailure(text, std::strerror(error));
}

constexpr int32_t kPostLaunchDelayTicks = 240;

}  // namespace

// clang-format off
const platform::WindowDesign& Window1::Design() {
  static const platform::WindowDesign design{"Tervix Launcher", 389, 148, /*placement*/ 2,
                                             /*frame*/ 0, /*liveResize*/ false,
                                             /*minimizeButton*/ true, {}};
  return design;
}

const std::vector<platform::ControlDesign>& Window1::Controls() {
  using platform::ControlClass;
  static const std::vector<platform::ControlDesign> controls{
      {"Canvas1", ControlClass::Canvas, 0, 0, 395, 57, "", 0,
       {{"LockLeft", true}, {"LockTop", true}, {"UseFocusRing", false}}},
      {"EditField1", ControlClass::EditField, 60, 70, 199, 22, "", 1, {}},
      {"StaticText1", ControlClass::StaticText, 13, 72, 35, 20, "Login", 2, {}},
      {"StaticText2", ControlClass::StaticText, 0, 104, 276, 20, kPrompt, 4,
       {{"TextAlign", 1}, {"TextColor", platform::Color{0x2A, 0x43, 0x91}}}},
      {"BevelButton1", ControlClass::BevelButton, 277, 70, 92, 22, "Logon", 0, {}},
      {"BevelButton2", ControlClass::BevelButton, 277, 102, 92, 22, "Restore", 5, {}},
  };
  return controls;
}
// clang-format on

platform::ClassRecord Window1::ClassRecord() {
  return {kRuntimeClassName,
          "Window",
          {"Layout", "CreateControls", "_CreateControls0", "Canvas1_MouseDown", "EditField1_Open",
           "BevelButton1_Action", "BevelButton2_Action", "FileMenu", "FileQuit", "Pref",
           "UntitledSeparator", "About", "AddMenuHandlers"},
          {"Layout", "CreateControls", "AddMenuHandlers"},
          "Public"};
}

void Window1::Layout() {
  SetMenuBar(instance::MenuBar1());
  platform::SetProperties(*this, platform::EncodeWindowBlock(Design()));
}

void Window1::CreateControls() {
  CreateControls0();
}

void Window1::CreateControls0() {
  const auto& controls = Controls();
  CreateControl(controls[0], platform::KeyOrder::Forward, tervix_logo1());
  ControlAs<platform::Canvas>("Canvas1")->InstallInstanceEventHandler(
      "MouseDown", [this](int32_t x, int32_t y) { return Canvas1_MouseDown(x, y); });
  CreateControl(controls[1], platform::KeyOrder::Forward);
  ControlAs<platform::EditField>("EditField1")->InstallInstanceEventHandler("Open", [this] {
    EditField1_Open();
  });
  CreateControl(controls[2], platform::KeyOrder::Forward);
  CreateControl(controls[3], platform::KeyOrder::Forward);
  CreateControl(controls[4], platform::KeyOrder::Forward);
  ControlAs<platform::BevelButton>("BevelButton1")->InstallInstanceEventHandler("Action", [this] {
    BevelButton1_Action();
  });
  CreateControl(controls[5], platform::KeyOrder::Forward);
  ControlAs<platform::BevelButton>("BevelButton2")->InstallInstanceEventHandler("Action", [this] {
    BevelButton2_Action();
  });
}

// The login window handles no menu command of its own; the application's handlers serve it.
void Window1::AddMenuHandlers(platform::Window&) {}

bool Window1::Canvas1_MouseDown(int32_t, int32_t) {
  platform::NotNil(instance::AquaAboutBox()).Show();
  return false;
}

void Window1::EditField1_Open() {
  ControlAs<platform::EditField>("EditField1")->SetText(Prefs::PrefLogin());
}

namespace {

void ShowStatus(const Window1& window, const std::string& text) {
  window.ControlAs<platform::StaticText>("StaticText2")->SetText(text);
  window.ControlAs<platform::BevelButton>("BevelButton1")->Refresh(true);
}

void ReportMissingProfile(const Window1& window) {
  ShowStatus(window, kPrompt);
  platform::MsgBox(kGatewayMissing, platform::kMsgBoxCaution, "");
}

// The copy replaces the old backup only once the new one is whole, so a failed
// copy leaves the player the backup they had. The steps run while this
// launcher holds the profile folder, so another launcher's backup or restore
// never runs between them; where the folder cannot be held, the old backup is
// left as it is. Gives the error, 0 once the backup is replaced.
[[nodiscard]] int32_t ReplaceBackup(const Window1& window, const platform::FolderItem& folder,
                                    platform::FolderItem& current, platform::FolderItem& backup) {
  ShowStatus(window, kCheckingOldBackup);
  const platform::FolderLock lock(folder);
  if (lock.LastErrorCode() != 0) {
    return lock.LastErrorCode();
  }
  if (backup.Exists()) {
    ShowStatus(window, kDeletingOldBackup);
  }
  ShowStatus(window, kBackupingProfile);
  current.CopyFileTo(backup);
  return current.LastErrorCode();
}

// Asked after the failure, so that the player hears what is on disk now; a
// folder in the backup's place is no backup.
void ReportFailedBackup(const platform::FolderItem& backup, int32_t error) {
  ShowFailure(backup.Exists() && !backup.Directory() ? kBackupFailedOldKept : kBackupFailedNoBackup,
              error);
}

// The chosen file's path, stored for the next run; empty when the player cancels.
std::string AskForExecutable() {
  const std::shared_ptr<platform::FolderItem> chosen = ChooseExecutable();
  if (!chosen) {
    return {};
  }
  Prefs::PrefExecutable(chosen->ShellPath());
  return chosen->ShellPath();
}

// Launches what the store holds after asking; when the store cannot give it
// back (a read-only or unreadable config folder), the path already in hand is
// launched, so the player who chose the game still gets it. A cancelled dialog
// leaves no executable known, and then nothing is launched. A game that could
// not be started is told, so the player does not wait for it.
void LaunchExecutable() {
  std::string known = Prefs::PrefExecutable();
  if (known.empty()) {
    known = AskForExecutable();
  }
  std::string executable = Prefs::PrefExecutable();
  if (executable.empty()) {
    executable = known;
  }
  if (executable.empty()) {
    return;
  }
  platform::FolderItem game(executable, platform::kShellPathMode);
  game.Launch(true);
  if (game.LastErrorCode() != 0) {
    ShowFailure(kGameNotStarted, game.LastLaunchFailure(), executable);
  }
}

}  // namespace

void Window1::BevelButton1_Action() {
  const std::string home = platform::System::EnvironmentVariable("HOME");
  const std::string login = ControlAs<platform::EditField>("EditField1")->Text();
  platform::FolderItem current(ProfilePaths::CurrentProfile(home, login), platform::kShellPathMode);
  ShowStatus(*this, kCheckingGateway);
  // A login that could name a file outside the profile folder is never looked up.
  if (!ProfilePaths::NamesAProfile(login) || !current.Exists()) {
    ReportMissingProfile(*this);
    return;
  }
  ControlAs<platform::BevelButton>("BevelButton1")->SetEnabled(false);
  const platform::FolderItem folder(ProfilePaths::ProfileFolder(home), platform::kShellPathMode);
  platform::FolderItem backup(ProfilePaths::BackupProfile(home, login), platform::kShellPathMode);
  if (const int32_t error = ReplaceBackup(*this, folder, current, backup)) {
    ReportFailedBackup(backup, error);
  }
  ShowStatus(*this, kStartingGateway);
  LaunchExecutable();
  BusyWait(kPostLaunchDelayTicks);
  platform::Quit(0);
}

void Window1::BevelButton2_Action() {
  platform::NotNil(instance::Window1()).Close();
  platform::NotNil(instance::Restore()).Show();
}

std::shared_ptr<platform::MenuItem> Window1::FileMenu() const {
  return MenuBarItem<platform::MenuItem>("FileMenu");
}

std::shared_ptr<platform::QuitMenuItem> Window1::FileQuit() const {
  return MenuBarItem<platform::QuitMenuItem>("FileQuit");
}

std::shared_ptr<platform::PrefsMenuItem> Window1::Pref() const {
  return MenuBarItem<platform::PrefsMenuItem>("Pref");
}

std::shared_ptr<platform::AppleMenuItem> Window1::UntitledSeparator() const {
  return MenuBarItem<platform::AppleMenuItem>("UntitledSeparator");
}

std::shared_ptr<platform::AppleMenuItem> Window1::About() const {
  return MenuBarItem<platform::AppleMenuItem>("About");
}

}  // namespace tervix
