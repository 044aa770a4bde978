#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/files/FolderItem.h"
#include "tests/support/ScratchFolder.h"

namespace tervix::test {
namespace {

// Real launches of small scripts in the scratch folder. Each script reports to a named pipe
// in its folder, so the test waits for the script itself and never on the clock.
class RealLaunch : public ScratchFolderTest {
 protected:
  std::string Script(const std::string& name, const std::string& body) const {
    const std::string path = ProfileFolder() + name;
    WriteFile(path, body);
    chmod(path.c_str(), 0755);
    return path;
  }
  static int Launch(const std::string& path) {
    platform::FolderItem item(path, platform::kShellPathMode);
    item.Launch(true);
    return item.LastErrorCode();
  }
};

// Started from its path's own bytes, in its own folder, with or without an interpreter line.
TEST_F(RealLaunch, ScriptStartsFromItsOwnBytesInItsOwnFolder) {
  const std::string report = ProfileFolder() + "report";
  ASSERT_EQ(mkfifo(report.c_str(), 0600), 0);
  for (const auto& [name, line] :
       {std::pair{"g\xff\xfeme", "#!/bin/sh\n"}, std::pair{"plain g\xff\xfeme", ""}}) {
    const std::string path =
        Script(name, std::string(line) + "{ echo \"$0\"; pwd -P; } > report\n");
    ASSERT_EQ(Launch(path), 0);
    const int pipe = open(report.c_str(), O_RDONLY);
    std::string text;
    char buffer[256];
    for (ssize_t got; (got = read(pipe, buffer, sizeof buffer)) > 0;)
      text.append(buffer, static_cast<size_t>(got));
    close(pipe);
    EXPECT_EQ(text, path + "\n" + ProfileFolder().substr(0, ProfileFolder().size() - 1) + "\n");
  }
}

TEST_F(RealLaunch, WhatCannotStartIsToldBeforeLaunchReturns) {
  EXPECT_EQ(Launch(ProfileFolder() + "missing"), ENOENT);
  EXPECT_EQ(Launch(ProfileFolder()), EISDIR);
  EXPECT_EQ(Launch(Script("broken", "#!/nonexistent/interpreter\n")), ENOENT);
}

}  // namespace
}  // namespace tervix::test
