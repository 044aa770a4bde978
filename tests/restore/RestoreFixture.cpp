#include "tests/restore/RestoreFixture.h"

#include "app/Instances.h"
#include "login/Window1.h"
#include "platform/Controls.h"
#include "platform/Seams.h"
#include "platform/Window.h"
#include "prefs/Prefs.h"
#include "tests/support/UserActions.h"

namespace tervix::test {

void WatchingClock::BackgroundTask() {
  if (!seen_) {
    SeenDuringWait seen;
    if (auto window = platform::GetImplicitWindow(Restore::kRuntimeClassName)) {
      seen.restoreOpen = true;
      seen.terminal = window->ControlAs<platform::EditField>("Terminal")->Text();
      seen.yesEnabled = window->ControlByName("BevelYES")->Enabled();
      seen.noEnabled = window->ControlByName("BevelNO")->Enabled();
    }
    seen_ = seen;
  }
  FakeTickClock::BackgroundTask();
}

void RestoreTest::SetUp() {
  RuntimeTest::SetUp();
  waitClock_ = std::make_shared<WatchingClock>();
  platform::InstallTickClock(waitClock_);
}

std::shared_ptr<Restore> RestoreTest::OpenRestoreWindow(const std::string& storedLogin) {
  Prefs::PrefLogin(storedLogin);
  StartLauncher();
  Click(platform::NotNil(instance::Window1()), "BevelButton2");
  return OpenRestore();
}

void RestoreTest::PressYes(Restore& window) {
  Click(window, "BevelYES");
}
void RestoreTest::PressNo(Restore& window) {
  Click(window, "BevelNO");
}

std::string RestoreTest::TerminalText(const platform::Window& window) {
  return window.ControlAs<platform::EditField>("Terminal")->Text();
}

bool RestoreTest::IsEnabled(const platform::Window& window, const std::string& controlName) {
  return platform::NotNil(window.ControlByName(controlName)).Enabled();
}

std::shared_ptr<Restore> RestoreTest::OpenRestore() {
  return std::dynamic_pointer_cast<Restore>(
      platform::GetImplicitWindow(Restore::kRuntimeClassName));
}

std::optional<std::string> RestoreTest::LoginFieldOfOpenLoginWindow() {
  auto window = platform::GetImplicitWindow(Window1::kRuntimeClassName);
  if (!window) {
    return std::nullopt;
  }
  return window->ControlAs<platform::EditField>("EditField1")->Text();
}

std::map<std::string, std::string> RestoreTest::FolderContents(const std::string& folder) {
  std::map<std::string, std::string> contents;
  for (const std::string& name : ListFolder(folder)) {
    contents[name] = ReadFile(folder + "/" + name).value_or("<unreadable>");
  }
  return contents;
}

std::string Dialogue(const std::string& login) {
  return "Tervix Restore System v1.0\n"
         "--------------------------------------------------------\n"
         "\n"
         "Your current gateway is: " +
         login +
         ".usr\n"
         "\n"
         "Do you want to restore gateway: " +
         login + "-backup.usr ?";
}

}  // namespace tervix::test
