#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/FaultPlan.h"

namespace tervix::test {

// The fault plan, noting what the player sees while a flow uses the files of
// one folder: at the first call on a file there made while the look shows a
// new text, "<file name>: <look>". Calls on the folder itself (its lock) and
// elsewhere are not noted. Installed as the process's file system until
// FaultPlan::Uninstall().
class CallWatch : public FaultPlan {
 public:
  CallWatch(std::string folder, std::function<std::string()> look)
      : folder_(std::move(folder)), look_(std::move(look)) {}

  static std::shared_ptr<CallWatch> Install(std::string folder, std::function<std::string()> look) {
    auto watch = std::make_shared<CallWatch>(std::move(folder), std::move(look));
    platform::InstallFileSystem(watch);
    return watch;
  }
  const std::vector<std::string>& Seen() const { return seen_; }

  int Open(Path p, int flags, mode_t m) override { return See(p), FaultPlan::Open(p, flags, m); }
  int Stat(Path p, struct stat* s) override { return See(p), FaultPlan::Stat(p, s); }
  int Lstat(Path p, struct stat* s) override { return See(p), FaultPlan::Lstat(p, s); }
  int Rename(Path from, Path to) override { return See(to), FaultPlan::Rename(from, to); }
  int Unlink(Path p) override { return See(p), FaultPlan::Unlink(p); }

 private:
  void See(Path path) {
    if (!path.starts_with(folder_) || path.find('/', folder_.size()) != std::string::npos)
      return;
    const std::string name = path.substr(folder_.size());
    const std::string look = look_();
    if (name.empty() || look == lastLook_)
      return;
    lastLook_ = look;
    seen_.push_back(name + ": " + look);
  }

  std::string folder_;
  std::function<std::string()> look_;
  std::string lastLook_;
  std::vector<std::string> seen_;
};

}  // namespace tervix::test
