#include "platform/ui/Dialogs.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

#include "platform/core/qt/Services.h"
#include "platform/files/FolderItem.h"

namespace platform {
namespace {

// Button codes that MsgBox returns.
constexpr int kOk = 1;
constexpr int kCancel = 2;
constexpr int kAbort = 3;
constexpr int kRetry = 4;
constexpr int kIgnore = 5;
constexpr int kYes = 6;
constexpr int kNo = 7;

QMessageBox::Icon IconOf(int style) {
  switch (style & 0x70) {
    case 16:
      return QMessageBox::Critical;
    case 32:
      return QMessageBox::Question;
    case 48:
      return QMessageBox::Warning;
    case 64:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

QMessageBox::StandardButtons ButtonsOf(int style) {
  switch (style & 0x7) {
    case 1:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case 2:
      return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case 3:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case 4:
      return QMessageBox::Yes | QMessageBox::No;
    case 5:
      return QMessageBox::Retry | QMessageBox::Cancel;
    default:
      return QMessageBox::Ok;
  }
}

int CodeOf(QMessageBox::StandardButton button) {
  switch (button) {
    case QMessageBox::Cancel:
      return kCancel;
    case QMessageBox::Abort:
      return kAbort;
    case QMessageBox::Retry:
      return kRetry;
    case QMessageBox::Ignore:
      return kIgnore;
    case QMessageBox::Yes:
      return kYes;
    case QMessageBox::No:
      return kNo;
    default:
      return kOk;
  }
}

class QtDialogHost : public DialogHost {
 public:
  std::optional<std::string> ChooseFile(const std::string& title,
                                        const std::string& initialDirectory) override {
    // A desktop's own dialog keeps its history in the player's config home.
    const QString chosen =
        QFileDialog::getOpenFileName(QApplication::activeWindow(), QString::fromStdString(title),
                                     QFile::decodeName(initialDirectory.c_str()), QString(),
                                     nullptr, QFileDialog::DontUseNativeDialog);
    if (chosen.isEmpty())
      return std::nullopt;
    // File names are in the system's encoding, which need not be UTF-8.
    return QFile::encodeName(chosen).toStdString();
  }

  int ShowMessage(const std::string& text, int style, const std::string& title) override {
    QMessageBox box(IconOf(style), QString::fromStdString(title), QString::fromStdString(text),
                    ButtonsOf(style), QApplication::activeWindow());
    // A path or a login may look like markup; the player must see it as it is.
    box.setTextFormat(Qt::PlainText);
    return CodeOf(static_cast<QMessageBox::StandardButton>(box.exec()));
  }
};

}  // namespace

std::shared_ptr<FolderItem> OpenDialog::ShowModal() {
  const std::string folder = initialDirectory_ ? initialDirectory_->ShellPath() : std::string();
  std::optional<std::string> chosen = qt::CurrentDialogHost().ChooseFile(title_, folder);
  if (!chosen)
    return nullptr;
  return std::make_shared<FolderItem>(*chosen, kShellPathMode);
}

int MsgBox(const std::string& text, int style, const std::string& title) {
  return qt::CurrentDialogHost().ShowMessage(text, style, title);
}

namespace qt {

std::shared_ptr<DialogHost> NewRealDialogHost() {
  return std::make_shared<QtDialogHost>();
}

}  // namespace qt
}  // namespace platform
