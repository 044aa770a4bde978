#include "platform/files/BinaryStream.h"

#include <cerrno>

#include "platform/files/FileSystem.h"

namespace platform {

BinaryStream::BinaryStream(int descriptor, bool forWriting)
    : descriptor_(descriptor), forWriting_(forWriting) {}

BinaryStream::~BinaryStream() {
  // Only a test's file system throws here; a destructor must not pass it on.
  try {
    Close();
  } catch (...) {
  }
}

void BinaryStream::Write(const std::string& bytes) {
  if (descriptor_ < 0) {
    lastErrorCode_ = EBADF;
    return;
  }
  if (const int error = WriteAll(descriptor_, bytes.data(), bytes.size()))
    lastErrorCode_ = error;
}

std::string BinaryStream::Read(int32_t count) {
  if (descriptor_ < 0 || count < 0) {
    lastErrorCode_ = descriptor_ < 0 ? EBADF : EINVAL;
    return {};
  }
  std::string bytes(static_cast<size_t>(count), '\0');
  size_t filled = 0;
  while (filled < bytes.size()) {
    const ssize_t got =
        CurrentFileSystem().Read(descriptor_, bytes.data() + filled, bytes.size() - filled);
    if (got < 0)
      lastErrorCode_ = errno;
    if (got <= 0)
      break;
    filled += static_cast<size_t>(got);
  }
  bytes.resize(filled);
  return bytes;
}

int64_t BinaryStream::Length() const {
  struct stat status {};
  if (descriptor_ < 0 || CurrentFileSystem().Fstat(descriptor_, &status) != 0) {
    lastErrorCode_ = descriptor_ < 0 ? EBADF : errno;
    return -1;
  }
  return status.st_size;
}

void BinaryStream::Close() {
  if (descriptor_ < 0)
    return;
  const int descriptor = descriptor_;
  descriptor_ = -1;
  FileSystem& fileSystem = CurrentFileSystem();
  int error = 0;
  if (forWriting_ && fileSystem.Fsync(descriptor) != 0)
    error = errno;
  if (fileSystem.Close(descriptor) != 0 && error == 0)
    error = errno;
  if (error != 0)
    lastErrorCode_ = error;
}

}  // namespace platform
