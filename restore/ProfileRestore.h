#pragma once

#include "platform/files/FolderItem.h"

// The file steps of a restore: the backup put back in place of the current
// profile, which is kept as the trashed copy.
namespace tervix::ProfileRestore {

// Keeps the current profile as the trashed copy, then puts the backup in its
// place; true when the backup is in place. The steps run while this launcher
// holds the profile folder, so that a second launcher's restore or backup
// runs wholly before or after them and sees their result.
bool PutBackupInPlace(const platform::FolderItem& folder, platform::FolderItem& current,
                      platform::FolderItem& backup, platform::FolderItem& trashed);

}  // namespace tervix::ProfileRestore
