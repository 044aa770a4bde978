#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/files/FileSystem.h"

namespace tervix::test {

// A fresh temporary HOME and config home, removed afterwards, and the real file system restored.
class ScratchFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = (std::filesystem::temp_directory_path() / "tervix-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(root_.data()), nullptr) << "cannot make a temporary folder";
    std::filesystem::create_directories(ConfigHome());
    std::filesystem::create_directories(ProfileFolder());
    setenv("HOME", Home().c_str(), 1);
    setenv("XDG_CONFIG_HOME", ConfigHome().c_str(), 1);
  }
  void TearDown() override {
    platform::InstallFileSystem(nullptr);
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  std::string Home() const { return root_ + "/home"; }
  std::string ConfigHome() const { return root_ + "/config"; }
  std::string ProfileFolder() const { return Home() + "/Library/Application Support/Tervix/"; }

  static void WriteFile(const std::string& path, const std::string& content) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    ASSERT_TRUE(std::ofstream(path, std::ios::binary) << content) << "cannot write " << path;
  }
  // The file's whole content, or nothing when it cannot be read.
  static std::optional<std::string> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return in ? std::optional(std::string(std::istreambuf_iterator<char>(in), {})) : std::nullopt;
  }
  static bool FileExists(const std::string& path) {
    return std::filesystem::exists(std::filesystem::symlink_status(path));
  }
  static std::vector<std::string> ListFolder(const std::string& path) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(path, error))
      names.push_back(entry.path().filename().string());
    std::ranges::sort(names);
    return names;
  }
  // What this process holds open inside the scratch folders, by path.
  std::vector<std::string> HeldOpen() const {
    std::vector<std::string> held;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
      const std::string target = std::filesystem::read_symlink(entry.path(), error).string();
      if (target.starts_with(root_ + "/"))
        held.push_back(target);
    }
    return held;
  }

 private:
  std::string root_;
};

}  // namespace tervix::test
