#pragma once

#include <fcntl.h>

#include <cerrno>
#include <string>

#include "tests/support/FaultPlan.h"

namespace tervix::test {

// A file system on which a folder and everything in it are read-only, as for
// a player without write permission there: whatever would create, change,
// rename or remove something inside it fails with EACCES.
class ReadOnlyFolder : public FaultPlan {
 public:
  explicit ReadOnlyFolder(std::string folder) : folder_(std::move(folder)) {
    while (folder_.size() > 1 && folder_.back() == '/')
      folder_.pop_back();
  }

  int Open(const std::string& path, int flags, mode_t mode) override {
    const bool changes = (flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC)) != 0;
    return changes && Inside(path) ? Refuse() : FaultPlan::Open(path, flags, mode);
  }
  int Rename(const std::string& from, const std::string& to) override {
    return Inside(from) || Inside(to) ? Refuse() : FaultPlan::Rename(from, to);
  }
  int Unlink(const std::string& path) override {
    return Inside(path) ? Refuse() : FaultPlan::Unlink(path);
  }
  int Rmdir(const std::string& path) override {
    return Inside(path) ? Refuse() : FaultPlan::Rmdir(path);
  }
  int Mkdir(const std::string& path, mode_t mode) override {
    return Inside(path) ? Refuse() : FaultPlan::Mkdir(path, mode);
  }

 private:
  bool Inside(const std::string& path) const { return path.rfind(folder_ + "/", 0) == 0; }
  static int Refuse() {
    errno = EACCES;
    return -1;
  }
  std::string folder_;
};

}  // namespace tervix::test
