#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/TestRuntime.h"

namespace tervix::test {

// A preferences test: a fresh config home, and helpers that look at the
// application preferences folder directly, as a user would.
class PrefsTest : public RuntimeTest {
 protected:
  std::string KeyPath(const std::string& key) const { return PrefsFolderPath() + "/" + key; }

  // Puts a preference file on disk as another run of the launcher would have left it.
  void PutPreference(const std::string& key, const std::string& content) const {
    std::filesystem::create_directories(PrefsFolderPath());
    WriteFile(KeyPath(key), content);
  }

  std::string Stored(const std::string& key) const {
    return ReadFile(KeyPath(key)).value_or("<no file>");
  }

  std::vector<std::string> FilesInFolder() const { return ListFolder(PrefsFolderPath()); }
};

}  // namespace tervix::test
