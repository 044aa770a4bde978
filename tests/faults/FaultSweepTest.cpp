#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>

#include "login/Window1.h"
#include "options/Option.h"
#include "restore/Restore.h"
#include "tests/support/FaultPlan.h"
#include "tests/support/TestRuntime.h"
#include "tests/support/UserActions.h"

namespace tervix::test {
namespace {

// Calls refused on every try, so that the sweep takes each fallback path.
using Road = std::vector<std::pair<std::string, int>>;
const Road kRoads[] = {{},
                       {{"Link", EPERM}},
                       {{"CopyFileRange", EXDEV}, {"OpenTemporary", EOPNOTSUPP}},
                       {{"Link", EPERM}, {"CopyFileRange", EXDEV}, {"OpenTemporary", EOPNOTSUPP}}};
using Calls = std::map<std::string, int>;

// Each run is in a child process so that Qt, the windows and the preference cache start fresh.
class FaultedFlow : public RuntimeTest {
 public:
  virtual void Arrange() = 0;
  virtual void Act() = 0;
  // fault is 0 for none; a run without one checks in the journal that it survives a power cut.
  virtual void Check(int fault, bool crashed) = 0;
  // A call that bypassed the file system interface would go unswept.
  virtual std::set<std::string> KindsOfCall() const = 0;
  void TestBody() override {}

  // Gives how many runs were faulted: one per fault each call of the clean run can meet, per road.
  int Sweep() {
    int cases = 0;
    std::set<std::string> swept;
    for (const Road& each : kRoads) {
      road = each;
      const std::string refused = ", with these calls refused: " + testing::PrintToString(road);
      const auto clean = Run(OnRoad(), 0, "nothing fails" + refused);
      // A road on which the flow never meets a refusal was swept already.
      const auto met = [&](const auto& refusal) { return clean->contains(refusal.first); };
      if (!clean || !std::ranges::all_of(road, met))
        continue;
      for (const auto& [operation, count] : *clean)
        for (int nth = 1; nth <= count; ++nth)
          for (int fault : {+FaultPlan::kCrash, ENOSPC, EACCES, EIO, +FaultPlan::kShortWrite}) {
            if (fault == FaultPlan::kShortWrite && operation != "Write")
              continue;
            auto faulty = OnRoad();
            faulty->FailCall(operation, nth, fault);
            const std::string call = operation + " call " + std::to_string(nth);
            const std::string what = fault == FaultPlan::kCrash ? "the launcher stops at " + call
                                     : fault > 0 ? call + " fails with " + strerrorname_np(fault)
                                                 : call + " writes half";
            cases += Run(faulty, fault, what + refused) ? 1 : 0;
            swept.insert(operation);
          }
    }
    for (const std::string& kind : KindsOfCall())
      EXPECT_TRUE(swept.contains(kind)) << "no " << kind << " call was ever made to fail";
    return cases;
  }

 protected:
  std::shared_ptr<FaultPlan> plan;

  // A copy has its source's permission bits, and a file left as it was keeps its own.
  void ExpectModes(const std::string& folder, const std::map<std::string, mode_t>& modes) const {
    for (const std::string& name : ListFolder(folder)) {
      const std::string content = ReadFile(folder + "/" + name).value_or("<missing>");
      struct stat status {};
      ASSERT_EQ(lstat((folder + "/" + name).c_str(), &status), 0) << name;
      EXPECT_TRUE(!modes.contains(content) || status.st_mode == (S_IFREG | modes.at(content)))
          << name << " holding " << content << " has mode " << std::oct << status.st_mode;
    }
  }

  // A crash may leave a partial temporary copy only where unnamed files are refused.
  void ExpectNoTemporaryLeft(const std::string& folder, bool crashed,
                             const std::vector<std::string>& wholeCopies) const {
    const bool unnamedRefused = std::ranges::any_of(
        road, [](const auto& refusal) { return refusal.first == "OpenTemporary"; });
    for (const std::string& name : ListFolder(folder)) {
      const std::string content = ReadFile(folder + "/" + name).value_or("<missing>");
      const bool whole = plan->Calls("LinkAt") > 0 && std::ranges::count(wholeCopies, content);
      EXPECT_TRUE(!name.starts_with(".") || (crashed && (whole || unnamedRefused)))
          << "the temporary file " << name << " was left, holding: " << content;
    }
  }

