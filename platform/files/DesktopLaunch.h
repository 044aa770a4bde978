#pragma once

#include <chrono>
#include <memory>
#include <string>

namespace platform {

// Whether a launch started what it was given, and if not, why.
struct LaunchResult {
  // 0 once started, else an errno value: ENOENT for a missing desktop opener,
  // ECHILD for a start whose process ended before its program ran and for an
  // opener that said it failed.
  int error = 0;
  // Why it did not start, in words for the player; empty once started.
  std::string reason;
};

// Starts files for FolderItem::Launch.
class LaunchService {
 public:
  virtual ~LaunchService() = default;
  // Starts the file at a non-empty shell path; whether it started is known on return.
  [[nodiscard]] virtual LaunchResult Launch(const std::string& shellPath) = 0;
};

// The desktop's own launch service, which gives the desktop's opener the
// given time to fail before it counts as started.
std::shared_ptr<LaunchService> NewDesktopLaunchService(std::chrono::milliseconds openerVerdictWait);

// The installed launch service: the desktop's own unless a test installed another.
LaunchService& CurrentLaunchService();
// nullptr puts the desktop's own back.
void InstallLaunchService(std::shared_ptr<LaunchService> service);

}  // namespace platform
