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
  void SetUp() override {
    ScratchFolderTest::SetUp();
    ASSERT_EQ(mkfifo(Report().c_str(), 0600), 0);
  }
  std::string Folder() const { return ProfileFolder(); }
  std::string Report() const { return Folder() + "report"; }
  std::string Script(const std::string& name, const std::string& body) const {
    const std::string path = Folder() + name;
    WriteFile(path, body);
    chmod(path.c_str(), 0755);
    return path;
  }
  static int Launch(const std::string& path) {
    platform::FolderItem item(path, platform::kShellPathMode);
    item.Launch(true);
    return item.LastErrorCode();
  }
  // What the started script wrote to the pipe, once it has closed it.
  std::string Reported() const {
    const int pipe = open(Report().c_str(), O_RDONLY);
    std::string text;
    char buffer[256];
    for (ssize_t got; (got = read(pipe, buffer, sizeof buffer)) > 0;)
      text.append(buffer, static_cast<size_t>(got));
    close(pipe);
    return text;
  }
};

constexpr const char* kReportFolder = "pwd -P > report\n";

TEST_F(RealLaunch, ScriptStartsInItsOwnFolderWithOrWithoutAnInterpreterLine) {
  const std::string folder = Folder().substr(0, Folder().size() - 1);
  ASSERT_EQ(Launch(Script("game", std::string("#!/bin/sh\n") + kReportFolder)), 0);
  EXPECT_EQ(Reported(), folder + "\n");
  ASSERT_EQ(Launch(Script("plain game", kReportFolder)), 0);
  EXPECT_EQ(Reported(), folder + "\n");
}

TEST_F(RealLaunch, PathThatIsNotUtf8StartsUnderItsOwnBytes) {
  const std::string path = Script(
      "g\xff\xfe"
      "me",
      "#!/bin/sh\necho \"$0\" > report\n");
  ASSERT_EQ(Launch(path), 0);
  EXPECT_EQ(Reported(), path + "\n");
}

TEST_F(RealLaunch, WhatCannotStartIsToldBeforeLaunchReturns) {
  EXPECT_EQ(Launch(Folder() + "missing"), ENOENT);
  EXPECT_EQ(Launch(Folder()), EISDIR);
  EXPECT_EQ(Launch(Script("broken", "#!/nonexistent/interpreter\n")), ENOENT);
}

}  // namespace
}  // namespace tervix::test
