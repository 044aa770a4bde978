#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <random>

#include "platform/BinaryStream.h"
#include "platform/FileSystem.h"
#include "platform/FolderItem.h"
#include "platform/Picture.h"
#include "tests/support/FaultPlan.h"
#include "tests/support/TestRuntime.h"

namespace tervix::test {
namespace {

namespace fs = std::filesystem;
using platform::FolderItem;
using platform::kShellPathMode;

// The empty profile folder serves as a scratch folder. The helpers read and write the disk
// directly, past any fault plan, to see what a user would find there.
class FolderItemFiles : public RuntimeTest {
 protected:
  std::string PathOf(const std::string& name) const { return ProfileFolder() + name; }
  FolderItem Item(const std::string& name) const {
    return FolderItem(PathOf(name), kShellPathMode);
  }
  void Put(const std::string& name, const std::string& content) const {
    WriteFile(PathOf(name), content);
  }
  std::string Content(const std::string& name) const {
    return ReadFile(PathOf(name)).value_or("<missing>");
  }
  std::vector<std::string> Entries() const { return ListFolder(ProfileFolder()); }
  // Copies "source" onto the destination and gives the source reference's error.
  int CopySourceTo(const std::string& destinationName) {
    FolderItem source = Item("source"), destination = Item(destinationName);
    source.CopyFileTo(destination);
    return source.LastErrorCode();
  }
};

// A kernel copy that copies a first part and then stops early, as a file
// system that supports it only partly does.
class KernelCopyStopsEarly : public FaultPlan {
 public:
  ssize_t CopyFileRange(int from, int to, size_t count) override {
    return ++calls_ > 1 ? 0 : FaultPlan::CopyFileRange(from, to, std::min<size_t>(count, 1000));
  }

 private:
  int calls_ = 0;
};

TEST_F(FolderItemFiles, CopyIsExactInTheKernelByReadAndWriteAndByBothInTurn) {
  // Bytes that differ from block to block, so a copy that drops or repeats a block cannot match.
  std::string bytes(300 * 1000 + 7, '\0');
  std::generate(bytes.begin(), bytes.end(), std::mt19937(7));
  Put("source", bytes);
  auto plan = FaultPlan::Install();
  EXPECT_EQ(CopySourceTo("by kernel"), 0);
  EXPECT_EQ(plan->Calls("Write"), 0);
  plan->FailCall("CopyFileRange", plan->Calls("CopyFileRange") + 1, EXDEV);
  plan->ShortWrite(1);
  EXPECT_EQ(CopySourceTo("across volumes"), 0);
  platform::InstallFileSystem(std::make_shared<KernelCopyStopsEarly>());
  EXPECT_EQ(CopySourceTo("in turn"), 0);
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
    EXPECT_EQ(CopySourceTo("destination"), error);
    EXPECT_EQ(Content("destination"), "old content");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"destination", "source"}));
  }
}

TEST_F(FolderItemFiles, ChildRefusesNamesWithSlashOrNul) {
  FolderItem folder(Home(), kShellPathMode);
  EXPECT_EQ(folder.Child("a/b"), nullptr);
  EXPECT_EQ(folder.Child(std::string("a\0b", 3)), nullptr);
  EXPECT_EQ(folder.Child("PrefLogin")->ShellPath(), Home() + "/PrefLogin");
}

TEST_F(FolderItemFiles, CreateBinaryFileNeverTruncatesAnExistingFile) {
  Put("PrefLogin", "kept");
  FolderItem item = Item("PrefLogin");
  EXPECT_EQ(item.CreateBinaryFile("text"), nullptr);
  EXPECT_EQ(item.LastErrorCode(), EEXIST);
  EXPECT_EQ(Content("PrefLogin"), "kept");
}

// The rename is done by the time the folder is flushed, so a failed flush
// must not make the caller think the file is still under its old name.
TEST_F(FolderItemFiles, MoveThatCannotFlushItsFolderStillCountsAsDone) {
  Put("new", "new value");
  auto plan = FaultPlan::Install();
  plan->FailCall("Fsync", 1, EIO);
  FolderItem item = Item("new");
  FolderItem destination = Item("PrefLogin");
  item.MoveFileTo(destination);
  EXPECT_EQ(item.LastErrorCode(), 0);
  EXPECT_EQ(plan->Calls("Fsync"), 1) << "the folder was not flushed after the rename";
  EXPECT_EQ(Content("PrefLogin"), "new value");
}

TEST_F(FolderItemFiles, LinkGivesTheFileASecondNameThatOutlivesTheFirst) {
  Put("PrefLogin", "old value");
  FolderItem item = Item("PrefLogin");
  FolderItem second = Item("aside");
  item.LinkFileTo(second);
  EXPECT_EQ(item.LastErrorCode(), 0);
  Put("replacement", "new value");
  fs::rename(PathOf("replacement"), PathOf("PrefLogin"));
  EXPECT_EQ(Content("aside"), "old value");
  EXPECT_EQ(Content("PrefLogin"), "new value");
}

TEST_F(FolderItemFiles, LinkNeverReplacesAnExistingFile) {
  Put("PrefLogin", "value");
  Put("aside", "kept");
  FolderItem item = Item("PrefLogin");
  FolderItem second = Item("aside");
  item.LinkFileTo(second);
  EXPECT_EQ(item.LastErrorCode(), EEXIST);
  EXPECT_EQ(Content("aside"), "kept");
}

// A pipe or a folder holds no content to keep, as a copy of it would not either.
TEST_F(FolderItemFiles, LinkRefusesFoldersAndPipes) {
  fs::create_directory(PathOf("folder"));
  ASSERT_EQ(mkfifo(PathOf("pipe").c_str(), 0644), 0);
  FolderItem folder = Item("folder");
  FolderItem pipe = Item("pipe");
  FolderItem second = Item("aside");
  folder.LinkFileTo(second);
  EXPECT_EQ(folder.LastErrorCode(), EISDIR);
  pipe.LinkFileTo(second);
  EXPECT_EQ(pipe.LastErrorCode(), EINVAL);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"folder", "pipe"}));
}

TEST_F(FolderItemFiles, ResourceFileThatCannotBeOpenedGivesNil) {
  platform::SetResourceFilePath(PathOf("missing.rcc"));
  EXPECT_EQ(platform::appResourceForkGetter(), nullptr);
}

}  // namespace
}  // namespace tervix::test