  std::string faultedCall;

 private:
  std::optional<Calls> Run(std::shared_ptr<FaultPlan> runPlan, int fault, const std::string& when) {
    SCOPED_TRACE("when " + when);
    // A child starts with the parent's failures, so none is run once there is one.
    std::FILE* const calls = HasFailure() ? nullptr : std::tmpfile();
    if (calls == nullptr)
      return std::nullopt;
    std::fflush(nullptr);
    if (fork() == 0) {
      plan = runPlan;
      faultedCall = when;
      SetUp();
      Arrange();
      platform::InstallFileSystem(plan);
      bool crashed = false;
      try {
        Act();
      } catch (const SimulatedCrash&) {
        crashed = true;
      }
      platform::InstallFileSystem(nullptr);
      EXPECT_TRUE(crashed || HeldOpen().empty())
          << "left open: " << testing::PrintToString(HeldOpen());
      Check(fault, crashed);
      for (const auto& [operation, count] : plan->AllCalls())
        std::fprintf(calls, "%s %d\n", operation.c_str(), count);
      TearDown();
      std::fflush(nullptr);
      _exit(HasFailure() ? 1 : 0);
    }
    int status = -1;
    wait(&status);
    std::rewind(calls);
    Calls made;
    char operation[32];
    for (int count = 0; std::fscanf(calls, "%31s %d", operation, &count) == 2;)
      made[operation] = count;
    std::fclose(calls);
    EXPECT_EQ(status, 0) << "the run failed; its output is above";
    return status == 0 ? std::optional(made) : std::nullopt;
  }

  // A plan refusing every call the road refuses, far more calls than any flow makes.
  std::shared_ptr<FaultPlan> OnRoad() const {
    auto refusing = std::make_shared<FaultPlan>();
    for (const auto& [operation, error] : road)
      for (int nth = 1; nth <= 64; ++nth)
        refusing->FailCall(operation, nth, error);
    return refusing;
  }
  Road road;
};

constexpr const char* kExecutable = "/opt/tervix/Tervix";

class LogonFlow : public FaultedFlow {
  static constexpr const char* kProfile = "bob's profile: level 12, three ships";
  static constexpr const char* kOldBackup = "bob's backup from last week, longer than his profile";
  static constexpr const char* kStarting = "Starting gateway...";
  static constexpr const char* kSelectGame = "Select Tervix executable";
  std::string backupAtLaunch_;
  size_t journalAtLaunch_ = 0;

  std::string Backup() const { return ProfileFolder() + "bob-backup.usr"; }
  std::set<std::string> KindsOfCall() const override {
    return {"Stat",          "Lstat",  "Open",   "Fstat", "ClearNonBlocking",
            "Flock",         "Fchmod", "Read",   "Write", "CopyFileRange",
            "OpenTemporary", "Fsync",  "LinkAt", "Close", "Rename"};
  }
  void Arrange() override {
    WriteFile(ProfileFolder() + "bob.usr", kProfile);
    WriteFile(Backup(), kOldBackup);
    chmod((ProfileFolder() + "bob.usr").c_str(), 0640);
    chmod(Backup().c_str(), 0604);
    WriteFile(PrefsFolderPath() + "/PrefExecutable", kExecutable);
    StartLauncher();
    Type(Shown(Window1::kRuntimeClassName), "EditField1", "bob");
    launches().AtLaunch([this](const std::string&) {
      backupAtLaunch_ = ReadFile(Backup()).value_or("<missing>");
      journalAtLaunch_ = plan->Journal().size();
    });
  }
  void Act() override { Click(Shown(Window1::kRuntimeClassName), "BevelButton1"); }
  void Check(int fault, bool crashed) override {
    const std::string backup = ReadFile(Backup()).value_or("<missing>");
    const std::string status =
        Shown(Window1::kRuntimeClassName).ControlAs<platform::StaticText>("StaticText2")->Text();
    const auto& launched = launches().launched();
    EXPECT_EQ(ReadFile(ProfileFolder() + "bob.usr"), kProfile);
    EXPECT_TRUE(backup == kOldBackup || backup == kProfile) << "the backup holds: " << backup;
    ExpectModes(ProfileFolder(), {{kProfile, 0640}, {kOldBackup, 0604}});
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
      EXPECT_TRUE(message.style == 48 && message.title.empty()) << message.text;
      shown += message.text + "|";
    }
    const std::string kept =
        "Backup failed (" + std::string(std::strerror(fault)) + "). Your old backup was kept.|";
    EXPECT_EQ(shown, missing              ? "This gateway doesn't exists, please try again...|"
                     : backup == kProfile ? ""
                                          : kept)
        << "the backup holds: " << backup;
    // The stored game is asked for only when it could not be read; the player cancels here.
    const std::vector<std::string>& asked = dialogs().openFileTitles();
    EXPECT_TRUE(asked.empty() || (fault != 0 && asked == std::vector<std::string>{kSelectGame}))
        << testing::PrintToString(asked);
    EXPECT_TRUE(missing || launched == std::vector<std::string>{kExecutable} || !asked.empty())
        << "the known game was not started";
    EXPECT_TRUE(fault != 0 || backup == kProfile) << "a logon where nothing failed made no backup";
    EXPECT_TRUE(launched.empty() || backupAtLaunch_ == backup)
        << "the game started while the backup held: " << backupAtLaunch_;
    if (fault == 0) {
      EXPECT_TRUE(ReplacedDurably(std::span(plan->Journal()).first(journalAtLaunch_), {Backup()}))
          << "by the launch";
    }
  }
};

template <bool withOldTrashed, bool restoredBefore = false>
class RestoreFlow : public FaultedFlow {
  static constexpr const char* kBackup = "alice's backup, the one she wants back";
  static constexpr const char* kProfile =
      restoredBefore ? kBackup : "alice's profile as she plays it now";
  static constexpr const char* kOldTrash = withOldTrashed ? "an old trashed profile" : "<missing>";

