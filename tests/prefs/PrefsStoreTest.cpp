#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "prefs/Prefs.h"
#include "tests/support/FaultPlan.h"
#include "tests/support/TestRuntime.h"

namespace tervix::test {
namespace {

using Files = std::vector<std::string>;

class PrefsTest : public RuntimeTest {
 protected:
  std::string LoginFile() const { return PrefsFolderPath() + "/PrefLogin"; }
};

// What a second run of the launcher, in a process of its own, loads for the login.
std::string LoadedByTheNextRun() {
  FILE* reader = popen("'" PREFS_READER "'", "r");
  char buffer[256];
  const std::string output(buffer, reader != nullptr ? fread(buffer, 1, sizeof buffer, reader) : 0);
  return reader != nullptr && pclose(reader) == 0 ? output : "<reader failed>";
}

class SavedLogin : public PrefsTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(SavedLogin, FirstSaveLeavesExactlyItsBytesAndIsCached) {
  const auto plan = FaultPlan::Install();
  Prefs::PrefLogin(GetParam());
  EXPECT_EQ(plan->Calls("Link") + plan->Calls("CopyFileRange"), 0) << "no old value to copy";
  EXPECT_EQ(ListFolder(PrefsFolderPath()), Files{"PrefLogin"});
  EXPECT_EQ(ReadFile(LoginFile()), GetParam());
  EXPECT_EQ(LoadedByTheNextRun(), GetParam());
  std::filesystem::remove(LoginFile());
  EXPECT_FALSE(Prefs::PreferenceValue("PrefLogin").IsNil());
  EXPECT_EQ(Prefs::PrefLogin(), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Logins, SavedLogin,
                         ::testing::Values("player1", std::string("\xFFgate\0\xC3", 7), "x", ""));

TEST_F(PrefsTest, UnsavedKeyGivesNilAndIsLookedForAgainLater) {
  EXPECT_TRUE(Prefs::PreferenceValue("PrefLogin").IsNil());
  WriteFile(LoginFile(), "left by another run");
  EXPECT_EQ(Prefs::PrefLogin(), "left by another run");
}

// Each read gives at most a few bytes, as from a network file system.
struct TricklingReads : FaultPlan {
  ssize_t Read(int d, void* b, size_t n) override {
    return FaultPlan::Read(d, b, std::min(n, 4ul));
  }
};

TEST_F(PrefsTest, ValueReadOnlyInPartIsNeverGivenNorKept) {
  WriteFile(LoginFile(), "player one");
  const auto plan = std::make_shared<TricklingReads>();
  plan->FailCall("Read", 2, EIO);
  platform::InstallFileSystem(plan);
  EXPECT_EQ(Prefs::PrefLogin(), "");
  EXPECT_EQ(HeldOpen(), Files{});
  EXPECT_EQ(Prefs::PrefLogin(), "player one") << "the next load in this run";
  EXPECT_EQ(ReadFile(LoginFile()), "player one");
  EXPECT_EQ(LoadedByTheNextRun(), "player one");
}

TEST_F(PrefsTest, CachedValueIsNotGivenWhileTheFolderCannotBeHad) {
  Prefs::PrefLogin("player1");
  std::filesystem::rename(ConfigHome(), ConfigHome() + "-away");
  EXPECT_TRUE(Prefs::PreferenceValue("PrefLogin").IsNil());
}

TEST_F(PrefsTest, PlainFileWhereTheFolderShouldBeStopsEverySaveAndLoad) {
  WriteFile(PrefsFolderPath(), "not a folder");
  Prefs::PrefLogin("player1");
  EXPECT_TRUE(Prefs::PreferenceValue("PrefLogin").IsNil());
  EXPECT_EQ(ReadFile(PrefsFolderPath()), "not a folder");
}

struct OldValueAside {
  const char* name;
  int linkError;
  int copyError;  // 0 when the copy works
  const char* stored;
};
void PrintTo(const OldValueAside& aside, std::ostream* out) {
  *out << aside.name;
}

class ReplacingSave : public PrefsTest, public ::testing::WithParamInterface<OldValueAside> {};

// File systems without hard links refuse the old value a second name; it is copied instead.
TEST_P(ReplacingSave, GoesOnOnlyOnceTheOldValueIsKeptAside) {
  Prefs::PrefLogin("old login");
  const auto plan = FaultPlan::Install();
  plan->FailCall("Link", 1, GetParam().linkError);
  if (GetParam().copyError != 0)
    plan->FailCall("CopyFileRange", 1, GetParam().copyError);
  Prefs::PrefLogin("new login");
  EXPECT_EQ(ReadFile(LoginFile()), GetParam().stored);
  EXPECT_EQ(Prefs::PrefLogin(), GetParam().stored);
  EXPECT_EQ(ListFolder(PrefsFolderPath()), Files{"PrefLogin"});
}

INSTANTIATE_TEST_SUITE_P(Cases, ReplacingSave,
                         ::testing::Values(OldValueAside{"LinkFails", EIO, 0, "old login"},
                                           OldValueAside{"LinksRefused", EXDEV, 0, "new login"},
                                           OldValueAside{"LinksRefusedAndCopyFails", EXDEV, EIO,
                                                         "old login"}),
                         [](const auto& info) { return std::string(info.param.name); });

// The move fails and takes the key's file with it, as on some network file systems.
class MoveLosesItsTarget : public FaultPlan {
 public:
  MoveLosesItsTarget() { FailCall("Rename", 1, EIO); }
  int Rename(const std::string& from, const std::string& to) override {
    if (Calls("Rename") == 0)
      FaultPlan::Unlink(to);
    return FaultPlan::Rename(from, to);
  }
};

TEST_F(PrefsTest, OldValueIsCopiedBackWhenTheMoveLosesTheKeysFile) {
  Prefs::PrefLogin("old login");
  platform::InstallFileSystem(std::make_shared<MoveLosesItsTarget>());
  Prefs::PrefLogin("new login");
  EXPECT_EQ(ReadFile(LoginFile()), "old login");
  EXPECT_EQ(Prefs::PrefLogin(), "old login");
  EXPECT_EQ(ListFolder(PrefsFolderPath()), Files{"PrefLogin"});
}

TEST_F(PrefsTest, OldValueStaysUnderItsRandomNameWhenTheCopyBackFailsToo) {
  Prefs::PrefLogin("old login");
  const auto plan = std::make_shared<MoveLosesItsTarget>();
  plan->FailCall("CopyFileRange", 1, EIO);
  platform::InstallFileSystem(plan);
  Prefs::PrefLogin("new login");
  const Files files = ListFolder(PrefsFolderPath());
  ASSERT_EQ(files.size(), 1u) << ::testing::PrintToString(files);
  EXPECT_EQ(files[0].find_first_not_of("0123456789"), std::string::npos) << files[0];
  EXPECT_EQ(ReadFile(PrefsFolderPath() + "/" + files[0]), "old login");
}

}  // namespace
}  // namespace tervix::test
