#pragma once

#include <memory>
#include <string>

namespace platform {

class FolderItem;

// A modal open-file dialog with no file-type filter.
class OpenDialog {
 public:
  void SetInitialDirectory(std::shared_ptr<FolderItem> folder) {
    initialDirectory_ = std::move(folder);
  }
  void SetTitle(std::string title) { title_ = std::move(title); }
  // The chosen file, or nil when the user cancels.
  std::shared_ptr<FolderItem> ShowModal();

 private:
  std::shared_ptr<FolderItem> initialDirectory_;
  std::string title_;
};

// Style codes of MsgBox: 48 shows a caution icon and a single OK button.
inline constexpr int kMsgBoxCaution = 48;

// A modal message box; returns the button pressed (1 for OK).
int MsgBox(const std::string& text, int style, const std::string& title);

}  // namespace platform
