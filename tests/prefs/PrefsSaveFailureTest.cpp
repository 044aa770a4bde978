#include <cerrno>
#include <cstring>
#include <functional>
#include <map>

#include "prefs/Prefs.h"
#include "tests/prefs/PrefsTest.h"
#include "tests/support/FaultPlan.h"

namespace tervix::test {
namespace {

using Files = std::vector<std::string>;

struct SaveFault {
  const char* name;
  std::function<void(FaultPlan&)> arrange;
};

void PrintTo(const SaveFault& fault, std::ostream* out) {
  *out << fault.name;
}

class FailedSave : public PrefsTest, public ::testing::WithParamInterface<SaveFault> {};

TEST_P(FailedSave, KeepsTheOldValueOnDiskAndInTheCacheAndLeavesNoWorkingFiles) {
  Prefs::PrefLogin("old login");
  GetParam().arrange(*FaultPlan::Install());
  Prefs::PrefLogin("new login");
  EXPECT_EQ(Stored("PrefLogin"), "old login");
  EXPECT_EQ(Prefs::PrefLogin(), "old login");
  EXPECT_EQ(FilesInFolder(), Files{"PrefLogin"});
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FailedSave,
    ::testing::Values(
        SaveFault{"NewValueFileNotCreated",
                  [](FaultPlan& plan) { plan.FailCall("Open", 1, ENOSPC); }},
        SaveFault{"WriteFails", [](FaultPlan& plan) { plan.FailCall("Write", 1, ENOSPC); }},
        SaveFault{"ShortWriteOnAFullDisk",
                  [](FaultPlan& plan) {
                    plan.ShortWrite(1);
                    plan.FailCall("Write", 2, ENOSPC);
                  }},
        SaveFault{"NewValueNotFlushed", [](FaultPlan& plan) { plan.FailCall("Fsync", 1, EIO); }},
        SaveFault{"OldValueNotLinkedAside", [](FaultPlan& plan) { plan.FailCall("Link", 1, EIO); }},
        SaveFault{"OldValueNotCopiedAsideWhereLinksAreRefused",
                  [](FaultPlan& plan) {
                    plan.FailCall("Link", 1, EXDEV);
                    plan.FailCall("CopyFileRange", 1, EIO);
                  }},
        SaveFault{"MoveFails", [](FaultPlan& plan) { plan.FailCall("Rename", 1, EIO); }}),
    [](const auto& info) { return std::string(info.param.name); });

// File systems without hard links (FAT, some network shares), a file at its
// link limit, or a kernel that protects hard links all refuse the second name.
class LinkRefused : public PrefsTest, public ::testing::WithParamInterface<int> {};

TEST_P(LinkRefused, SaveGoesOnWithACopyOfTheOldValue) {
  Prefs::PrefLogin("old login");
  FaultPlan::Install()->FailCall("Link", 1, GetParam());
  Prefs::PrefLogin("new login");
  EXPECT_EQ(Stored("PrefLogin"), "new login");
  EXPECT_EQ(Prefs::PrefLogin(), "new login");
  EXPECT_EQ(FilesInFolder(), Files{"PrefLogin"});
}

INSTANTIATE_TEST_SUITE_P(Errors, LinkRefused, ::testing::Values(EXDEV, EPERM, EOPNOTSUPP, EMLINK),
                         [](const auto& info) { return std::string(strerrorname_np(info.param)); });

TEST_F(PrefsTest, TakenRandomNameIsNotReusedButAnotherIsDrawn) {
  Prefs::PrefLogin("old login");
  FaultPlan::Install()->FailCall("Open", 1, EEXIST);
  Prefs::PrefLogin("new login");
  EXPECT_EQ(Stored("PrefLogin"), "new login");
  EXPECT_EQ(FilesInFolder(), Files{"PrefLogin"});
}

TEST_F(PrefsTest, FailedFirstSaveLeavesNoValue) {
  FaultPlan::Install()->FailCall("Rename", 1, EIO);
  Prefs::PrefLogin("new login");
  EXPECT_EQ(FilesInFolder(), Files{});
  EXPECT_EQ(Prefs::PrefLogin(), "");
}

// A file system on which a rename onto one path can lose that path's file, as
// some network file systems do, or simply fail. Renames are counted per path.
class UnreliableRename : public FaultPlan {
 public:
  enum class Outcome { LosesDestination, Fails };
  explicit UnreliableRename(std::string path) : path_(std::move(path)) {}
  void On(int nth, Outcome outcome) { outcomes_[nth] = outcome; }
  int Rename(const std::string& from, const std::string& to) override {
    const auto found = to == path_ ? outcomes_.find(++renames_) : outcomes_.end();
    if (found == outcomes_.end())
      return FaultPlan::Rename(from, to);
    if (found->second == Outcome::LosesDestination)
      FaultPlan::Unlink(to);
    errno = EIO;
    return -1;
  }

 private:
  std::string path_;
  std::map<int, Outcome> outcomes_;
  int renames_ = 0;
};

// The old value was left by an earlier run, so this process has not cached it.
class LostKeyFile : public PrefsTest {
 protected:
  void SetUp() override {
    PrefsTest::SetUp();
    PutPreference("PrefLogin", "old login");
    // The move is the first rename onto the key's file, the copy back the second.
    rename_ = std::make_shared<UnreliableRename>(KeyPath("PrefLogin"));
    rename_->On(1, UnreliableRename::Outcome::LosesDestination);
    platform::InstallFileSystem(rename_);
  }
  std::shared_ptr<UnreliableRename> rename_;
};

TEST_F(LostKeyFile, OldValueIsCopiedBackWhenTheMoveLosesTheKeysFile) {
  Prefs::PrefLogin("new login");
  EXPECT_EQ(Stored("PrefLogin"), "old login");
  EXPECT_EQ(FilesInFolder(), Files{"PrefLogin"});
  EXPECT_EQ(Prefs::PrefLogin(), "old login");
}

TEST_F(LostKeyFile, OldValueIsCopiedBackWhereLinksAreRefused) {
  rename_->FailCall("Link", 1, EXDEV);
  Prefs::PrefLogin("new login");
  EXPECT_EQ(Stored("PrefLogin"), "old login");
  EXPECT_EQ(FilesInFolder(), Files{"PrefLogin"});
  EXPECT_EQ(Prefs::PrefLogin(), "old login");
}

TEST_F(LostKeyFile, CopyOfTheOldValueStaysWhenTheCopyBackFailsToo) {
  rename_->On(2, UnreliableRename::Outcome::Fails);
  Prefs::PrefLogin("new login");
  const Files files = FilesInFolder();
  ASSERT_EQ(files.size(), 1u) << "expected only the copy of the old value";
  EXPECT_EQ(files[0].find_first_not_of("0123456789"), std::string::npos) << files[0];
  EXPECT_EQ(Stored(files[0]), "old login");
  EXPECT_EQ(Prefs::PrefLogin(), "");
}

// Stops a save at every file-system call in turn, as a crash or a power cut
// would, and looks at what the next run of the launcher would find.
}  // namespace
}  // namespace tervix::test
