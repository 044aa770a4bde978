#include "platform/files/AtomicCopy.h"

#include <fcntl.h>

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
// it got, so the read-and-write fallback goes on from there. The source is
// copied to its end, whatever its size was when the copy began: a profile may
// grow while the game still writes it. A kernel copy that gives 0 may have
// stopped early, so the fallback then reads on until a read gives 0 as well.
int CopyContent(int from, int to) {
  FileSystem& fileSystem = CurrentFileSystem();
  for (;;) {
    const ssize_t got = fileSystem.CopyFileRange(from, to, kKernelCopyChunk);
    if (got > 0)
      continue;
    if (got < 0 && !KernelCopyUnsupported(errno))
      return errno;
    return CopyByReadAndWrite(from, to);
  }
}

// Where the copy is written: an unnamed file, or one under a hidden name.
enum class Temporary { kUnnamed, kNamed };

// Says that the file system or the process cannot make or name unnamed
// files; the copy is then made again under a name. Never an errno.
constexpr int kUnnamedRefused = -1;

bool UnnamedFilesRefused(int error) {
  return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

bool NamingRefused(int error) {
  return error == ENOENT || error == EPERM;
}

std::string TemporaryName(const std::string& destination) {
  return FolderOf(destination) + "/." + NameOf(destination).substr(0, kNamePrefixLimit) + "." +
         RandomSuffix();
}

// An open file that the copy is written to, and its name once it has one.
struct TemporaryFile {
  int descriptor = -1;
  std::string path;
  int error = 0;
};

TemporaryFile CreateUnnamed(const std::string& destination) {
  TemporaryFile temporary;
  temporary.descriptor = CurrentFileSystem().OpenTemporary(FolderOf(destination), 0600);
  if (temporary.descriptor < 0)
    temporary.error = UnnamedFilesRefused(errno) ? kUnnamedRefused : errno;
  return temporary;
}

TemporaryFile CreateNamed(const std::string& destination) {
  TemporaryFile temporary;
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    temporary.path = TemporaryName(destination);
    temporary.descriptor =
        CurrentFileSystem().Open(temporary.path, O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (temporary.descriptor >= 0)
      return temporary;
    if (errno != EEXIST)
      break;
  }
  temporary.path.clear();
  temporary.error = errno;
  return temporary;
}

// Gives the whole, flushed unnamed file a hidden name beside destination.
int NameUnnamed(TemporaryFile& temporary, const std::string& destination) {
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    const std::string path = TemporaryName(destination);
    if (CurrentFileSystem().LinkAt(temporary.descriptor, path) == 0) {
      temporary.path = path;
      return 0;
    }
    if (errno != EEXIST)
      return NamingRefused(errno) ? kUnnamedRefused : errno;
  }
  return EEXIST;
}

// A folder in destination's place is refused; anything else there is
// replaced. A symbolic link is looked at itself, not followed: the rename
// replaces the link, whatever it points at, and leaves its target alone.
int CheckDestination(const std::string& destination) {
  struct stat existing {};
  if (CurrentFileSystem().Lstat(destination, &existing) == 0)
    return S_ISDIR(existing.st_mode) ? EISDIR : 0;
  return errno == ENOENT ? 0 : errno;
}

// Writes the copy to a temporary file, names it once it is whole and flushed,
// and renames it over destination. On failure the temporary file is gone and
// destination is as it was. The copy gets source's permission bits, whatever
// destination had: a link there is replaced, and its target's bits never
// reach the copy.
int WriteAndReplace(int from, const struct stat& source, Temporary kind,
                    const std::string& destination) {
  FileSystem& fileSystem = CurrentFileSystem();
  TemporaryFile temporary =
      kind == Temporary::kUnnamed ? CreateUnnamed(destination) : CreateNamed(destination);
  if (temporary.descriptor < 0)
    return temporary.error;

  int error = fileSystem.Fchmod(temporary.descriptor, source.st_mode & 0777) == 0 ? 0 : errno;
  if (!error)
    error = CopyContent(from, temporary.descriptor);
  if (!error && fileSystem.Fsync(temporary.descriptor) != 0)
    error = errno;
  if (!error && temporary.path.empty())
    error = NameUnnamed(temporary, destination);
  if (error) {
    fileSystem.Close(temporary.descriptor);
  } else if (fileSystem.Close(temporary.descriptor) != 0) {
    error = errno;
  }
  if (!error && fileSystem.Rename(temporary.path, destination) != 0)
    error = errno;
  if (error) {
    if (!temporary.path.empty())
      fileSystem.Unlink(temporary.path);
    return error;
  }
  // The new content is in place now and the old is gone, so a folder that
  // cannot be flushed is not reported: callers take an error to mean that
  // destination was left as it was.
  SyncFolder(FolderOf(destination));
  return 0;
}

int CopyThrough(Temporary kind, const std::string& source, const std::string& destination) {
  struct stat status {};
  const int from = OpenRegularFile(source, O_RDONLY, status);
  if (from < 0)
    return errno;
  int error = CheckDestination(destination);
  if (!error)
    error = WriteAndReplace(from, status, kind, destination);
  CurrentFileSystem().Close(from);
  return error;
}

}  // namespace

int ReplaceWithCopy(const std::string& source, const std::string& destination) {
  const int error = CopyThrough(Temporary::kUnnamed, source, destination);
  // Where unnamed files cannot be made or named, the copy is made again, from
  // the source's start, under a hidden name.
  return error == kUnnamedRefused ? CopyThrough(Temporary::kNamed, source, destination) : error;
}

}  // namespace platform
