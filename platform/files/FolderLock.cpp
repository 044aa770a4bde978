#include "platform/files/FolderLock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>

#include "platform/files/FileSystem.h"
#include "platform/files/FolderItem.h"

namespace platform {

FolderLock::FolderLock(const FolderItem& folder) {
  FileSystem& fileSystem = CurrentFileSystem();
  descriptor_ = fileSystem.Open(folder.ShellPath(), O_RDONLY | O_DIRECTORY, 0);
  if (descriptor_ < 0) {
    lastErrorCode_ = errno;
    return;
  }
  if (fileSystem.Flock(descriptor_, LOCK_EX) != 0) {
    lastErrorCode_ = errno;
    fileSystem.Close(descriptor_);
    descriptor_ = -1;
  }
}

// Closing the only descriptor of the open folder drops the lock.
FolderLock::~FolderLock() {
  if (descriptor_ < 0)
    return;
  // Only a test's file system throws here; a destructor must not pass it on.
  try {
    CurrentFileSystem().Close(descriptor_);
  } catch (...) {
  }
}

}  // namespace platform
