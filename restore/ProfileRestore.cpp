#include <cstdint>
#include <memory>
#include <string>

#include "login/ProfilePaths.h"
#include "platform/core/Values.h"
#include "platform/files/BinaryStream.h"
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
// Profiles can be large, so they are compared a part at a time.
constexpr int32_t kComparedPart = 256 * 1024;

std::shared_ptr<platform::FolderItem> ProfileFile(const std::string& path) {
  return std::make_shared<platform::FolderItem>(path, platform::kShellPathMode);
}

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

// Keeps the current profile as the trashed copy, then puts the backup in its
// place. The current file is replaced in one step, and only once its trashed
// copy is whole, so its content is never lost; true when the backup is in place.
// A profile that already is the backup is left alone: copying it over the
// trashed copy would lose the only profile from before the first restore.
bool PutBackupInPlace(platform::FolderItem& current, platform::FolderItem& backup,
                      platform::FolderItem& trashed) {
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
