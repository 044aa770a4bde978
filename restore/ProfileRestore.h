#pragma once

#include "platform/files/FolderItem.h"

// The file steps of a restore: the backup put back in place of the current
// profile, which is kept as the trashed copy.
namespace tervix::ProfileRestore {

// Keeps the current profile as the trashed copy, then puts the backup in its
// place; true when the backup is in place.
bool PutBackupInPlace(platform::FolderItem& current, platform::FolderItem& backup,
                      platform::FolderItem& trashed);

}  // namespace tervix::ProfileRestore
