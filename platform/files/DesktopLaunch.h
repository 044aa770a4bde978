#pragma once

#include <memory>
#include <string>

namespace platform {

// Starts files for FolderItem::Launch.
class LaunchService {
 public:
  virtual ~LaunchService() = default;
  // Starts the file at a non-empty shell path; 0 once it has started, else the
  // errno value that says why it could not be.
  [[nodiscard]] virtual int Launch(const std::string& shellPath) = 0;
};

// The installed launch service: the desktop's own unless a test installed another.
LaunchService& CurrentLaunchService();
// nullptr puts the desktop's own back.
void InstallLaunchService(std::shared_ptr<LaunchService> service);

}  // namespace platform
