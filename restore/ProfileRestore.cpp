#include <memory>
#include <string>

#include "login/ProfilePaths.h"
#include "platform/core/Values.h"
#include "platform/files/FolderItem.h"
#include "platform/files/Places.h"
#include "prefs/Prefs.h"
#include "restore/Restore.h"
#include "restore/RestoreSteps.h"

namespace tervix {

namespace {

constexpr const char* kStarting = "Starting restore process...";
constexpr const char* kRestoreDone = "Restore done !!!";
constexpr const char* kRestoreFailed = "Restore failed, your gateway was left as it was.";
constexpr const char* kNoBackup = "Sorry you have no backup yet...";
constexpr const char* kReturning = "Returning to login screen.";
constexpr int32_t kReturnTicks = 360;

std::shared_ptr<platform::FolderItem> ProfileFile(const std::string& path) {
  return std::make_shared<platform::FolderItem>(path, platform::kShellPathMode);
}

// Keeps the current profile as the trashed copy, then puts the backup in its
// place. The current file is replaced in one step, and only once its trashed
// copy is whole, so its content is never lost; true when both copies succeeded.
bool PutBackupInPlace(platform::FolderItem& current, platform::FolderItem& backup,
                      platform::FolderItem& trashed) {
  current.CopyFileTo(trashed);
  if (current.LastErrorCode() != 0) {
    return false;
  }
  backup.CopyFileTo(current);
  return backup.LastErrorCode() == 0;
}

}  // namespace

void Restore::BevelYES_Action() {
  using RestoreSteps::AppendToTerminal;
  AppendToTerminal(*this, platform::EndOfLine());
  AppendToTerminal(*this, platform::EndOfLine());
  AppendToTerminal(*this, kStarting);
  AppendToTerminal(*this, platform::EndOfLine());
  AppendToTerminal(*this, platform::EndOfLine());

  const std::string home = platform::System::EnvironmentVariable("HOME");
  // Nothing writes the stored login during a press, so one reading names every file.
  const std::string login = Prefs::PrefLogin();
  if (!ProfilePaths::NamesAProfile(login)) {
    return;
  }
  const auto current = ProfileFile(ProfilePaths::CurrentProfile(home, login));
  if (!current->Exists()) {
    return;
  }

  RestoreSteps::Disable(*this, "BevelNO");
  const auto backup = ProfileFile(ProfilePaths::BackupProfile(home, login));
  if (backup->Exists()) {
    RestoreSteps::Disable(*this, "BevelYES");
    const auto trashed = ProfileFile(ProfilePaths::TrashedProfile(home, login));
    AppendToTerminal(*this,
                     PutBackupInPlace(*current, *backup, *trashed) ? kRestoreDone : kRestoreFailed);
    AppendToTerminal(*this, platform::EndOfLine());
  } else {
    AppendToTerminal(*this, kNoBackup);
  }

  AppendToTerminal(*this, platform::EndOfLine());
  AppendToTerminal(*this, kReturning);
  AppendToTerminal(*this, platform::EndOfLine());
  AppendToTerminal(*this, RestoreSteps::kPleaseWait);
  RestoreSteps::ReturnToLogin(*this, "BevelYES", kReturnTicks);
}

}  // namespace tervix
