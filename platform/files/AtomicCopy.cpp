#include "platform/files/AtomicCopy.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <random>
#include <vector>

#include "platform/files/FileSystem.h"

namespace platform {
namespace {

constexpr size_t kKernelCopyChunk = size_t{1} << 30;
constexpr size_t kBufferSize = 128 * 1024;
constexpr int kTemporaryNameAttempts = 100;
// Keeps "." + name + "." + suffix within the 255 bytes a file name may have.
constexpr size_t kNamePrefixLimit = 200;

std::string NameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string RandomSuffix() {
  static std::mt19937_64 generator{std::random_device{}()};
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::uniform_int_distribution<size_t> pick(0, sizeof kLetters - 2);
  std::string suffix(8, 'x');
  for (char& letter : suffix)
    letter = kLetters[pick(generator)];
  return suffix;
}

bool KernelCopyUnsupported(int error) {
  return error == EXDEV || error == EOPNOTSUPP || error == ENOSYS || error == EINVAL;
}

int CopyByReadAndWrite(int from, int to) {
  FileSystem& fileSystem = CurrentFileSystem();
  std::vector<char> buffer(kBufferSize);
  for (;;) {
    const ssize_t got = fileSystem.Read(from, buffer.data(), buffer.size());
    if (got < 0)
      return errno;
    if (got == 0)
      return 0;
    if (const int error = WriteAll(to, buffer.data(), static_cast<size_t>(got)))
      return error;
  }
}

// Copies in the kernel while it can; both files' positions then say how far
// it got, so the read-and-write fallback goes on from there.
int CopyContent(int from, int to, off_t length) {
  FileSystem& fileSystem = CurrentFileSystem();
  off_t copied = 0;
  while (copied < length) {
    const size_t chunk = std::min(static_cast<size_t>(length - copied), kKernelCopyChunk);
    const ssize_t got = fileSystem.CopyFileRange(from, to, chunk);
    if (got > 0) {
      copied += got;
      continue;
    }
    if (got == 0)
      break;
    if (!KernelCopyUnsupported(errno))
      return errno;
    break;
  }
  return copied < length ? CopyByReadAndWrite(from, to) : 0;
}

struct Temporary {
  int descriptor = -1;
  std::string path;
  int error = 0;
};

Temporary CreateTemporary(const std::string& destination) {
  FileSystem& fileSystem = CurrentFileSystem();
  const std::string stem =
      FolderOf(destination) + "/." + NameOf(destination).substr(0, kNamePrefixLimit) + ".";
  Temporary temporary;
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    temporary.path = stem + RandomSuffix();
    temporary.descriptor = fileSystem.Open(temporary.path, O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (temporary.descriptor >= 0)
      return temporary;
    if (errno != EEXIST)
      break;
  }
  temporary.error = errno;
  return temporary;
}

// The permission bits the copy gets, or an errno.
int TargetMode(const struct stat& source, const std::string& destination, mode_t& mode) {
  mode = source.st_mode & 0777;
  struct stat existing {};
  if (CurrentFileSystem().Stat(destination, &existing) == 0) {
    if (S_ISDIR(existing.st_mode))
      return EISDIR;
    mode = existing.st_mode & 0777;
    return 0;
  }
  return errno == ENOENT ? 0 : errno;
}

// Writes the copy under its temporary name and puts it in place; on failure
// the temporary file is removed and destination is as it was.
int WriteAndReplace(int from, const struct stat& source, mode_t mode,
                    const std::string& destination) {
  FileSystem& fileSystem = CurrentFileSystem();
  Temporary temporary = CreateTemporary(destination);
  if (temporary.descriptor < 0)
    return temporary.error;

  int error = fileSystem.Fchmod(temporary.descriptor, mode) == 0 ? 0 : errno;
  if (!error)
    error = CopyContent(from, temporary.descriptor, source.st_size);
  if (!error && fileSystem.Fsync(temporary.descriptor) != 0)
    error = errno;
  if (error) {
    fileSystem.Close(temporary.descriptor);
  } else if (fileSystem.Close(temporary.descriptor) != 0) {
    error = errno;
  }
  if (!error && fileSystem.Rename(temporary.path, destination) != 0)
    error = errno;
  if (error) {
    fileSystem.Unlink(temporary.path);
    return error;
  }
  // The new content is in place now and the old is gone, so a folder that
  // cannot be flushed is not reported: callers take an error to mean that
  // destination was left as it was.
  SyncFolder(FolderOf(destination));
  return 0;
}

int CopyOpenSource(int from, const std::string& destination) {
  struct stat source {};
  if (CurrentFileSystem().Fstat(from, &source) != 0)
    return errno;
  if (S_ISDIR(source.st_mode))
    return EISDIR;
  if (!S_ISREG(source.st_mode))
    return EINVAL;
  mode_t mode = 0;
  if (const int error = TargetMode(source, destination, mode))
    return error;
  return WriteAndReplace(from, source, mode, destination);
}

}  // namespace

int ReplaceWithCopy(const std::string& source, const std::string& destination) {
  FileSystem& fileSystem = CurrentFileSystem();
  // Non-blocking, so that a named pipe in source's place is refused instead of waited on.
  const int from = fileSystem.Open(source, O_RDONLY | O_NONBLOCK, 0);
  if (from < 0)
    return errno;
  const int error = CopyOpenSource(from, destination);
  fileSystem.Close(from);
  return error;
}

}  // namespace platform
