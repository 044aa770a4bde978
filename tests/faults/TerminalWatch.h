#pragma once

#include <optional>
#include <string>

#include "platform/Controls.h"
#include "platform/Window.h"
#include "restore/Restore.h"
#include "tests/support/TestRuntime.h"

namespace tervix::test {

// The fake clock, which notes the restore window's terminal as the player
// sees it when the wait before the return to the login window begins.
class TerminalWatch : public FakeTickClock {
 public:
  void BackgroundTask() override {
    if (!terminal_) {
      if (auto window = platform::GetImplicitWindow(Restore::kRuntimeClassName))
        terminal_ = window->ControlAs<platform::EditField>("Terminal")->Text();
    }
    FakeTickClock::BackgroundTask();
  }
  // The terminal at the first yield of the wait; nothing when there was no wait.
  const std::optional<std::string>& terminal() const { return terminal_; }

 private:
  std::optional<std::string> terminal_;
};

}  // namespace tervix::test
