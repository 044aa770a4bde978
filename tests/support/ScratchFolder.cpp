#include "tests/support/ScratchFolder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tests/support/FaultPlan.h"

namespace tervix::test {

namespace fs = std::filesystem;

void ScratchFolderTest::SetUp() {
  root_ = (fs::temp_directory_path() / "tervix-test-XXXXXX").string();
  ASSERT_NE(mkdtemp(root_.data()), nullptr) << "cannot make a temporary folder";
  fs::create_directories(ConfigHome());
  fs::create_directories(ProfileFolder());
  setenv("HOME", Home().c_str(), 1);
  setenv("XDG_CONFIG_HOME", ConfigHome().c_str(), 1);
}

void ScratchFolderTest::TearDown() {
  FaultPlan::Uninstall();
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

void ScratchFolderTest::WriteFile(const std::string& path, const std::string& content) {
  fs::create_directories(fs::path(path).parent_path());
  ASSERT_TRUE(std::ofstream(path, std::ios::binary) << content) << "cannot write " << path;
}

std::optional<std::string> ScratchFolderTest::ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return in ? std::optional(std::string(std::istreambuf_iterator<char>(in), {})) : std::nullopt;
}

bool ScratchFolderTest::FileExists(const std::string& path) {
  return fs::exists(fs::symlink_status(path));
}

std::vector<std::string> ScratchFolderTest::ListFolder(const std::string& path) {
  std::vector<std::string> names;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(path, error))
    names.push_back(entry.path().filename().string());
  std::ranges::sort(names);
  return names;
}

std::vector<std::string> ScratchFolderTest::HeldOpen() const {
  std::vector<std::string> held;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator("/proc/self/fd", error)) {
    const std::string target = fs::read_symlink(entry.path(), error).string();
    if (target.starts_with(root_ + "/"))
      held.push_back(target);
  }
  return held;
}

}  // namespace tervix::test
