#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "prefs/Prefs.h"
#include "tests/support/FaultPlan.h"
#include "tests/support/TestRuntime.h"

namespace tervix::test {
namespace {

using Files = std::map<std::string, std::string>;

class PrefsTest : public RuntimeTest {
 protected:
  // The preferences folder's files with their contents; a name of digits
  // alone, as only the save's own files have, shows as "<digits>".
  Files Stored() const {
    Files files;
    for (const std::string& name : ListFolder(PrefsFolderPath())) {
      const bool digits = name.find_first_not_of("0123456789") == std::string::npos;
      files[digits ? "<digits>" : name] = ReadFile(PrefsFolderPath() + "/" + name).value_or("?");
    }
    return files;
  }
};

std::string LoadedByTheNextRun() {
  FILE* reader = popen("'" PREFS_READER "'", "r");
  char buffer[256];
  const std::string output(buffer, reader != nullptr ? fread(buffer, 1, sizeof buffer, reader) : 0);
  return reader != nullptr && pclose(reader) == 0 ? output : "<reader failed>";
}

class SavedLogin : public PrefsTest, public testing::WithParamInterface<std::string> {};

// Under umask 022 the file is readable by all and writable by the player alone.
TEST_P(SavedLogin, FirstSaveLeavesExactlyItsBytesAndIsCached) {
  const mode_t playersMask = umask(022);
  Prefs::PrefLogin(GetParam());
  umask(playersMask);
  EXPECT_EQ(Stored(), (Files{{"PrefLogin", GetParam()}}));
  EXPECT_EQ(std::filesystem::status(PrefsFolderPath() + "/PrefLogin").permissions(),
            std::filesystem::perms(0644));
  EXPECT_EQ(LoadedByTheNextRun(), GetParam());
  std::filesystem::remove(PrefsFolderPath() + "/PrefLogin");
  EXPECT_FALSE(Prefs::PreferenceValue("PrefLogin").IsNil());
  EXPECT_EQ(Prefs::PrefLogin(), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Logins, SavedLogin,
                         testing::Values("player1", std::string("\xFFgate\0\xC3", 7), "x", ""));

// Each read gives at most a few bytes, as from a network file system.
struct TricklingReads : FaultPlan {
  ssize_t Read(int d, void* b, size_t n) override {
    return FaultPlan::Read(d, b, std::min(n, 4ul));
  }
};

TEST_F(PrefsTest, ValueReadOnlyInPartIsNeverGivenNorKept) {
  WriteFile(PrefsFolderPath() + "/PrefLogin", "player one");
  const auto plan = std::make_shared<TricklingReads>();
  plan->FailCall("Read", 2, EIO);
  platform::InstallFileSystem(plan);
  EXPECT_EQ(Prefs::PrefLogin(), "");
  EXPECT_EQ(HeldOpen(), std::vector<std::string>{});
  EXPECT_EQ(Prefs::PrefLogin(), "player one") << "the next load in this run";
  EXPECT_EQ(Stored(), (Files{{"PrefLogin", "player one"}}));
  EXPECT_EQ(LoadedByTheNextRun(), "player one");
}

TEST_F(PrefsTest, PlainFileWhereTheFolderShouldBeStopsEverySaveAndLoadEvenFromTheCache) {
  Prefs::PrefLogin("player1");
  std::filesystem::remove_all(PrefsFolderPath());
  WriteFile(PrefsFolderPath(), "not a folder");
  Prefs::PrefLogin("player2");
  EXPECT_TRUE(Prefs::PreferenceValue("PrefLogin").IsNil());
  EXPECT_EQ(ReadFile(PrefsFolderPath()), "not a folder");
}

// The move can fail and take the key's file with it, as on some network file systems.
struct MoveLosesItsTarget : FaultPlan {
  int Rename(Path from, Path to) override {
    if (Calls("Rename") == 0)
      FaultPlan::Unlink(to);
    return FaultPlan::Rename(from, to);
  }
};

struct Replacing {
  const char* name;
  int linkError, copyError;
  bool moveLosesTheFile;
  Files left;
  friend void PrintTo(const Replacing& replacing, std::ostream* out) { *out << replacing.name; }
};

class ReplacingSave : public PrefsTest, public testing::WithParamInterface<Replacing> {};

// Without hard links the old value is copied aside, and put back where the move lost the file.
TEST_P(ReplacingSave, GoesOnOnlyOnceTheOldValueIsKeptAside) {
  const Replacing& save = GetParam();
  Prefs::PrefLogin("old login");
  const std::shared_ptr<FaultPlan> plan = save.moveLosesTheFile
                                              ? std::make_shared<MoveLosesItsTarget>()
                                              : std::make_shared<FaultPlan>();
  plan->FailCall("Link", 1, save.linkError);
  plan->FailCall("CopyFileRange", 1, save.copyError);
  plan->FailCall("Rename", 1, save.moveLosesTheFile ? EIO : 0);
  platform::InstallFileSystem(plan);
  Prefs::PrefLogin("new login");
  EXPECT_EQ(Stored(), save.left);
  EXPECT_EQ(Prefs::PrefLogin(), save.left.begin()->second);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplacingSave,
    testing::Values(
        Replacing{"LinkFails", EIO, 0, false, {{"PrefLogin", "old login"}}},
        Replacing{"LinksRefused", EXDEV, 0, false, {{"PrefLogin", "new login"}}},
        Replacing{"LinksRefusedAndCopyFails", EXDEV, EIO, false, {{"PrefLogin", "old login"}}},
        Replacing{"MoveLosesTheKeysFile", 0, 0, true, {{"PrefLogin", "old login"}}},
        Replacing{
            "MoveLosesTheKeysFileAndTheCopyBackFails", 0, EIO, true, {{"<digits>", "old login"}}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tervix::test
