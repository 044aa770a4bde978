#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "login/Window1.h"
#include "options/Option.h"
#include "restore/Restore.h"
#include "tests/support/FaultPlan.h"
#include "tests/support/TestRuntime.h"
#include "tests/support/UserActions.h"

namespace tervix::test {
namespace {

// Where every call of an operation is refused, as where files get no second
// name, the kernel cannot copy or unnamed files cannot be made, the flows take
// other paths. Copying in the kernel and into an unnamed file go together, as
// do copying by read and write and into a named file, so that each is swept.
using Road = std::vector<std::pair<std::string, int>>;
const Road kRoads[] = {{},
                       {{"Link", EPERM}},
                       {{"CopyFileRange", EXDEV}, {"OpenTemporary", EOPNOTSUPP}},
                       {{"Link", EPERM}, {"CopyFileRange", EXDEV}, {"OpenTemporary", EOPNOTSUPP}}};

// A flow of the launcher that a sweep runs again and again, each run in a
// child process of its own, so that process-wide state (the Qt application,
// the windows, the preference cache) starts fresh every time. The sweeping
// process only constructs the flow; each child sets it up on its own copy.
class FaultedFlow : public RuntimeTest {
 public:
  // Sets the scene and starts the launcher, after SetUp.
  virtual void Arrange() = 0;
  // The player's action, with the fault plan in place.
  virtual void Act() = 0;
  // Judges what the player saw and what is on disk; faulted is false for a
  // run the plan did not fault, crashed true when the action stopped as a crash.
  // Since a crash cannot show what a power cut loses, a run without faults
  // also checks in the plan's journal that what it replaced survives one.
  virtual void Check(bool faulted, bool crashed) = 0;
  using RuntimeTest::SetUp, RuntimeTest::TearDown, RuntimeTest::HeldOpen;
  void TestBody() override {}

  // The plan of the run and the calls its road refuses, set for each run.
  std::shared_ptr<FaultPlan> plan;
  Road road;
  std::string fault;  // what the run made fail, as the sweep names it

