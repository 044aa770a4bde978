#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace tervix::test {

// A test with a fresh temporary HOME and config home, removed afterwards, and
// the real file system back in place when it ends. It needs no display.
class ScratchFolderTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::string Home() const { return root_ + "/home"; }
  std::string ConfigHome() const { return root_ + "/config"; }
  // Made by SetUp.
  std::string ProfileFolder() const { return Home() + "/Library/Application Support/Tervix/"; }

  // Writes the file whole, making its folders first.
  static void WriteFile(const std::string& path, const std::string& content);
  // The file's whole content, or nothing when it cannot be read.
  static std::optional<std::string> ReadFile(const std::string& path);
  static bool FileExists(const std::string& path);
  // Names of the entries of a folder, sorted.
  static std::vector<std::string> ListFolder(const std::string& path);
  // What this process holds open inside the scratch folders, by path.
  std::vector<std::string> HeldOpen() const;

 private:
  std::string root_;
};

}  // namespace tervix::test
