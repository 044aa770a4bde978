#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "login/Window1.h"
#include "platform/Controls.h"
#include "platform/Exceptions.h"
#include "platform/Seams.h"
#include "platform/Window.h"
#include "restore/Restore.h"
#include "tests/faults/TerminalWatch.h"
#include "tests/support/TestRuntime.h"
#include "tests/support/UserActions.h"

namespace tervix::test {

using Files = std::map<std::string, std::string>;
using Texts = std::vector<std::string>;

// A started launcher fed with input it was never meant to get, and what the
// player and the disk see afterwards.
class BadInputTest : public RuntimeTest {
 protected:
  static constexpr const char* kExecutable = "/opt/tervix/Tervix";
  static constexpr const char* kPrompt = "Please enter your gateway login...";
  static constexpr const char* kStartingGateway = "Starting gateway...";
  static constexpr const char* kGatewayMissing = "This gateway doesn't exists, please try again...";
  static constexpr const char* kRestoreDone = "Restore done !!!";
  static constexpr const char* kRestoreFailed = "Restore failed, your gateway was left as it was.";

  void SetUp() override {
    RuntimeTest::SetUp();
    watch_ = std::make_shared<TerminalWatch>();
    platform::InstallTickClock(watch_);
  }

  std::string Profile(const std::string& name) const { return ProfileFolder() + name; }
  void StoreFromEarlierRun(const std::string& key, const std::string& value) const {
    std::filesystem::create_directories(PrefsFolderPath());
    WriteFile(PrefsFolderPath() + "/" + key, value);
  }
  // Every entry of a folder with its content; a folder shows as "<folder>".
  static Files Contents(const std::string& folder) {
    Files contents;
    for (const std::string& name : ListFolder(folder)) {
      const std::string path = folder + "/" + name;
      contents[name] = std::filesystem::is_directory(path)
                           ? "<folder>"
                           : ReadFile(path).value_or("<unreadable>");
    }
    return contents;
  }

  static platform::Window& Login() {
    return platform::NotNil(platform::GetImplicitWindow(Window1::kRuntimeClassName));
  }
  static std::string LoginField() {
    return Login().ControlAs<platform::EditField>("EditField1")->Text();
  }
  static std::string StatusLine() {
    return Login().ControlAs<platform::StaticText>("StaticText2")->Text();
  }
  Texts Messages() {
    Texts texts;
    for (const ShownMessage& message : dialogs().messages())
      texts.push_back(message.text);
    return texts;
  }

  // Starts the launcher with the game known from an earlier run and presses
  // "Logon" with the login typed into the field.
  void LogonTyping(const std::string& login) {
    StoreFromEarlierRun("PrefExecutable", kExecutable);
    StartLauncher();
    Type(Login(), "EditField1", login);
    Click(Login(), "BevelButton1");
  }
  // The same with the login pasted, for text that no keyboard gives.
  void LogonPasting(const std::string& login) {
    StoreFromEarlierRun("PrefExecutable", kExecutable);
    StartLauncher();
    Login().ControlAs<platform::EditField>("EditField1")->SetText(login);
    Click(Login(), "BevelButton1");
  }

  // Stores the login as an earlier run would, opens the restore window from
  // the login window and presses "Yes".
  void RestoreStored(const std::string& login) {
    StoreFromEarlierRun("PrefLogin", login);
    StartLauncher();
    Click(Login(), "BevelButton2");
    Click(platform::NotNil(platform::GetImplicitWindow(Restore::kRuntimeClassName)), "BevelYES");
  }
  static bool RestoreOpen() {
    return platform::GetImplicitWindow(Restore::kRuntimeClassName) != nullptr;
  }
  // The terminal as the player last saw it.
  std::string Terminal() const {
    if (watch_->terminal())
      return *watch_->terminal();
    auto window = platform::GetImplicitWindow(Restore::kRuntimeClassName);
    return window ? window->ControlAs<platform::EditField>("Terminal")->Text() : "<not seen>";
  }
  bool TerminalSays(const std::string& text) const {
    return Terminal().find(text) != std::string::npos;
  }
  int TicksWaited() const { return watch_->backgroundTaskCalls(); }

 private:
  std::shared_ptr<TerminalWatch> watch_;
};

}  // namespace tervix::test
