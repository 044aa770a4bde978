#include <cerrno>
#include <functional>

#include "platform/FileSystem.h"
#include "platform/FolderItem.h"
#include "tests/platform/ScratchFolder.h"

namespace tervix::test {
namespace {

namespace fs = std::filesystem;

class FileCopy : public ScratchFolderTest {
 protected:
  // Copies "source" onto the destination and gives the source reference's error.
  int CopySourceTo(const std::string& destinationName = "destination") {
    platform::FolderItem source(PathOf("source"), platform::kShellPathMode);
    platform::FolderItem destination(PathOf(destinationName), platform::kShellPathMode);
    source.CopyFileTo(destination);
    return source.LastErrorCode();
  }
};

TEST_F(FileCopy, CopyOntoExistingFileReplacesItWholeAndKeepsItsPermissions) {
  Put("source", "new profile");
  Put("destination", "old profile that is longer");
  fs::permissions(PathOf("source"), fs::perms::owner_all);
  const auto kept = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_write;
  fs::permissions(PathOf("destination"), kept);
  EXPECT_EQ(CopySourceTo(), 0);
  EXPECT_EQ(Content("destination"), "new profile");
  EXPECT_EQ(fs::status(PathOf("destination")).permissions(), kept);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"destination", "source"}));
}

TEST_F(FileCopy, LargeFileCopiesExactlyInTheKernelAndByReadAndWrite) {
  const std::string bytes = PatternedBytes(5 * 1024 * 1024 + 7);
  Put("source", bytes);
  auto plan = FaultPlan::Install();
  EXPECT_EQ(CopySourceTo("by kernel"), 0);
  EXPECT_EQ(plan->Calls("Write"), 0);
  plan->FailCall("CopyFileRange", plan->Calls("CopyFileRange") + 1, EXDEV);
  EXPECT_EQ(CopySourceTo("across volumes"), 0);
  EXPECT_GT(plan->Calls("Write"), 1);
  EXPECT_TRUE(Content("by kernel") == bytes) << "the kernel's copy differs from the source";
  EXPECT_TRUE(Content("across volumes") == bytes) << "the fallback copy differs from the source";
}

// A kernel copy that copies a first part and then gives up, the way a file
// system that supports it only partly does.
class KernelCopyStopsEarly : public FaultPlan {
 public:
  explicit KernelCopyStopsEarly(std::function<ssize_t()> givingUp)
      : givingUp_(std::move(givingUp)) {}
  ssize_t CopyFileRange(int from, int to, size_t count) override {
    if (++calls_ > 1)
      return givingUp_();
    return FaultPlan::CopyFileRange(from, to, std::min<size_t>(count, 1000));
  }

 private:
  std::function<ssize_t()> givingUp_;
  int calls_ = 0;
};

TEST_F(FileCopy, ReadAndWriteGoOnWhereTheKernelCopyStopped) {
  const std::string bytes = PatternedBytes(300 * 1000);
  Put("source", bytes);
  const std::function<ssize_t()> waysToGiveUp[] = {[] { return ssize_t{0}; },
                                                   [] {
                                                     errno = EOPNOTSUPP;
                                                     return ssize_t{-1};
                                                   }};
  for (const auto& givingUp : waysToGiveUp) {
    platform::InstallFileSystem(std::make_shared<KernelCopyStopsEarly>(givingUp));
    EXPECT_EQ(CopySourceTo(), 0);
    EXPECT_TRUE(Content("destination") == bytes) << "the copy differs from the source";
  }
}

TEST_F(FileCopy, ShortWritesStillGiveAWholeCopy) {
  Put("source", "abcdefghijklmnopqrstuvwxyz");
  auto plan = FaultPlan::Install();
  plan->FailCall("CopyFileRange", 1, EXDEV);
  plan->ShortWrite(1);
  plan->ShortWrite(2);
  EXPECT_EQ(CopySourceTo(), 0);
  EXPECT_EQ(Content("destination"), "abcdefghijklmnopqrstuvwxyz");
}

struct CopyFault {
  const char* name;
  std::function<void(FaultPlan&)> arrange;
  int error;
};

void PrintTo(const CopyFault& fault, std::ostream* out) {
  *out << fault.name;
}

class FailedCopy : public FileCopy, public ::testing::WithParamInterface<CopyFault> {};

TEST_P(FailedCopy, KeepsTheOldDestinationAndLeavesNoTemporaryFile) {
  Put("source", PatternedBytes(200 * 1000));
  Put("destination", "old content");
  auto plan = FaultPlan::Install();
  GetParam().arrange(*plan);
  EXPECT_EQ(CopySourceTo(), GetParam().error);
  EXPECT_EQ(Content("destination"), "old content");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"destination", "source"}));
}

void ByReadAndWrite(FaultPlan& plan) {
  plan.FailCall("CopyFileRange", 1, EXDEV);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FailedCopy,
    ::testing::Values(
        CopyFault{"KernelCopyOutOfSpace",
                  [](FaultPlan& plan) { plan.FailCall("CopyFileRange", 1, ENOSPC); }, ENOSPC},
        CopyFault{"WriteOutOfSpace",
                  [](FaultPlan& plan) {
                    ByReadAndWrite(plan);
                    plan.FailCall("Write", 1, ENOSPC);
                  },
                  ENOSPC},
        CopyFault{"ShortWriteThenOutOfSpace",
                  [](FaultPlan& plan) {
                    ByReadAndWrite(plan);
                    plan.ShortWrite(1);
                    plan.FailCall("Write", 2, ENOSPC);
                  },
                  ENOSPC},
        CopyFault{"ReadError",
                  [](FaultPlan& plan) {
                    ByReadAndWrite(plan);
                    plan.FailCall("Read", 1, EIO);
                  },
                  EIO},
        CopyFault{"FlushError", [](FaultPlan& plan) { plan.FailCall("Fsync", 1, EIO); }, EIO},
        CopyFault{"CloseError", [](FaultPlan& plan) { plan.FailCall("Close", 1, EIO); }, EIO},
        CopyFault{"RenameError", [](FaultPlan& plan) { plan.FailCall("Rename", 1, EIO); }, EIO},
        CopyFault{"NoRoomForTemporaryFile",
                  [](FaultPlan& plan) { plan.FailCall("Open", 2, ENOSPC); }, ENOSPC}),
    [](const auto& info) { return std::string(info.param.name); });

// Callers take an error to mean that the destination is as it was, which is
// no longer so once the rename is done.
TEST_F(FileCopy, FolderThatCannotBeFlushedAfterTheRenameStillCountsAsReplaced) {
  Put("source", "new");
  Put("destination", "old");
  auto plan = FaultPlan::Install();
  plan->FailCall("Fsync", 2, EIO);
  EXPECT_EQ(CopySourceTo(), 0);
  EXPECT_EQ(Content("destination"), "new");
  EXPECT_EQ(plan->Calls("Fsync"), 2);
}

TEST_F(FileCopy, CopyingAFolderFailsAndMakesNothing) {
  fs::create_directory(PathOf("source"));
  EXPECT_EQ(CopySourceTo(), EISDIR);
  EXPECT_EQ(Entries(), std::vector<std::string>{"source"});
}

}  // namespace
}  // namespace tervix::test
