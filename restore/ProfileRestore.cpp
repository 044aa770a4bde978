#include "restore/ProfileRestore.h"

#include <cstdint>
#include <string>

#include "platform/files/BinaryStream.h"
#include "platform/files/FolderLock.h"

namespace tervix::ProfileRestore {

namespace {

// Profiles can be large, so they are compared a part at a time.
constexpr int32_t kComparedPart = 256 * 1024;

// True only when both files could be read to their end and hold the same bytes.
bool SameContent(platform::FolderItem& first, platform::FolderItem& second) {
  const auto one = first.OpenAsBinaryFile(false);
  const auto other = one ? second.OpenAsBinaryFile(false) : nullptr;
  if (!other) {
    return false;
  }
  const int64_t length = one->Length();
  if (length < 0 || other->Length() != length) {
    return false;
  }
  while (true) {
    const std::string part = one->Read(kComparedPart);
    if (other->Read(kComparedPart) != part || one->LastErrorCode() != 0 ||
        other->LastErrorCode() != 0) {
      return false;
    }
    if (part.size() < static_cast<size_t>(kComparedPart)) {
      return true;
    }
  }
}

}  // namespace

// The current file is replaced in one step, and only once its trashed copy is
// whole, so its content is never lost. A profile that already is the backup is
// left alone: copying it over the trashed copy would lose the only profile
// from before the first restore. Where the folder cannot be held, nothing is
// touched, since another launcher may be between these same steps.
bool PutBackupInPlace(const platform::FolderItem& folder, platform::FolderItem& current,
                      platform::FolderItem& backup, platform::FolderItem& trashed) {
  const platform::FolderLock lock(folder);
  if (lock.LastErrorCode() != 0) {
    return false;
  }
  if (SameContent(current, backup)) {
    return true;
  }
  current.CopyFileTo(trashed);
  if (current.LastErrorCode() != 0) {
    return false;
  }
  backup.CopyFileTo(current);
  return backup.LastErrorCode() == 0;
}

}  // namespace tervix::ProfileRestore