 protected:
  // A copy's temporary file has a hidden name. A failure leaves none, and a
  // crash leaves one only once the copy has its name, which it gets when it is
  // whole; only where unnamed files are refused may it be partial.
  void ExpectNoTemporaryLeft(const std::string& folder, bool crashed,
                             const std::vector<std::string>& wholeCopies) const {
    const bool unnamedRefused = std::ranges::any_of(
        road, [](const auto& refusal) { return refusal.first == "OpenTemporary"; });
    for (const std::string& name : ListFolder(folder)) {
      const std::string content = ReadFile(folder + "/" + name).value_or("<missing>");
      const bool whole =
          plan->Calls("LinkAt") > 0 && std::ranges::find(wholeCopies, content) != wholeCopies.end();
      EXPECT_TRUE(!name.starts_with(".") || (crashed && (whole || unnamedRefused)))
          << "the temporary file " << name << " was left, holding: " << content;
    }
  }
};

using Plans = std::map<std::string, std::shared_ptr<FaultPlan>>;

// Runs and checks one case in a child process of its own, whose failures
// print as the parent's. Since a child starts
// with the parent's failures, the parent runs no case once it has one.
// A run that did not stop as a crash leaves no file open, whatever failed.
// Gives the calls the case made, or nothing when it failed.
std::optional<std::map<std::string, int>> RunCase(FaultedFlow& flow,
                                                  std::shared_ptr<FaultPlan> plan, bool faulted,
                                                  const std::string& when) {
  SCOPED_TRACE("when " + when);
  std::FILE* const calls = testing::Test::HasFailure() ? nullptr : std::tmpfile();
  if (calls == nullptr)
    return std::nullopt;
  std::fflush(nullptr);
  if (fork() == 0) {
    flow.plan = plan;
    flow.fault = when;
    flow.SetUp();
    flow.Arrange();
    platform::InstallFileSystem(plan);
    bool crashed = false;
    try {
      flow.Act();
    } catch (const SimulatedCrash&) {
      crashed = true;
    }
    platform::InstallFileSystem(nullptr);
    EXPECT_TRUE(crashed || flow.HeldOpen().empty())
        << "left open: " << testing::PrintToString(flow.HeldOpen());
    flow.Check(faulted, crashed);
    for (const auto& [operation, count] : plan->AllCalls())
      std::fprintf(calls, "%s %d\n", operation.c_str(), count);
    flow.TearDown();
    std::fflush(nullptr);
    _exit(testing::Test::HasFailure() ? 1 : 0);
  }
  int status = -1;
  wait(&status);
  std::rewind(calls);
  std::map<std::string, int> made;
  char operation[32];
  for (int count = 0; std::fscanf(calls, "%31s %d", operation, &count) == 2;)
    made[operation] = count;
  std::fclose(calls);
  EXPECT_EQ(status, 0) << "the run failed; its output is above";
  return status == 0 ? std::optional(made) : std::nullopt;
}

// A plan refusing every call the road refuses, far more calls than any flow makes.
std::shared_ptr<FaultPlan> PlanOn(const Road& road) {
  auto plan = std::make_shared<FaultPlan>();
  for (const auto& [operation, error] : road)
    for (int nth = 1; nth <= 64; ++nth)
      plan->FailCall(operation, nth, error);
  return plan;
}

// Each call fails with ENOSPC, EACCES and EIO, a write is also cut short,
// and the process stops at the call as a crash or a power cut would.
Plans FaultsAt(const Road& road, const std::string& operation, int nth) {
  const std::string call = operation + " call " + std::to_string(nth);
  Plans plans;
  const auto plan = [&](const auto& name) -> FaultPlan& { return *(plans[name] = PlanOn(road)); };
  plan("the launcher stops at " + call).FailCall(operation, nth, FaultPlan::kCrash);
  for (int error : {ENOSPC, EACCES, EIO})
    plan(call + " fails with " + strerrorname_np(error)).FailCall(operation, nth, error);
  if (operation == "Write")
    plan(call + " writes half").FailCall(operation, nth, FaultPlan::kShortWrite);
  return plans;
}

// Runs the flow without faults, then once for every fault each file call of
// that clean run can meet: it fails with ENOSPC, EACCES or EIO, a write is cut
// short, or the process stops there as a crash would. Where files get no
// second name, the kernel cannot copy or unnamed files cannot be made, the
// flow takes other paths, which are swept as well. Checks every run; prints
// and returns how many were faulted.
int Sweep(FaultedFlow&& flow) {
  int cases = 0;
  for (const Road& road : kRoads) {
    const std::string roadName = ", with these calls refused: " + testing::PrintToString(road);
    flow.road = road;
    const auto clean = RunCase(flow, PlanOn(road), false, "nothing fails" + roadName);
    // A road on which the flow never meets a refusal was swept already.
    const auto met = [&](const auto& refusal) { return clean->count(refusal.first) > 0; };
    if (!clean || !std::all_of(road.begin(), road.end(), met))
      continue;
    for (const auto& [operation, count] : *clean)
      for (int nth = 1; nth <= count; ++nth)
        for (const auto& [name, plan] : FaultsAt(road, operation, nth))
          cases += RunCase(flow, plan, true, name + roadName) ? 1 : 0;
  }
  std::cout << "fault cases run: " << cases << "\n";
  return cases;
}

constexpr const char* kExecutable = "/opt/tervix/Tervix";
constexpr const char* kNewLogin = "bob the builder";

platform::Window& Shown(const std::string& runtimeClassName) {
  return platform::NotNil(platform::GetImplicitWindow(runtimeClassName));
}

// Bob's profile and last week's backup are on disk, the game is known from an
// earlier run, and bob presses "Logon".
class LogonFlow : public FaultedFlow {
  static constexpr const char* kProfile = "bob's profile: level 12, three ships";
  static constexpr const char* kOldBackup = "bob's backup from last week, longer than his profile";
  static constexpr const char* kStarting = "Starting gateway...";
  static constexpr const char* kSelectGame = "Select Tervix executable";
  std::string backupAtLaunch_;
  size_t journalAtLaunch_ = 0;

