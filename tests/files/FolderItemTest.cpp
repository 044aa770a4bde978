#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <random>

#include "platform/files/FolderItem.h"
#include "tests/support/FaultPlan.h"
#include "tests/support/ScratchFolder.h"

namespace tervix::test {
namespace {

using platform::FolderItem;
using platform::kShellPathMode;
using Name = const std::string&;

// The empty profile folder serves as a scratch folder. The helpers read and write the disk
// directly, past any fault plan, to see what a user would find there.
class FolderItemFiles : public ScratchFolderTest {
 protected:
  std::string PathOf(Name name) const { return ProfileFolder() + name; }
  void Put(Name name, Name content) const { WriteFile(PathOf(name), content); }
  std::string Content(Name name) const { return ReadFile(PathOf(name)).value_or("<missing>"); }
  // Copies, links or moves one file onto another name and gives the source reference's error.
  int Apply(void (FolderItem::*operation)(FolderItem&), Name from, Name to) const {
    FolderItem source(PathOf(from), kShellPathMode), destination(PathOf(to), kShellPathMode);
    (source.*operation)(destination);
    return source.LastErrorCode();
  }
};

// A kernel copy that copies a first part and then stops early, as a file
// system that supports it only partly does.
struct KernelCopyStopsEarly : FaultPlan {
  ssize_t CopyFileRange(int from, int to, size_t n) override {
    return Calls("CopyFileRange") ? 0 : FaultPlan::CopyFileRange(from, to, std::min(n, 1000ul));
  }
};

TEST_F(FolderItemFiles, CopyIsExactInTheKernelByReadAndWriteAndByBothInTurn) {
  // Bytes that differ from block to block, so a copy that drops or repeats a block cannot match.
  std::string bytes(300 * 1000 + 7, '\0');
  std::generate(bytes.begin(), bytes.end(), std::mt19937(7));
  Put("source", bytes);
  auto plan = FaultPlan::Install();
  EXPECT_EQ(Apply(&FolderItem::CopyFileTo, "source", "by kernel"), 0);
  plan->FailCall("CopyFileRange", plan->Calls("CopyFileRange") + 1, EXDEV);
  plan->ShortWrite(1);
  EXPECT_EQ(Apply(&FolderItem::CopyFileTo, "source", "across volumes"), 0);
  platform::InstallFileSystem(std::make_shared<KernelCopyStopsEarly>());
  EXPECT_EQ(Apply(&FolderItem::CopyFileTo, "source", "in turn"), 0);
  for (const char* name : {"by kernel", "across volumes", "in turn"})
    EXPECT_TRUE(Content(name) == bytes) << "the copy " << name << " differs from the source";
}

TEST_F(FolderItemFiles, FailedWriteFlushOrRenameKeepsTheOldDestinationWhole) {
  Put("source", std::string(300 * 1000, 'n'));
  Put("destination", "old content");
  const std::pair<const char*, int> faults[] = {{"Write", ENOSPC}, {"Fsync", EIO}, {"Rename", EIO}};
  for (const auto& [operation, error] : faults) {
    SCOPED_TRACE(operation);
    auto plan = FaultPlan::Install();
    plan->FailCall("CopyFileRange", 1, EXDEV);
    plan->FailCall(operation, 1, error);
    EXPECT_EQ(Apply(&FolderItem::CopyFileTo, "source", "destination"), error);
    EXPECT_EQ(Content("destination"), "old content");
    EXPECT_EQ(ListFolder(ProfileFolder()), (std::vector<std::string>{"destination", "source"}));
  }
}

TEST_F(FolderItemFiles, ChildRefusesNamesWithSlashOrNul) {
  FolderItem folder(Home(), kShellPathMode);
  EXPECT_EQ(folder.Child("a/b"), nullptr);
  EXPECT_EQ(folder.Child(std::string("a\0b", 3)), nullptr);
  EXPECT_EQ(folder.Child("PrefLogin")->ShellPath(), Home() + "/PrefLogin");
}

// The rename is done by the time the folder is flushed, so a failed flush
// must not make the caller think the file is still under its old name.
TEST_F(FolderItemFiles, MoveThatCannotFlushItsFolderStillCountsAsDone) {
  Put("new", "new value");
  auto plan = FaultPlan::Install();
  plan->FailCall("Fsync", 1, EIO);
  EXPECT_EQ(Apply(&FolderItem::MoveFileTo, "new", "PrefLogin"), 0);
  EXPECT_EQ(plan->Calls("Fsync"), 1) << "the folder was not flushed after the rename";
  EXPECT_EQ(Content("PrefLogin"), "new value");
}

// A pipe or a folder holds no content to keep, as a copy of it would not either.
TEST_F(FolderItemFiles, LinkGivesASecondNameThatOutlivesTheFirstButNothingReplacesAFile) {
  Put("PrefLogin", "old value");
  std::filesystem::create_directory(PathOf("folder"));
  ASSERT_EQ(mkfifo(PathOf("pipe").c_str(), 0644), 0);
  EXPECT_EQ(Apply(&FolderItem::LinkFileTo, "PrefLogin", "aside"), 0);
  Put("replacement", "new value");
  std::filesystem::rename(PathOf("replacement"), PathOf("PrefLogin"));
  const std::tuple<const char*, const char*, int> cases[] = {
      {"PrefLogin", "aside", EEXIST}, {"folder", "link", EISDIR}, {"pipe", "link", EINVAL}};
  for (const auto& [from, to, error] : cases)
    EXPECT_EQ(Apply(&FolderItem::LinkFileTo, from, to), error) << from;
  FolderItem aside(PathOf("aside"), kShellPathMode);
  EXPECT_EQ(aside.CreateBinaryFile("text"), nullptr);
  EXPECT_EQ(aside.LastErrorCode(), EEXIST);
  EXPECT_EQ(Content("aside"), "old value");
  EXPECT_EQ(Content("PrefLogin"), "new value");
  EXPECT_EQ(ListFolder(ProfileFolder()),
            (std::vector<std::string>{"PrefLogin", "aside", "folder", "pipe"}));
}

}  // namespace
}  // namespace tervix::test
