#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/FaultPlan.h"

namespace tervix::test {

// A fresh folder for a file test, removed afterwards together with any fault
// plan the test installed. The helpers read and write the disk directly, past
// the fault plan, to see what a user would find there.
class ScratchFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "tervix-files-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr) << "cannot make a temporary folder";
    folder_ = pattern;
  }
  void TearDown() override {
    FaultPlan::Uninstall();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  std::string PathOf(const std::string& name) const { return folder_ + "/" + name; }

  void Put(const std::string& name, const std::string& content) const {
    std::ofstream out(PathOf(name), std::ios::binary | std::ios::trunc);
    out << content;
    ASSERT_TRUE(out.good()) << "cannot write " << name;
  }

  std::string Content(const std::string& name) const {
    std::ifstream in(PathOf(name), std::ios::binary);
    if (!in)
      return "<missing>";
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
  }

  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  const std::string& Folder() const { return folder_; }

 private:
  std::string folder_;
};

// Bytes that differ from block to block, so a copy that drops or repeats a
// block cannot match.
inline std::string PatternedBytes(size_t size) {
  std::string bytes(size, '\0');
  uint32_t state = 2463534242u;
  for (char& byte : bytes) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    byte = static_cast<char>(state);
  }
  return bytes;
}

}  // namespace tervix::test
