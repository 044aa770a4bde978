#include "prefs/Prefs.h"

#include <cstdint>
#include <limits>
#include <optional>

#include "platform/core/Exceptions.h"
#include "platform/files/BinaryStream.h"
#include "platform/files/Places.h"

namespace tervix::Prefs {
namespace {

using platform::FolderItem;
using platform::Variant;

constexpr const char* kNoUserFolder =
    "The user preferences folder doesn't exist and could not be created.";
constexpr const char* kNoApplicationFolderReference =
    "The application preferences folder could not be found; it may be a permissions problem.";
constexpr const char* kFileInTheWay =
    "A file with the same name as the preferences folder already exists.";
const std::string kNotCreated =
    "A preferences folder for the application could not be created; error ";

// The whole file as it is on disk, or nothing when any part of the read fails,
// so that a partly read value never reaches the cache.
std::optional<std::string> ReadWholeFile(FolderItem& file) {
  auto stream = file.OpenAsBinaryFile(false);
  if (!stream)
    return std::nullopt;
  const int64_t length = stream->Length();
  if (length < 0 || length > std::numeric_limits<int32_t>::max())
    return std::nullopt;
  std::string bytes = stream->Read(static_cast<int32_t>(length));
  stream->Close();
  if (stream->LastErrorCode() != 0)
    return std::nullopt;
  return bytes;
}

std::string TypedPreference(const std::string& key) {
  const Variant value = PreferenceValue(key);
  if (value.IsNil())
    return {};
  return platform::DefineEncoding(value.StringValue(), platform::Encodings::UTF8);
}

}  // namespace

void LogMessage(const std::string& /*message*/) {}

std::shared_ptr<FolderItem> PrefsFolder() {
  auto userFolder = platform::PreferencesFolder();
  if (!userFolder || !userFolder->Exists()) {
    LogMessage(kNoUserFolder);
    return nullptr;
  }
  auto folder = platform::NotNil(platform::PreferencesFolder()).Child(kApplicationFolderName);
  if (!folder) {
    LogMessage(kNoApplicationFolderReference);
    return nullptr;
  }
  if (!folder->Exists())
    folder->CreateAsFolder();
  if (!folder->Exists()) {
    LogMessage(kNotCreated + platform::Str(folder->LastErrorCode()) + ".");
    return nullptr;
  }
  if (!folder->Directory()) {
    LogMessage(kFileInTheWay);
    return nullptr;
  }
  return folder;
}

platform::Dictionary& PreferencesCache() {
  static platform::Dictionary cache;
  return cache;
}

Variant PreferenceValue(const std::string& key) {
  auto folder = PrefsFolder();
  if (!folder)
    return {};
  platform::Dictionary& cache = PreferencesCache();
  if (!cache.HasKey(key)) {
    auto file = folder->Child(key);
    if (platform::NotNil(file).Exists()) {
      if (const auto bytes = ReadWholeFile(*file)) {
        cache.SetValue(key, *bytes);
      } else {
        LogMessage("Unable to read preferences file '" + key + "'.");
      }
    }
  }
  return cache.Value(key);
}

std::string PrefLogin() {
  return TypedPreference("PrefLogin");
}
void PrefLogin(const std::string& value) {
  PreferenceValue("PrefLogin", Variant(value));
}

std::string PrefExecutable() {
  return TypedPreference("PrefExecutable");
}
void PrefExecutable(const std::string& value) {
  PreferenceValue("PrefExecutable", Variant(value));
}

}  // namespace tervix::Prefs
