#pragma once

#include <memory>

#include "platform/files/FolderItem.h"

namespace tervix {

// Asks the player for the game executable with the open-file dialog that the
// login and the preferences windows share; nil when the player cancels.
std::shared_ptr<platform::FolderItem> ChooseExecutable();

}  // namespace tervix
