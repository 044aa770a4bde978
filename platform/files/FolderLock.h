#pragma once

#include <cstdint>

namespace platform {

class FolderItem;

// An exclusive lock on a folder, held for as long as the object lives, so
// that processes which lock the same folder take turns. The lock is taken on
// the folder's own descriptor: no lock file appears, and the kernel drops the
// lock when the process ends, however it ends. Making one waits, silently,
// while another process holds the lock.
class FolderLock {
 public:
  [[nodiscard]] explicit FolderLock(const FolderItem& folder);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  // 0 while the lock is held, else the errno of the step that failed: the
  // folder could not be opened, or the system refused the lock. Callers then
  // leave their files alone, since they cannot know whether another process
  // is changing them.
  int32_t LastErrorCode() const { return lastErrorCode_; }

 private:
  int descriptor_ = -1;
  int32_t lastErrorCode_ = 0;
};

}  // namespace platform
