#include "platform/files/FolderItem.h"

#include <fcntl.h>

#include <cerrno>
#include <utility>

#include "platform/core/Exceptions.h"
#include "platform/files/AtomicCopy.h"
#include "platform/files/BinaryStream.h"
#include "platform/files/DesktopLaunch.h"
#include "platform/files/FileSystem.h"

namespace platform {

FolderItem::FolderItem(std::string path, int pathMode) : path_(std::move(path)) {
  if (pathMode != kShellPathMode) {
    throw RuntimeException("Unsupported path mode " + std::to_string(pathMode) + ".");
  }
}

bool FolderItem::Exists() const {
  struct stat status {};
  return CurrentFileSystem().Stat(path_, &status) == 0;
}

bool FolderItem::Directory() const {
  struct stat status {};
  return CurrentFileSystem().Stat(path_, &status) == 0 && S_ISDIR(status.st_mode);
}

std::string FolderItem::Name() const {
  std::string path = path_;
  while (path.size() > 1 && path.back() == '/')
    path.pop_back();
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos || path == "/")
    return path;
  return path.substr(slash + 1);
}

std::shared_ptr<FolderItem> FolderItem::Child(const std::string& name) const {
  if (name.find('/') != std::string::npos || name.find('\0') != std::string::npos)
    return nullptr;
  if (name.empty())
    return std::make_shared<FolderItem>(path_, kShellPathMode);
  const bool needsSlash = !path_.empty() && path_.back() != '/';
  return std::make_shared<FolderItem>(path_ + (needsSlash ? "/" : "") + name, kShellPathMode);
}

void FolderItem::CreateAsFolder() {
  lastErrorCode_ = CurrentFileSystem().Mkdir(path_, 0755) == 0 ? 0 : errno;
}

void FolderItem::Delete() {
  FileSystem& fileSystem = CurrentFileSystem();
  struct stat status {};
  if (fileSystem.Lstat(path_, &status) != 0) {
    lastErrorCode_ = errno;
    return;
  }
  const int result = S_ISDIR(status.st_mode) ? fileSystem.Rmdir(path_) : fileSystem.Unlink(path_);
  lastErrorCode_ = result == 0 ? 0 : errno;
}

void FolderItem::CopyFileTo(FolderItem& destination) {
  lastErrorCode_ = ReplaceWithCopy(path_, destination.path_);
}

void FolderItem::LinkFileTo(FolderItem& destination) {
  FileSystem& fileSystem = CurrentFileSystem();
  struct stat status {};
  if (fileSystem.Stat(path_, &status) != 0) {
    lastErrorCode_ = errno;
    return;
  }
  if (!S_ISREG(status.st_mode)) {
    lastErrorCode_ = S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
    return;
  }
  lastErrorCode_ = fileSystem.Link(path_, destination.path_) == 0 ? 0 : errno;
}

void FolderItem::MoveFileTo(FolderItem& destination) {
  if (CurrentFileSystem().Rename(path_, destination.path_) != 0) {
    lastErrorCode_ = errno;
    return;
  }
  lastErrorCode_ = 0;
  SyncFolder(FolderOf(destination.path_));
}

void FolderItem::Launch(bool /*activate*/) {
  lastErrorCode_ = 0;
  lastLaunchFailure_.clear();
  if (path_.empty())
    return;
  LaunchResult result = CurrentLaunchService().Launch(path_);
  lastErrorCode_ = result.error;
  lastLaunchFailure_ = std::move(result.reason);
}

std::shared_ptr<BinaryStream> FolderItem::CreateBinaryFile(const std::string& /*fileType*/) {
  const int descriptor = CurrentFileSystem().Open(path_, O_WRONLY | O_CREAT | O_EXCL, 0644);
  lastErrorCode_ = descriptor < 0 ? errno : 0;
  if (descriptor < 0)
    return nullptr;
  return std::make_shared<BinaryStream>(descriptor, true);
}

std::shared_ptr<BinaryStream> FolderItem::OpenAsBinaryFile(bool writable) {
  struct stat status {};
  const int descriptor = OpenRegularFile(path_, writable ? O_RDWR : O_RDONLY, status);
  lastErrorCode_ = descriptor < 0 ? errno : 0;
  if (descriptor < 0)
    return nullptr;
  return std::make_shared<BinaryStream>(descriptor, writable);
}

}  // namespace platform
