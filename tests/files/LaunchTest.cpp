#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/files/DesktopLaunch.h"
#include "platform/files/FolderItem.h"
#include "tests/support/ScratchFolder.h"

namespace tervix::test {
namespace {

// The test hands on what a careless launcher would; what is started reports to a named pipe.
class RealLaunch : public ScratchFolderTest {
 protected:
  void SetUp() override {
    ScratchFolderTest::SetUp();
    savedPath_ = std::getenv("PATH");
    signal(SIGINT, SIG_IGN);
    sigset_t blocked;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGUSR1);
    sigprocmask(SIG_BLOCK, &blocked, nullptr);
    stray_ = open("/dev/null", O_RDONLY);
    ASSERT_GE(stray_, 3);
    ownStdin_ = dup(0);
    WriteFile(Home() + "/input", "");
    const int input = open((Home() + "/input").c_str(), O_RDONLY);
    dup2(input, 0);
    close(input);
  }
  void TearDown() override {
    dup2(ownStdin_, 0);
    close(ownStdin_);
    close(stray_);
    setenv("PATH", savedPath_.c_str(), 1);
    platform::InstallLaunchService(nullptr);
    ScratchFolderTest::TearDown();
  }

  static void WriteProgram(const std::string& path, const std::string& body) {
    WriteFile(path, body);
    chmod(path.c_str(), 0755);
  }
  static std::string MakeFifo(const std::string& path) {
    EXPECT_EQ(mkfifo(path.c_str(), 0600), 0) << path;
    return path;
  }
  // Everything written to the named pipe until its writer closes it.
  static std::string ReadFifo(const std::string& path) {
    const int pipe = open(path.c_str(), O_RDONLY);
    std::string text;
    char buffer[256];
    for (ssize_t got; (got = read(pipe, buffer, sizeof buffer)) > 0;)
      text.append(buffer, static_cast<size_t>(got));
    close(pipe);
    return text;
  }
  // The error code and the reason the launch leaves.
  static std::pair<int, std::string> Launch(const std::string& path) {
    platform::FolderItem item(path, platform::kShellPathMode);
    item.Launch(true);
    return {item.LastErrorCode(), item.LastLaunchFailure()};
  }

 private:
  std::string savedPath_;
  int stray_ = -1;
  int ownStdin_ = -1;
};

// Reads its signals before any fork, since the shell blocks every signal around a fork, and
// skips the descriptors the shell opened for itself.
const std::string kRecorder = R"(
{
  echo "$0"
  pwd -P
  while read -r line; do
    case $line in Sig[BI][lg][kn]:*) echo "$line" ;; esac
  done < /proc/$$/status
  readlink /proc/$$/fd/0
  for fd in /proc/$$/fd/*; do
    [ -e /proc/$$/fdinfo/${fd##*/} ] || continue
    grep -qE '^flags:\s*[0-7]*[2367][0-7]{6}$' /proc/$$/fdinfo/${fd##*/} || echo "open ${fd##*/}"
  done
} > report
)";
const std::string kClean =
    "SigBlk:\t0000000000000000\nSigIgn:\t0000000000000000\n/dev/null\nopen 0\nopen 1\nopen 2\n";

struct LaunchCase {
  std::string name;
  std::string file;                   // in the profile folder
  std::optional<std::string> body{};  // nothing: the file is not made
  bool relative = false;              // launched by a path relative to HOME
  bool stderrClosed = false;          // the launcher has no stderr when it launches
  int error = 0;                      // else it starts clean, from its own path, in its own folder
  friend void PrintTo(const LaunchCase& launch, std::ostream* out) { *out << launch.name; }
};

class LaunchFile : public RealLaunch, public testing::WithParamInterface<LaunchCase> {};

