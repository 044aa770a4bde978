#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "login/Window1.h"
#include "restore/Restore.h"
#include "tests/support/FaultPlan.h"
#include "tests/support/TestRuntime.h"
#include "tests/support/UserActions.h"

namespace tervix::test {
namespace {

constexpr const char* kProfile = "alice's profile as she plays it now";
constexpr const char* kBackup = "alice's backup, the one she wants back";

// What a launcher's player presses: "Yes" in the restore window, or "Logon".
enum class Press { kRestore, kLogon };

// A pipe between the test and the launchers it starts, one byte a message.
class Pipe {
 public:
  Pipe() { EXPECT_EQ(pipe2(ends_, O_CLOEXEC), 0); }
  // An end already closed is -1, which close refuses harmlessly.
  ~Pipe() { close(ends_[0]), close(ends_[1]); }
  void Send() { EXPECT_EQ(write(ends_[1], "!", 1), 1) << "cannot write to the pipe"; }
  // Waits for the next message; false once no process can send any more.
  bool Receive() {
    close(ends_[1]);
    ends_[1] = -1;
    char message = 0;
    return read(ends_[0], &message, 1) == 1;
  }

 private:
  int ends_[2] = {-1, -1};
};

class Launcher : public RuntimeTest {
 public:
  void TestBody() override {}
  // Presses with plan as the file system, checks that the player was told
  // of no failure, and ends the process.
  [[noreturn]] void Run(const std::string& home, Press press, std::shared_ptr<FaultPlan> plan) {
    SetUp();
    setenv("HOME", home.c_str(), 1);
    Prefs::PrefLogin("alice");
    Prefs::PrefExecutable("/opt/tervix/Tervix");
    StartLauncher();
    if (press == Press::kRestore)
      Click(Shown(Window1::kRuntimeClassName), "BevelButton2");
    platform::InstallFileSystem(plan);
    if (press == Press::kRestore)
      Click(Shown(Restore::kRuntimeClassName), "BevelYES");
    else
      Click(Shown(Window1::kRuntimeClassName), "BevelButton1");
    platform::InstallFileSystem(nullptr);
    const std::string terminal = RestoreTerminal();
    EXPECT_TRUE(press == Press::kLogon || terminal.find("Restore done !!!") != std::string::npos)
        << terminal;
    for (const ShownMessage& message : dialogs().messages())
      ADD_FAILURE() << "Logon told: " << message.text;
    TearDown();
    std::fflush(nullptr);
    _exit(HasFailure() ? 1 : 0);
  }
};

// What the profile folder may hold once both are done, in one order the two can take turns in.
struct TwoLaunchers {
  const char* name;
  Press first, second;
  std::vector<std::string> outcomes;
  friend void PrintTo(const TwoLaunchers& launchers, std::ostream* out) { *out << launchers.name; }
};

const std::string kRestoredOnce = "backup=backup trashed=profile current=backup";
const std::string kBackedUpFirst = "backup=profile current=profile";
const TwoLaunchers kTwoLaunchers[] = {
    {"TwoRestores", Press::kRestore, Press::kRestore, {kRestoredOnce}},
    {"RestoreThenLogon", Press::kRestore, Press::kLogon, {kRestoredOnce, kBackedUpFirst}},
    {"LogonThenRestore", Press::kLogon, Press::kRestore, {kRestoredOnce, kBackedUpFirst}},
};

class TwoLaunchersTest : public ScratchFolderTest,
                         public testing::WithParamInterface<TwoLaunchers> {
 protected:
  pid_t Start(Press press, std::shared_ptr<FaultPlan> plan) {
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0)
      Launcher().Run(Home(), press, std::move(plan));
    return child;
  }
  static bool EndedWell(pid_t child) {
    int status = -1;
    return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }
  // The folder's files in the form of the outcomes.
  std::string Outcome() const {
    std::string files;
    for (const std::string& name : ListFolder(ProfileFolder())) {
      const std::string content = ReadFile(ProfileFolder() + name).value_or("<unreadable>");
      std::string kind = name == "alice.usr" ? "current" : name.substr(0, name.rfind(".usr"));
      if (!files.empty())
        files += ' ';
      files.append(kind.substr(kind.find('-') + 1)).append("=");
      files.append(content == kProfile ? "profile" : content == kBackup ? "backup" : content);
    }
    return files;
  }
};

// The first launcher stops at each of its file calls in turn, and once after it ends, and the
// second starts there; the first goes on once the second waits for the folder or has ended.
TEST_P(TwoLaunchersTest, ProfileFromBeforeTheFirstRestoreSurvivesWhereverTheSecondStarts) {
  const TwoLaunchers& launchers = GetParam();
  bool firstEnded = false;
  for (int call = 1; !firstEnded && !HasFailure(); ++call) {
    SCOPED_TRACE(std::string("the second starts at the first's file call ") + std::to_string(call));
    std::filesystem::remove(ProfileFolder() + "alice-trashed.usr");
    WriteFile(ProfileFolder() + "alice.usr", kProfile);
    WriteFile(ProfileFolder() + "alice-backup.usr", kBackup);

    Pipe paused, resume;
    auto firstPlan = std::make_shared<FaultPlan>();
    firstPlan->OnCall([&, calls = 0](FaultPlan::Path, FaultPlan::Path) mutable {
      if (++calls == call) {
        paused.Send();
        resume.Receive();
      }
    });
    const pid_t first = Start(launchers.first, firstPlan);
    firstEnded = !paused.Receive();

    Pipe waiting;
    auto secondPlan = std::make_shared<FaultPlan>();
    secondPlan->OnCall([&](FaultPlan::Path operation, FaultPlan::Path) {
      if (operation == "Flock" && secondPlan->Calls("Flock") == 1)
        waiting.Send();
    });
    const pid_t second = Start(launchers.second, secondPlan);
    waiting.Receive();
    resume.Send();

    EXPECT_TRUE(EndedWell(first)) << "the first launcher failed; its output is above";
    EXPECT_TRUE(EndedWell(second)) << "the second launcher failed; its output is above";
    const std::string outcome = Outcome();
    EXPECT_TRUE(std::ranges::count(launchers.outcomes, outcome) == 1)
        << "the profile folder holds: " << outcome;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, TwoLaunchersTest, testing::ValuesIn(kTwoLaunchers),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tervix::test
