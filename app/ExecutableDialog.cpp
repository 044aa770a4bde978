#include "app/ExecutableDialog.h"

#include "platform/core/Exceptions.h"
#include "platform/files/Places.h"
#include "platform/ui/Dialogs.h"

namespace tervix {

namespace {
constexpr const char* kSelectExecutable = "Select Tervix executable";
}  // namespace

std::shared_ptr<platform::FolderItem> ChooseExecutable() {
  platform::OpenDialog dialog;
  dialog.SetInitialDirectory(platform::NotNil(platform::Volume(0)).Child(""));
  dialog.SetTitle(kSelectExecutable);
  return dialog.ShowModal();
}

}  // namespace tervix