TEST_P(LaunchFile, StartsCleanFromItsOwnBytesInItsOwnFolderOrSaysWhyNot) {
  const LaunchCase& launch = GetParam();
  const std::string path = ProfileFolder() + launch.file;
  if (launch.body)
    WriteProgram(path, *launch.body);
  const std::string report = MakeFifo(ProfileFolder() + "report");
  const std::filesystem::path here = std::filesystem::current_path();
  if (launch.relative)
    std::filesystem::current_path(Home());
  const int ownStderr = launch.stderrClosed ? dup(2) : -1;
  if (launch.stderrClosed)
    close(2);
  const auto [error, reason] = Launch(launch.relative ? path.substr(Home().size() + 1) : path);
  if (launch.stderrClosed) {
    dup2(ownStderr, 2);
    close(ownStderr);
  }
  std::filesystem::current_path(here);

  EXPECT_EQ(error, launch.error) << reason;
  if (launch.error == 0) {
    const std::string folder = ProfileFolder().substr(0, ProfileFolder().size() - 1);
    EXPECT_EQ(ReadFifo(report), path + "\n" + folder + "\n" + kClean);
  }
}

const std::string kShell = "#!/bin/sh\n";

const LaunchCase kLaunchCases[] = {
    {.name = "Script", .file = "game", .body = kShell + kRecorder},
    {.name = "NameWithBlanksNotUtf8", .file = "my  g\xff\xfeme ", .body = kShell + kRecorder},
    {.name = "ScriptWithoutInterpreterLine", .file = "plain game", .body = kRecorder},
    {.name = "RelativePath", .file = "relative game", .body = kShell + kRecorder, .relative = true},
    {.name = "LauncherWithoutStderr",
     .file = "game",
     .body = kShell + kRecorder,
     .stderrClosed = true},
    {.name = "ProgramForAnotherMachine",
     .file = "game.exe",
     .body = std::string("\x01\x02\0\0 touch report\n", 17),
     .error = ENOEXEC},
    {.name = "MissingFile", .file = "missing", .error = ENOENT},
    {.name = "Folder", .file = "", .error = EISDIR},
    {.name = "MissingInterpreter",
     .file = "broken",
     .body = "#!/nonexistent/interpreter\n",
     .error = ENOENT},
};

INSTANTIATE_TEST_SUITE_P(RealLaunch, LaunchFile, testing::ValuesIn(kLaunchCases),
                         [](const auto& info) { return info.param.name; });

struct OpenerCase {
  std::string name;
  std::optional<int> exitStatus{};  // of the stub opener on PATH; nothing: no opener at all
  bool stays = false;               // the opener is still running when its time is up
  int error = 0;
  std::string reason{};
  friend void PrintTo(const OpenerCase& opener, std::ostream* out) { *out << opener.name; }
};

class OpenFile : public RealLaunch, public testing::WithParamInterface<OpenerCase> {};

TEST_P(OpenFile, DesktopOpenerGetsTheFileAndItsFailureIsTold) {
  const OpenerCase& opener = GetParam();
  const std::string bin = Home() + "/bin";
  std::filesystem::create_directories(bin);
  setenv("PATH", bin.c_str(), 1);
  const std::string game = ProfileFolder() + "notes of a game.txt";
  WriteFile(game, "not a program");
  // A staying opener writes to a named pipe, which holds it until the test reads.
  const std::string opened = Home() + "/opened";
  if (opener.stays) {
    MakeFifo(opened);
    platform::InstallLaunchService(platform::NewDesktopLaunchService(std::chrono::milliseconds(0)));
  }
  if (opener.exitStatus)
    WriteProgram(bin + "/xdg-open", kShell + "echo \"$*\" > '" + opened + "'\nexit " +
                                        std::to_string(*opener.exitStatus) + "\n");

  EXPECT_EQ(Launch(game), std::pair(opener.error, opener.reason));
  if (opener.exitStatus) {
    EXPECT_EQ(opener.stays ? ReadFifo(opened) : ReadFile(opened).value_or("nothing"), game + "\n");
  }
}

const OpenerCase kOpenerCases[] = {
    {.name = "OpenerSucceeds", .exitStatus = 0},
    {.name = "OpenerFails",
     .exitStatus = 4,
     .error = ECHILD,
     .reason = "The desktop's opener xdg-open failed with exit status 4: the action failed"},
    {.name = "OpenerStillRunningWhenItsTimeIsUp", .exitStatus = 4, .stays = true},
    {.name = "NoOpener", .error = ENOENT, .reason = "The desktop's opener xdg-open was not found"},
};

INSTANTIATE_TEST_SUITE_P(RealLaunch, OpenFile, testing::ValuesIn(kOpenerCases),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace tervix::test
