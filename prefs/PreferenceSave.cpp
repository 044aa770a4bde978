#include <cerrno>

#include "platform/files/BinaryStream.h"
#include "prefs/Prefs.h"

// The save puts the new value in place with one rename over the key's file,
// so that the file holds the old or the new value, whole, at every moment. The
// old value is kept under a second name until the new one is known to be there.
namespace tervix::Prefs {
namespace {

using platform::FolderItem;

constexpr int kCreateAttempts = 100;

void LogUnableToSave(const std::string& key, const std::string& reason) {
  LogMessage("Unable to save preference '" + key + "'; " + reason);
}

void LogUnableToSave(const std::string& key, int32_t code) {
  LogUnableToSave(key, "error " + platform::Str(code) + ".");
}

void LogNoTemporaryReference(const std::string& key) {
  LogUnableToSave(key, "could not get a reference to a temporary file.");
}

// Twelve random digits; never empty, never the key, never the other name.
std::string RandomName(const std::string& key, const std::string& otherName) {
  for (;;) {
    const std::string name = platform::Format(platform::Rnd() * 1e12, "############");
    if (!name.empty() && name != key && name != otherName)
      return name;
  }
}

// Writes value into a new file under a random name. A name that is taken
// may hold an old value left by an earlier failed save, so another is drawn.
std::shared_ptr<FolderItem> WriteNewValueFile(FolderItem& folder, const std::string& key,
                                              const std::string& value) {
  for (int attempt = 1;; ++attempt) {
    auto file = folder.Child(RandomName(key, {}));
    if (!file) {
      LogNoTemporaryReference(key);
      return nullptr;
    }
    auto stream = file->CreateBinaryFile("text");
    if (!stream) {
      if (file->LastErrorCode() == EEXIST && attempt < kCreateAttempts)
        continue;
      LogUnableToSave(key, file->LastErrorCode());
      return nullptr;
    }
    stream->Write(value);
    stream->Close();
    if (stream->LastErrorCode() != 0) {
      LogUnableToSave(key, stream->LastErrorCode());
      file->Delete();
      return nullptr;
    }
    return file;
  }
}

// A reference under a random name with nothing on disk, so that putting the
// old value there cannot replace an old-value copy an earlier save left behind.
std::shared_ptr<FolderItem> FreeOldValueName(FolderItem& folder, const std::string& key,
                                             const std::string& newValueName) {
  for (;;) {
    auto file = folder.Child(RandomName(key, newValueName));
    if (!file || !file->Exists())
      return file;
  }
}

// Errors that say the file system gives the key's file no second name, not
// that the file is in trouble.
bool SecondNameRefused(int32_t error) {
  return error == EPERM || error == EXDEV || error == ENOTSUP || error == EOPNOTSUPP ||
         error == EMLINK;
}

// Keeps the old value under the copy's name. Since the save never writes into
// the key's file but renames over it, a second name for that file keeps the
// old value as well as a copy would; only where there can be none is it copied.
// A link needs no read, so the file is opened first: a value the player
// cannot read stops the save as a copy would, and is never replaced.
void KeepOldValueAside(FolderItem& keyFile, FolderItem& oldValueCopy) {
  if (!keyFile.OpenAsBinaryFile(false))
    return;
  keyFile.LinkFileTo(oldValueCopy);
  if (SecondNameRefused(keyFile.LastErrorCode()))
    keyFile.CopyFileTo(oldValueCopy);
}

// Puts the new-value file in place of the key's file, keeping a copy of the
// old value until the new one is known to be there.
void ReplaceKeyFile(FolderItem& folder, const std::string& key, const platform::Variant& value,
                    FolderItem& newValueFile) {
  auto keyFile = folder.Child(key);
  if (!keyFile) {
    LogUnableToSave(key, "could not get a non-nil reference to the file.");
    return;
  }
  auto oldValueCopy = FreeOldValueName(folder, key, newValueFile.Name());
  if (!oldValueCopy) {
    LogNoTemporaryReference(key);
    return;
  }

  const bool hadOldValue = keyFile->Exists();
  if (hadOldValue) {
    KeepOldValueAside(*keyFile, *oldValueCopy);
    if (keyFile->LastErrorCode() != 0) {
      LogUnableToSave(key, keyFile->LastErrorCode());
      return;
    }
  }

  newValueFile.MoveFileTo(*keyFile);
  const int32_t moveError = newValueFile.LastErrorCode();
  // A rename that succeeded put the new value in place whole; a later look at
  // the disk that fails for a moment must not make the save count as lost.
  if (moveError == 0) {
    PreferencesCache().SetValue(key, value);
  } else {
    if (!keyFile->Exists() && oldValueCopy->Exists())
      oldValueCopy->CopyFileTo(*keyFile);
    LogUnableToSave(key, moveError != 0 ? moveError : ENOENT);
  }
  // Without the key's file, the copy is the only one of the old value left;
  // after the rename the key's file is there, whatever a look at it says.
  if (hadOldValue && (moveError == 0 || keyFile->Exists()))
    oldValueCopy->Delete();
}

}  // namespace

void PreferenceValue(const std::string& key, const platform::Variant& value) {
  if (key.empty() || value.IsNil())
    return;
  auto folder = PrefsFolder();
  if (!folder)
    return;
  auto newValueFile = WriteNewValueFile(*folder, key, value.StringValue());
  if (!newValueFile)
    return;
  ReplaceKeyFile(*folder, key, value, *newValueFile);
  // Whatever is still under the new value's name would otherwise stay for good.
  newValueFile->Delete();
}

}  // namespace tervix::Prefs
