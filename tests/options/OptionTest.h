#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "options/Option.h"
#include "platform/Controls.h"
#include "platform/Window.h"
#include "tests/support/TestRuntime.h"
#include "tests/support/UserActions.h"

namespace tervix::test {

// A started launcher with helpers to reach the preferences window and the
// preference files as the user and the disk see them.
class OptionTest : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    StartLauncher();
  }

  // Leaves preference files on disk as an earlier run would have.
  void StoreOnDisk(const std::string& key, const std::string& value) {
    std::filesystem::create_directories(PrefsFolderPath());
    WriteFile(StoredPath(key), value);
  }
  std::string StoredPath(const std::string& key) const { return PrefsFolderPath() + "/" + key; }
  std::optional<std::string> Stored(const std::string& key) const {
    return ReadFile(StoredPath(key));
  }

  // Chooses "Preferences..." and returns the window it shows.
  std::shared_ptr<Option> ChoosePreferences() {
    ChooseMenu("Pref");
    return OpenPreferences();
  }
  // The open preferences window, or nil.
  static std::shared_ptr<Option> OpenPreferences() {
    return std::dynamic_pointer_cast<Option>(
        platform::GetImplicitWindow(Option::kRuntimeClassName));
  }
  static std::string FieldText(const platform::Window& window, const std::string& name) {
    return window.ControlAs<platform::EditField>(name)->Text();
  }
};

}  // namespace tervix::test
