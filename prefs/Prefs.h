#pragma once

#include <memory>
#include <string>

#include "platform/core/Values.h"
#include "platform/files/FolderItem.h"

// The preferences store: one file per key in the application preferences
// folder, read through a process-wide cache. Failures reach callers only as a
// missing value.
namespace tervix::Prefs {

// The application's folder inside the per-user preferences folder (28 characters).
inline constexpr const char* kApplicationFolderName = "net.tervix.launcher.settings";

// The application preferences folder, created when missing; nil on failure.
std::shared_ptr<platform::FolderItem> PrefsFolder();
// Where the store's failure messages go: nowhere.
void LogMessage(const std::string& message);

// Load: the value stored under key, or nil.
platform::Variant PreferenceValue(const std::string& key);
// Save: stores value under key; an empty key or a nil value does nothing.
void PreferenceValue(const std::string& key, const platform::Variant& value);
platform::Dictionary& PreferencesCache();

// The default gateway login; the empty string when unset.
std::string PrefLogin();
void PrefLogin(const std::string& value);
// The game executable's shell path; the empty string when unset.
std::string PrefExecutable();
void PrefExecutable(const std::string& value);

}  // namespace tervix::Prefs
