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
  // Opens a new regular file in folder for writing that has no name yet
  // (O_TMPFILE): it vanishes when closed unless LinkAt names it first. A
  // wrapper that does not override it passes the call to the system.
  virtual int OpenTemporary(const std::string& folder, mode_t mode);
  // Gives an open file the name to, which must be free; a wrapper that does
  // not override it passes the call to the system.
  virtual int LinkAt(int descriptor, const std::string& to);
  // Makes an open file's reads and writes wait again; a wrapper that does not
  // override it passes the call to the system.
  virtual int ClearNonBlocking(int descriptor);
  // Takes (LOCK_EX, waiting while another open file holds it) or drops
  // (LOCK_UN) the lock on an open file; a wrapper that does not override it
  // passes the call to the system.
  virtual int Flock(int descriptor, int operation);
  // Asks whether this process may execute the file, as exec would decide
  // (with its effective ids); a wrapper that does not override it passes the
  // call to the system.
  virtual int AccessToExecute(const std::string& path);
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

// Opens the regular file at path (for reading, and writing when flags say
// so) without ever waiting, and fills status. Returns the descriptor, or -1
// with errno set: EISDIR for a folder, EINVAL for anything else that is not a
// regular file (a named pipe, a device), whose reads could wait for ever.
[[nodiscard]] int OpenRegularFile(const std::string& path, int flags, struct stat& status);

// The folder a path names an item of: "." for a bare name, "/" for an item of the root.
std::string FolderOf(const std::string& path);

// Flushes the folder's entries to disk through the current file system, so
// that a name just put in it survives a power cut. Failures are not reported:
// callers flush after the change is in place, when an error could no longer
// mean that nothing changed.
void SyncFolder(const std::string& folder);

}  // namespace platform
