#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

class BinaryStream;

// The path mode that says a path string is a POSIX shell path.
inline constexpr int kShellPathMode = 1;

// A reference to a file or folder by path; the file need not exist.
// Operations that change the disk return nothing and leave their error in
// LastErrorCode (0 for success, else an errno value).
class FolderItem : public std::enable_shared_from_this<FolderItem> {
 public:
  // The reference for a path in the given mode; only kShellPathMode is supported.
  FolderItem(std::string path, int pathMode);

  bool Exists() const;
  bool Directory() const;
  std::string Name() const;
  std::string ShellPath() const { return path_; }
  int32_t LastErrorCode() const { return lastErrorCode_; }
  // Why the last Launch did not start its file, in words for the player; empty once it started.
  const std::string& LastLaunchFailure() const { return lastLaunchFailure_; }

  // A reference to the named item inside this folder, whether or not it
  // exists; nil when no reference can be made (a name with "/" or NUL in it).
  // The empty name gives this folder itself.
  std::shared_ptr<FolderItem> Child(const std::string& name) const;

  void CreateAsFolder();
  // Removes the file or the empty folder.
  void Delete();
  // Copies this file's whole content to destination. A copy onto an existing
  // file replaces it whole or not at all; the error goes to this item's LastErrorCode.
  void CopyFileTo(FolderItem& destination);
  // Gives this regular file a second name, destination, which must not exist
  // and must lie on the same volume; both names then reach the same content.
  // Like CopyFileTo, it refuses a folder (EISDIR) and any other item that is
  // not a regular file (EINVAL).
  void LinkFileTo(FolderItem& destination);
  // Renames this file to destination, which must lie on the same volume; an
  // existing destination is replaced in one step. Destination's folder is then
  // flushed so that the rename survives a power cut; a folder that cannot be
  // flushed is not an error, since the new name is in place by then.
  void MoveFileTo(FolderItem& destination);
  // Starts an executable detached in its own folder, or opens any other file
  // with the desktop's opener. An empty path launches nothing; a launch that
  // could not start leaves its errno in LastErrorCode and its reason in
  // LastLaunchFailure.
  void Launch(bool activate);

  // A new, empty file opened for writing; nil on failure (see LastErrorCode).
  // Fails when something already has this name.
  std::shared_ptr<BinaryStream> CreateBinaryFile(const std::string& fileType);
  // The existing regular file opened for reading (and writing when writable);
  // nil on failure. Anything else is refused at once, never waited on: a
  // folder with EISDIR, a named pipe or a device with EINVAL.
  std::shared_ptr<BinaryStream> OpenAsBinaryFile(bool writable);

 private:
  std::string path_;
  int32_t lastErrorCode_ = 0;
  std::string lastLaunchFailure_;
};

}  // namespace platform
