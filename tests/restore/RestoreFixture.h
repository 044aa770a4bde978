#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "restore/Restore.h"
#include "tests/support/TestRuntime.h"

namespace tervix::test {

// What the player sees in the restore window while it waits to return to the login.
struct SeenDuringWait {
  bool restoreOpen = false;
  std::string terminal;
  bool yesEnabled = false;
  bool noEnabled = false;
};

// The fake tick clock, which also notes the restore window at the wait's first yield.
class WatchingClock : public FakeTickClock {
 public:
  void BackgroundTask() override;
  const std::optional<SeenDuringWait>& seen() const { return seen_; }

 private:
  std::optional<SeenDuringWait> seen_;
};

class RestoreTest : public RuntimeTest {
 protected:
  void SetUp() override;

  // Stores the login, starts the launcher and presses the login window's "Restore".
  std::shared_ptr<Restore> OpenRestoreWindow(const std::string& storedLogin);
  void PressYes(Restore& window);
  void PressNo(Restore& window);

  static std::string TerminalText(const platform::Window& window);
  static bool IsEnabled(const platform::Window& window, const std::string& controlName);
  // The open restore window, or nil.
  static std::shared_ptr<Restore> OpenRestore();
  // The login field of the open login window, or nothing when none is open.
  static std::optional<std::string> LoginFieldOfOpenLoginWindow();

  std::string ProfileFile(const std::string& fileName) const { return ProfileFolder() + fileName; }
  // Every file of a folder with its content.
  static std::map<std::string, std::string> FolderContents(const std::string& folder);

  WatchingClock& waitClock() { return *waitClock_; }

 private:
  std::shared_ptr<WatchingClock> waitClock_;
};

// The restore window's text right after it opened, for the stored login.
std::string Dialogue(const std::string& login);

}  // namespace tervix::test