  std::string Backup() const { return ProfileFolder() + "bob-backup.usr"; }
  void Arrange() override {
    WriteFile(ProfileFolder() + "bob.usr", kProfile);
    WriteFile(Backup(), kOldBackup);
    WriteFile(PrefsFolderPath() + "/PrefExecutable", kExecutable);
    StartLauncher();
    Type(Shown(Window1::kRuntimeClassName), "EditField1", "bob");
    launches().AtLaunch([this](const std::string&) {
      backupAtLaunch_ = ReadFile(Backup()).value_or("<missing>");
      journalAtLaunch_ = plan->Journal().size();
    });
  }
  void Act() override { Click(Shown(Window1::kRuntimeClassName), "BevelButton1"); }
  void Check(bool faulted, bool crashed) override {
    const std::string backup = ReadFile(Backup()).value_or("<missing>");
    const std::string status =
        Shown(Window1::kRuntimeClassName).ControlAs<platform::StaticText>("StaticText2")->Text();
    const auto& launched = launches().launched();
    EXPECT_EQ(ReadFile(ProfileFolder() + "bob.usr"), kProfile);
    EXPECT_TRUE(backup == kOldBackup || backup == kProfile) << "the backup holds: " << backup;
    EXPECT_TRUE(!crashed || status != kStarting || backup == kProfile)
        << "\"Starting gateway...\" was shown before the backup was made";
    ExpectNoTemporaryLeft(ProfileFolder(), crashed, {kProfile});
    if (crashed)
      return;
    EXPECT_EQ(ListFolder(ProfileFolder()), (std::vector<std::string>{"bob-backup.usr", "bob.usr"}));
    const bool missing = status == "Please enter your gateway login...";
    EXPECT_TRUE(missing ? backup == kOldBackup && launched.empty() : status == kStarting) << status;
    std::string shown;
    for (const ShownMessage& message : dialogs().messages()) {
      EXPECT_EQ(message.style, 48) << message.text;
      EXPECT_EQ(message.title, "") << message.text;
      shown += message.text + "|";
    }
    if (missing || backup == kProfile) {
      EXPECT_EQ(shown, missing ? "This gateway doesn't exists, please try again...|" : "");
    } else {
      const auto told = [&](int error) {
        return shown == "Backup failed (" + std::string(std::strerror(error)) +
                            "). Your old backup was kept.|";
      };
      EXPECT_TRUE(told(ENOSPC) || told(EACCES) || told(EIO))
          << "the backup was not replaced, and the player was told: " << shown;
    }
    // The stored game is asked for only when it could not be read; the player
    // cancels here, and only then goes without the game.
    const std::vector<std::string>& asked = dialogs().openFileTitles();
    EXPECT_TRUE(asked.empty() || (faulted && asked == std::vector<std::string>{kSelectGame}))
        << testing::PrintToString(asked);
    EXPECT_TRUE(missing || launched == std::vector<std::string>{kExecutable} || !asked.empty())
        << "the known game was not started";
    EXPECT_TRUE(faulted || backup == kProfile) << "a logon where nothing failed made no backup";
    EXPECT_TRUE(launched.empty() || backupAtLaunch_ == backup)
        << "the game started while the backup held: " << backupAtLaunch_;
    if (!faulted) {
      EXPECT_TRUE(ReplacedDurably(std::span(plan->Journal()).first(journalAtLaunch_), {Backup()}))
          << "by the launch";
    }
  }
};

// Alice's profile and her backup are on disk, perhaps with a trashed copy
// from an earlier restore, after which her profile may already be the backup;
// she opens the restore window and presses "Yes".
template <bool withOldTrashed, bool restoredBefore = false>
class RestoreFlow : public FaultedFlow {
  static constexpr const char* kBackup = "alice's backup, the one she wants back";
  static constexpr const char* kProfile =
      restoredBefore ? kBackup : "alice's profile as she plays it now";
  static constexpr const char* kOldTrash = withOldTrashed ? "an old trashed profile" : "<missing>";

  std::string Read(const std::string& name) const {
    return ReadFile(ProfileFolder() + "alice" + name + ".usr").value_or("<missing>");
  }
  void Arrange() override {
    WriteFile(ProfileFolder() + "alice.usr", kProfile);
    WriteFile(ProfileFolder() + "alice-backup.usr", kBackup);
    if (withOldTrashed)
      WriteFile(ProfileFolder() + "alice-trashed.usr", kOldTrash);
    WriteFile(PrefsFolderPath() + "/PrefLogin", "alice");
    StartLauncher();
    Click(Shown(Window1::kRuntimeClassName), "BevelButton2");
  }
  void Act() override { Click(Shown(Restore::kRuntimeClassName), "BevelYES"); }
  void Check(bool faulted, bool crashed) override {
    const std::string current = Read(""), trashed = Read("-trashed"), terminal = RestoreTerminal();
    const bool done = terminal.find("Restore done !!!") != std::string::npos;
    const bool failed =
        terminal.find("Restore failed, your gateway was left as it was.") != std::string::npos;
    EXPECT_EQ(Read("-backup"), kBackup);
    EXPECT_TRUE(current == kProfile || (current == kBackup && trashed == kProfile))
        << "alice's profile is lost; the profile holds: " << current << "; trashed: " << trashed;
    EXPECT_TRUE(trashed == kOldTrash || trashed == kProfile) << "trashed holds: " << trashed;
    EXPECT_TRUE(!done || current == kBackup)
        << "the terminal says the restore is done, yet the profile holds: " << current;
    EXPECT_TRUE(!restoredBefore || faulted || trashed == kOldTrash)
        << "restoring the backup over itself replaced the trashed profile with: " << trashed;
    EXPECT_TRUE(!failed || current == kProfile)
        << "the terminal says the restore failed, yet the profile holds: " << current;
    EXPECT_TRUE(done || faulted) << terminal;
    ExpectNoTemporaryLeft(ProfileFolder(), crashed, {kProfile, kBackup});
    EXPECT_TRUE(crashed || done || failed || (current == kProfile && trashed == kOldTrash))
        << "a press that reached no file step changed the files";
    EXPECT_TRUE(crashed || ListFolder(ProfileFolder()).size() == (trashed == "<missing>" ? 2u : 3u))
        << "a temporary file was left: " << testing::PrintToString(ListFolder(ProfileFolder()));
    if (!faulted && !restoredBefore) {
      EXPECT_TRUE(ReplacedDurably(
          plan->Journal(), {ProfileFolder() + "alice-trashed.usr", ProfileFolder() + "alice.usr"}));
    }
  }
};

// The player opens the preferences window, replaces the login shown with a
// new one and moves on to the executable field, which saves the login.
template <bool storedBefore>
class LoginSaveFlow : public FaultedFlow {
  const std::optional<std::string> before_ = storedBefore ? std::optional("alice") : std::nullopt;

