#include "platform/files/FileSystem.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <utility>

namespace platform {
namespace {

// Calls a system call again when a signal interrupted it before it did anything.
template <class Call>
auto RetryOnInterrupt(Call call) {
  auto result = call();
  while (result == -1 && errno == EINTR)
    result = call();
  return result;
}

class RealFileSystemImpl : public FileSystem {
 public:
  int Open(const std::string& path, int flags, mode_t mode) override {
    return RetryOnInterrupt([&] { return ::open(path.c_str(), flags | O_CLOEXEC, mode); });
  }
  // Linux releases the descriptor even when close reports EINTR, so it is never retried.
  int Close(int descriptor) override { return ::close(descriptor); }
  ssize_t Read(int descriptor, void* buffer, size_t count) override {
    return RetryOnInterrupt([&] { return ::read(descriptor, buffer, count); });
  }
  ssize_t Write(int descriptor, const void* buffer, size_t count) override {
    return RetryOnInterrupt([&] { return ::write(descriptor, buffer, count); });
  }
  ssize_t CopyFileRange(int from, int to, size_t count) override {
    return RetryOnInterrupt(
        [&] { return ::copy_file_range(from, nullptr, to, nullptr, count, 0); });
  }
  int Fsync(int descriptor) override { return ::fsync(descriptor); }
  int Stat(const std::string& path, struct stat* status) override {
    return ::stat(path.c_str(), status);
  }
  int Lstat(const std::string& path, struct stat* status) override {
    return ::lstat(path.c_str(), status);
  }
  int Fstat(int descriptor, struct stat* status) override { return ::fstat(descriptor, status); }
  int Rename(const std::string& from, const std::string& to) override {
    return ::rename(from.c_str(), to.c_str());
  }
  int Unlink(const std::string& path) override { return ::unlink(path.c_str()); }
  int Rmdir(const std::string& path) override { return ::rmdir(path.c_str()); }
  int Mkdir(const std::string& path, mode_t mode) override { return ::mkdir(path.c_str(), mode); }
};

std::shared_ptr<FileSystem>& Installed() {
  static std::shared_ptr<FileSystem> installed = RealFileSystem();
  return installed;
}

}  // namespace

int FileSystem::Fchmod(int descriptor, mode_t mode) {
  return ::fchmod(descriptor, mode);
}

int FileSystem::Link(const std::string& from, const std::string& to) {
  return ::link(from.c_str(), to.c_str());
}

int FileSystem::OpenTemporary(const std::string& folder, mode_t mode) {
  return RetryOnInterrupt(
      [&] { return ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode); });
}

// Naming a file by its descriptor through /proc needs no privilege; without
// /proc, only a process that may look up any file can do it.
int FileSystem::LinkAt(int descriptor, const std::string& to) {
  const std::string self = "/proc/self/fd/" + std::to_string(descriptor);
  if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, to.c_str(), AT_SYMLINK_FOLLOW) == 0)
    return 0;
  if (errno != ENOENT)
    return -1;
  return ::linkat(descriptor, "", AT_FDCWD, to.c_str(), AT_EMPTY_PATH);
}

int FileSystem::ClearNonBlocking(int descriptor) {
  const int flags = ::fcntl(descriptor, F_GETFL);
  return flags < 0 ? -1 : ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK);
}

int FileSystem::Flock(int descriptor, int operation) {
  return RetryOnInterrupt([&] { return ::flock(descriptor, operation); });
}

int FileSystem::AccessToExecute(const std::string& path) {
  return ::faccessat(AT_FDCWD, path.c_str(), X_OK, AT_EACCESS);
}

FileSystem& CurrentFileSystem() {
  return *Installed();
}

void InstallFileSystem(std::shared_ptr<FileSystem> fileSystem) {
  Installed() = fileSystem ? std::move(fileSystem) : RealFileSystem();
}

std::shared_ptr<FileSystem> RealFileSystem() {
  static const std::shared_ptr<FileSystem> real = std::make_shared<RealFileSystemImpl>();
  return real;
}

int WriteAll(int descriptor, const char* bytes, size_t count) {
  FileSystem& fileSystem = CurrentFileSystem();
  while (count > 0) {
    const ssize_t written = fileSystem.Write(descriptor, bytes, count);
    if (written < 0)
      return errno;
    if (written == 0)
      return EIO;
    bytes += written;
    count -= static_cast<size_t>(written);
  }
  return 0;
}

int OpenRegularFile(const std::string& path, int flags, struct stat& status) {
  FileSystem& fileSystem = CurrentFileSystem();
  const int descriptor = fileSystem.Open(path, flags | O_NONBLOCK, 0);
  if (descriptor < 0)
    return -1;
  const int error = fileSystem.Fstat(descriptor, &status) != 0 ? errno
                    : S_ISDIR(status.st_mode)                  ? EISDIR
                    : !S_ISREG(status.st_mode)                 ? EINVAL
                                                               : 0;
  if (error != 0) {
    fileSystem.Close(descriptor);
    errno = error;
    return -1;
  }
  // A regular file never makes a read or a write wait, so a failure here
  // changes nothing; the flag is cleared so that the descriptor is an ordinary one.
  fileSystem.ClearNonBlocking(descriptor);
  return descriptor;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos)
    return ".";
  if (slash == 0)
    return "/";
  return path.substr(0, slash);
}

void SyncFolder(const std::string& folder) {
  FileSystem& fileSystem = CurrentFileSystem();
  const int descriptor = fileSystem.Open(folder, O_RDONLY | O_DIRECTORY, 0);
  if (descriptor < 0)
    return;
  fileSystem.Fsync(descriptor);
  fileSystem.Close(descriptor);
}

}  // namespace platform
