#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <random>
#include <span>

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

// Where the copy's temporary file is made: unnamed, or under a hidden name from the start
// because the file system cannot make unnamed files or the process cannot name them.
using Refusal = std::pair<const char*, int>;
const Refusal kTemporaryRoads[] = {{"none", 0},
                                   {"OpenTemporary", EOPNOTSUPP},
                                   {"OpenTemporary", EISDIR},
                                   {"OpenTemporary", EINVAL},
                                   {"LinkAt", ENOENT},
                                   {"LinkAt", EPERM}};

std::shared_ptr<FaultPlan> PlanRefusing(const Refusal& refusal) {
  auto plan = FaultPlan::Install();
  for (int nth = 1; refusal.second != 0 && nth <= 8; ++nth)
    plan->FailCall(refusal.first, nth, refusal.second);
  return plan;
}

// A refused naming comes only once the unnamed copy is written, where these faults have
// struck already, so the roads that refuse it are left to the next test.
TEST_F(FolderItemFiles, FailedWriteFlushOrRenameKeepsTheOldDestinationWholeAndLeavesNothing) {
  Put("source", std::string(300 * 1000, 'n'));
  Put("destination", "old content");
  const Refusal faults[] = {{"Write", ENOSPC}, {"Fsync", EIO}, {"Rename", EIO}};
  for (const Refusal& road : std::span(kTemporaryRoads).first(4))
    for (const auto& [operation, error] : faults) {
      SCOPED_TRACE(std::string(operation) + " with refused: " + road.first);
      auto plan = PlanRefusing(road);
      plan->FailCall("CopyFileRange", 1, EXDEV);
      plan->FailCall(operation, 1, error);
      EXPECT_EQ(Apply(&FolderItem::CopyFileTo, "source", "destination"), error);
      EXPECT_EQ(Content("destination"), "old content");
      EXPECT_EQ(ListFolder(ProfileFolder()), (std::vector<std::string>{"destination", "source"}));
    }
}

// A link in the destination's place is replaced, never written through, and its target's
// permission bits (none, here) never reach the copy.
TEST_F(FolderItemFiles, CopyGetsTheSourcesPermissionBitsOverAFileOrALinkWhereverItIsMade) {
  Put("source", "new profile");
  Put("target", "what the link names");
  chmod(PathOf("source").c_str(), 0640);
  chmod(PathOf("target").c_str(), 0);
  const auto mode = [&](Name name) {
    struct stat status {};
    return lstat(PathOf(name).c_str(), &status) == 0 ? status.st_mode : 0;
  };
  for (const Refusal& road : kTemporaryRoads) {
    SCOPED_TRACE(std::string("refused: ") + road.first);
    Put("file", "old backup");
    chmod(PathOf("file").c_str(), 0600);
    std::filesystem::remove(PathOf("link"));
    std::filesystem::create_symlink("target", PathOf("link"));
    PlanRefusing(road);
    for (const char* destination : {"file", "link"}) {
      EXPECT_EQ(Apply(&FolderItem::CopyFileTo, "source", destination), 0) << destination;
      EXPECT_EQ(mode(destination), S_IFREG | 0640) << destination;
      EXPECT_EQ(Content(destination), "new profile") << destination;
    }
    FaultPlan::Uninstall();
    EXPECT_EQ(mode("target"), S_IFREG | 0);
    EXPECT_EQ(ListFolder(ProfileFolder()),
              (std::vector<std::string>{"file", "link", "source", "target"}));
  }
  chmod(PathOf("target").c_str(), 0600);
  EXPECT_EQ(Content("target"), "what the link names");
}

// A writer holds the pipe open, so that a reader that waited would get an empty value
// instead of hanging the test.
TEST_F(FolderItemFiles, OpeningAnythingButARegularFileFailsAtOnce) {
  Put("file", "value");
  std::filesystem::create_directory(PathOf("folder"));
  ASSERT_EQ(mkfifo(PathOf("pipe").c_str(), 0644), 0);
  const int writer = open(PathOf("pipe").c_str(), O_RDWR);
  const std::tuple<const char*, bool, int> cases[] = {{"pipe", false, EINVAL},
                                                      {"pipe", true, EINVAL},
                                                      {"folder", false, EISDIR},
                                                      {"file", false, 0}};
  for (const auto& [name, writable, error] : cases) {
    FolderItem item(PathOf(name), kShellPathMode);
    EXPECT_EQ(item.OpenAsBinaryFile(writable) != nullptr, error == 0) << name << writable;
    EXPECT_EQ(item.LastErrorCode(), error) << name << writable;
  }
  close(writer);
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