  void Arrange() override {
    if (before_)
      WriteFile(PrefsFolderPath() + "/PrefLogin", *before_);
    StartLauncher();
    ChooseMenu("Pref");
    Type(Shown(Option::kRuntimeClassName), "EditField1", std::string(5, '\b') + kNewLogin);
  }
  void Act() override { Focus(Shown(Option::kRuntimeClassName), "Executable"); }
  void Check(bool faulted, bool crashed) override {
    const std::optional<std::string> stored = ReadFile(PrefsFolderPath() + "/PrefLogin");
    EXPECT_TRUE(stored == before_ || stored == kNewLogin) << stored.value_or("<missing>");
    EXPECT_TRUE(faulted || stored == kNewLogin) << stored.value_or("<missing>");
    ExpectNoTemporaryLeft(PrefsFolderPath(), crashed, {before_.value_or("<none>")});
    EXPECT_TRUE(crashed || Prefs::PrefLogin() == stored.value_or(""))
        << "this run goes on with " << Prefs::PrefLogin() << ", not the login on disk";
    // Only a file the save could not remove may stay beside the login's.
    const bool removalRefused = fault.starts_with("Lstat") || fault.starts_with("Unlink");
    std::vector<std::string> keys;
    if (stored)
      keys.push_back("PrefLogin");
    EXPECT_TRUE(crashed || removalRefused || ListFolder(PrefsFolderPath()) == keys)
        << "left in the folder: " << testing::PrintToString(ListFolder(PrefsFolderPath()));
    if (!faulted) {
      EXPECT_TRUE(ReplacedDurably(plan->Journal(), {PrefsFolderPath() + "/PrefLogin"}));
    }
  }
};

TEST(FaultSweepTest, LogonKeepsAWholeBackupAndTellsTheTruthWhateverFails) {
  EXPECT_GE(Sweep(LogonFlow()), 40);
}

TEST(FaultSweepTest, RestoreKeepsEveryProfileAndTellsTheTruthWhateverFails) {
  EXPECT_GE(Sweep(RestoreFlow<true>()), 80) << "with an earlier trashed profile";
  EXPECT_GE(Sweep(RestoreFlow<false>()), 80) << "with no trashed profile yet";
}

TEST(FaultSweepTest, SecondRestoreKeepsTheTrashedProfileUnlessTheComparisonFails) {
  EXPECT_GE(Sweep(RestoreFlow<true, true>()), 80);
}

TEST(FaultSweepTest, LoginSaveLeavesTheOldOrTheNewLoginWhateverFails) {
  EXPECT_GE(Sweep(LoginSaveFlow<true>()), 80) << "over a stored login";
  EXPECT_GE(Sweep(LoginSaveFlow<false>()), 50) << "with no login stored yet";
}

// A file system on which the Nth look at a path with the given end fails with EIO.
struct BlinkingPath : FaultPlan {
  BlinkingPath(std::string end, int nth) : end(std::move(end)), nth(nth) {}
  int Stat(Path path, struct stat* status) override {
    if (path.ends_with(end) && --nth == 0)
      FailCall("Stat", Calls("Stat") + 1, EIO);
    return FaultPlan::Stat(path, status);
  }
  std::string end;
  int nth;
};

// Logon reads the known game's path twice; the second read failing for a
// moment must not leave the player with "Starting gateway..." and no game.
TEST(MomentaryFailureTest, LogonStartsTheKnownGameWhenThePreferencesFolderBlinks) {
  LogonFlow flow;
  RunCase(flow, std::make_shared<BlinkingPath>("/config", 2), false, "the folder blinks");
}

// The third look at the login's file is the one right after the rename that
// put the new login in place; the save is done, and this run must use it.
TEST(MomentaryFailureTest, SavedLoginIsUsedAtOnceWhenItsFileBlinksAfterTheMove) {
  LoginSaveFlow<true> flow;
  RunCase(flow, std::make_shared<BlinkingPath>("/PrefLogin", 3), false, "the file blinks");
}

}  // namespace

}  // namespace tervix::test
