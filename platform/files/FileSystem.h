#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <memory>
#include <string>

namespace platform {

// Every file-system call of the framework goes through this interface, so
// that a test can make any single operation fail. Each call returns what the
// system call returns and leaves errno set on failure.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual int Open(const std::string& path, int flags, mode_t mode) = 0;
  virtual int Close(int descriptor) = 0;
  virtual ssize_t Read(int descriptor, void* buffer, size_t count) = 0;
  virtual ssize_t Write(int descriptor, const void* buffer, size_t count) = 0;
  virtual ssize_t CopyFileRange(int from, int to, size_t count) = 0;
  virtual int Fsync(int descriptor) = 0;
  virtual int Stat(const std::string& path, struct stat* status) = 0;
  virtual int Lstat(const std::string& path, struct stat* status) = 0;
  virtual int Fstat(int descriptor, struct stat* status) = 0;
  virtual int Rename(const std::string& from, const std::string& to) = 0;
  virtual int Unlink(const std::string& path) = 0;
  virtual int Rmdir(const std::string& path) = 0;
  virtual int Mkdir(const std::string& path, mode_t mode) = 0;
  // Sets an open file's permission bits; a wrapper that does not override it
  // passes the call to the system.
  virtual int Fchmod(int descriptor, mode_t mode);
  // Gives an existing file a second name; a wrapper that does not override it
  // passes the call to the system.
  virtual int Link(const std::string& from, const std::string& to);
};

// The file system in use; the real one unless a test installed another.
FileSystem& CurrentFileSystem();
// Installs a file system for the process; nullptr puts the real one back.
void InstallFileSystem(std::shared_ptr<FileSystem> fileSystem);
// The real file system, for wrappers that fail some calls and pass the rest on.
std::shared_ptr<FileSystem> RealFileSystem();

// Writes all count bytes through the current file system, going on after
// short writes. Returns 0, or the errno of the write that failed (EIO for a
// write that wrote nothing and set no error).
[[nodiscard]] int WriteAll(int descriptor, const char* bytes, size_t count);

// The folder a path names an item of: "." for a bare name, "/" for an item of the root.
std::string FolderOf(const std::string& path);

// Flushes the folder's entries to disk through the current file system, so
// that a name just put in it survives a power cut. Failures are not reported:
// callers flush after the change is in place, when an error could no longer
// mean that nothing changed.
void SyncFolder(const std::string& folder);

}  // namespace platform