  std::string Read(const std::string& name) const {
    return ReadFile(ProfileFolder() + "alice" + name + ".usr").value_or("<missing>");
  }
  // A profile restored before is a copy of the backup, with its permission bits.
  const std::map<std::string, mode_t> modes_{
      {kProfile, restoredBefore ? 0604 : 0640}, {kBackup, 0604}, {kOldTrash, 0620}};

  // A profile that already is the backup is only compared with it.
  std::set<std::string> KindsOfCall() const override {
    std::set<std::string> kinds{"Stat",  "Open", "Fstat", "ClearNonBlocking",
                                "Flock", "Read", "Close"};
    if (!restoredBefore)
      kinds.insert({"Lstat", "Fchmod", "Write", "CopyFileRange", "OpenTemporary", "Fsync", "LinkAt",
                    "Rename"});
    return kinds;
  }
  void Arrange() override {
    WriteFile(ProfileFolder() + "alice.usr", kProfile);
    WriteFile(ProfileFolder() + "alice-backup.usr", kBackup);
    if (withOldTrashed)
      WriteFile(ProfileFolder() + "alice-trashed.usr", kOldTrash);
    chmod((ProfileFolder() + "alice.usr").c_str(), modes_.at(kProfile));
    chmod((ProfileFolder() + "alice-backup.usr").c_str(), modes_.at(kBackup));
    chmod((ProfileFolder() + "alice-trashed.usr").c_str(), modes_.at(kOldTrash));
    WriteFile(PrefsFolderPath() + "/PrefLogin", "alice");
    StartLauncher();
    Click(Shown(Window1::kRuntimeClassName), "BevelButton2");
  }
  void Act() override { Click(Shown(Restore::kRuntimeClassName), "BevelYES"); }
  void Check(int fault, bool crashed) override {
    const std::string current = Read(""), trashed = Read("-trashed"), terminal = RestoreTerminal();
    const bool done = terminal.find("Restore done !!!") != std::string::npos;
    const bool failed =
        terminal.find("Restore failed, your gateway was left as it was.") != std::string::npos;
    EXPECT_EQ(Read("-backup"), kBackup);
    ExpectModes(ProfileFolder(), modes_);
    EXPECT_TRUE(current == kProfile || (current == kBackup && trashed == kProfile))
        << "alice's profile is lost; the profile holds: " << current << "; trashed: " << trashed;
    EXPECT_TRUE(trashed == kOldTrash || trashed == kProfile) << "trashed holds: " << trashed;
    EXPECT_TRUE(!done || current == kBackup)
        << "the terminal says the restore is done, yet the profile holds: " << current;
    EXPECT_TRUE(!restoredBefore || fault != 0 || trashed == kOldTrash)
        << "restoring the backup over itself replaced the trashed profile with: " << trashed;
    EXPECT_TRUE(!failed || current == kProfile)
        << "the terminal says the restore failed, yet the profile holds: " << current;
    EXPECT_TRUE(done || fault != 0) << terminal;
    ExpectNoTemporaryLeft(ProfileFolder(), crashed, {kProfile, kBackup});
    EXPECT_TRUE(crashed || done || failed || (current == kProfile && trashed == kOldTrash))
        << "a press that reached no file step changed the files";
    if (fault == 0 && !restoredBefore) {
      EXPECT_TRUE(ReplacedDurably(
          plan->Journal(), {ProfileFolder() + "alice-trashed.usr", ProfileFolder() + "alice.usr"}));
    }
  }
};

template <bool storedBefore>
class LoginSaveFlow : public FaultedFlow {
  static constexpr const char* kNewLogin = "bob the builder";
  const std::optional<std::string> before_ = storedBefore ? std::optional("alice") : std::nullopt;

