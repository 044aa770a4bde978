#pragma once

#include <string>

// The profile folder and the names of a login's profile files. Paths are
// plain concatenation: nothing is added, trimmed or escaped.
namespace tervix::ProfilePaths {

inline constexpr const char* kProfileFolder = "/Library/Application Support/Tervix/";

// The folder itself, which launchers lock to take turns on its files.
inline std::string ProfileFolder(const std::string& home) {
  return home + kProfileFolder;
}
inline std::string CurrentProfile(const std::string& home, const std::string& login) {
  return home + kProfileFolder + login + ".usr";
}
inline std::string BackupProfile(const std::string& home, const std::string& login) {
  return home + kProfileFolder + login + "-backup.usr";
}
inline std::string TrashedProfile(const std::string& home, const std::string& login) {
  return home + kProfileFolder + login + "-trashed.usr";
}

// A login with "/" or NUL in it could name a file outside the profile folder,
// so it names no profile at all.
inline bool NamesAProfile(const std::string& login) {
  return login.find('/') == std::string::npos && login.find('\0') == std::string::npos;
}

}  // namespace tervix::ProfilePaths