  std::set<std::string> KindsOfCall() const override {
    std::set<std::string> kinds{"Stat", "Open", "Write", "Fsync", "Close", "Rename"};
    if (storedBefore)
      kinds.insert({"Link", "Lstat", "Unlink"});
    return kinds;
  }
  void Arrange() override {
    if (before_) {
      WriteFile(PrefsFolderPath() + "/PrefLogin", *before_);
      chmod((PrefsFolderPath() + "/PrefLogin").c_str(), 0604);
    }
    StartLauncher();
    ChooseMenu("Pref");
    Type(Shown(Option::kRuntimeClassName), "EditField1", std::string(5, '\b') + kNewLogin);
  }
  void Act() override { Focus(Shown(Option::kRuntimeClassName), "Executable"); }
  void Check(int fault, bool crashed) override {
    const std::optional<std::string> stored = ReadFile(PrefsFolderPath() + "/PrefLogin");
    EXPECT_TRUE(stored == before_ || stored == kNewLogin) << stored.value_or("<missing>");
    EXPECT_TRUE(fault != 0 || stored == kNewLogin) << stored.value_or("<missing>");
    // The old value keeps its bits; the new one's are the save's to choose.
    ExpectModes(PrefsFolderPath(), {{before_.value_or("<none>"), 0604}});
    ExpectNoTemporaryLeft(PrefsFolderPath(), crashed, {before_.value_or("<none>")});
    EXPECT_TRUE(crashed || Prefs::PrefLogin() == stored.value_or(""))
        << "this run goes on with " << Prefs::PrefLogin() << ", not the login on disk";
    // Only a file the save could not remove may stay beside the login's.
    const bool removalRefused =
        faultedCall.starts_with("Lstat") || faultedCall.starts_with("Unlink");
    const auto keys = stored ? std::vector<std::string>{"PrefLogin"} : std::vector<std::string>{};
    EXPECT_TRUE(crashed || removalRefused || ListFolder(PrefsFolderPath()) == keys)
        << "left in the folder: " << testing::PrintToString(ListFolder(PrefsFolderPath()));
    if (fault == 0) {
      EXPECT_TRUE(ReplacedDurably(plan->Journal(), {PrefsFolderPath() + "/PrefLogin"}));
    }
  }
};

TEST(FaultSweepTest, LogonKeepsAWholeBackupAndTellsTheTruthWhateverFails) {
  EXPECT_GE(LogonFlow().Sweep(), 40);
}

TEST(FaultSweepTest, RestoreKeepsEveryProfileAndTellsTheTruthWhateverFails) {
  EXPECT_GE(RestoreFlow<true>().Sweep(), 80) << "with an earlier trashed profile";
  EXPECT_GE(RestoreFlow<false>().Sweep(), 80) << "with no trashed profile yet";
}

TEST(FaultSweepTest, SecondRestoreKeepsTheTrashedProfileUnlessTheComparisonFails) {
  EXPECT_GE((RestoreFlow<true, true>().Sweep()), 80);
}

TEST(FaultSweepTest, LoginSaveLeavesTheOldOrTheNewLoginWhateverFails) {
  EXPECT_GE(LoginSaveFlow<true>().Sweep(), 80) << "over a stored login";
  EXPECT_GE(LoginSaveFlow<false>().Sweep(), 50) << "with no login stored yet";
}

}  // namespace
}  // namespace tervix::test
