#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <random>

#include "platform/files/FolderItem.h"
#include "tests/support/FaultPlan.h"
#include "tests/support/ScratchFolder.h"

namespace tervix::test {
namespace {

using platform::FolderItem;
using platform::kShellPathMode;
using Name = const std::string&;

// The helpers use the disk directly, past any fault plan, to see what a user would find there.
class FolderItemFiles : public ScratchFolderTest {
 protected:
  std::string PathOf(Name name) const { return ProfileFolder() + name; }
  void Put(Name name, Name content) const { WriteFile(PathOf(name), content); }
  std::string Content(Name name) const { return ReadFile(PathOf(name)).value_or("<missing>"); }
  // Copies one file onto another name and gives the source reference's error.
  int Copy(Name from, Name to) const {
    FolderItem source(PathOf(from), kShellPathMode), destination(PathOf(to), kShellPathMode);
    source.CopyFileTo(destination);
    return source.LastErrorCode();
  }
};

// Stops early, as on file systems that support kernel copies only partly.
struct KernelCopyStopsEarly : FaultPlan {
  ssize_t CopyFileRange(int from, int to, size_t n) override {
    return Calls("CopyFileRange") ? 0 : FaultPlan::CopyFileRange(from, to, std::min(n, 1000ul));
  }
};

TEST_F(FolderItemFiles, CopyIsExactAndHoldsWhatTheSourceGainedWhileItWasCopied) {
  // Bytes that differ from block to block, so a copy that drops or repeats a block cannot match.
  std::string bytes(500 * 1000 + 7, '\0');
  std::generate(bytes.begin(), bytes.end(), std::mt19937(7));
  for (const std::string road : {"by kernel", "across volumes", "in turn"}) {
    SCOPED_TRACE(road);
    Put("source", bytes.substr(0, 200 * 1000));
    std::shared_ptr<FaultPlan> plan = std::make_shared<FaultPlan>();
    if (road == "in turn")
      plan = std::make_shared<KernelCopyStopsEarly>();
    if (road == "across volumes") {
      plan->FailCall("CopyFileRange", 1, EXDEV);
      plan->FailCall("Write", 1, FaultPlan::kShortWrite);
    }
    platform::InstallFileSystem(plan);
    plan->OnCall([&](FaultPlan::Path operation, FaultPlan::Path) {
      if (operation == (road == "by kernel" ? "CopyFileRange" : "Read") &&
          plan->Calls(operation) == 1)
        std::ofstream(PathOf("source"), std::ios::app) << bytes.substr(200 * 1000);
    });
    EXPECT_EQ(Copy("source", "copy"), 0);
    FaultPlan::Uninstall();
    EXPECT_TRUE(Content("copy") == bytes) << "the copy differs from the source";
  }
}

// Where the temporary file is made: unnamed, or hidden-named where unnamed files are refused.
using Refusal = std::pair<const char*, int>;
const Refusal kTemporaryRoads[] = {{"none", 0},
                                   {"OpenTemporary", EOPNOTSUPP},
                                   {"OpenTemporary", EISDIR},
                                   {"OpenTemporary", EINVAL},
                                   {"LinkAt", ENOENT},
                                   {"LinkAt", EPERM}};

std::shared_ptr<FaultPlan> PlanRefusing(const Refusal& refusal) {
  auto plan = FaultPlan::Install();
  for (int nth = 1; nth <= 8; ++nth)
    plan->FailCall(refusal.first, nth, refusal.second);
  return plan;
}

// A link in the destination's place is replaced, never written through.
TEST_F(FolderItemFiles, CopyGetsTheSourcesPermissionBitsOverAFileOrALinkWhereverItIsMade) {
  Put("source", "new profile");
  Put("target", "what the link names");
  Put("folder/inside", "a file in the folder a link names");
  chmod(PathOf("source").c_str(), 0640);
  chmod(PathOf("target").c_str(), 0);
  const auto mode = [&](Name name) {
    struct stat status {};
    return lstat(PathOf(name).c_str(), &status) == 0 ? status.st_mode : 0;
  };
  const std::vector<std::string> destinations{"file", "link", "folder link"};
  for (const Refusal& road : kTemporaryRoads) {
    SCOPED_TRACE(std::string("refused: ") + road.first);
    Put("file", "old backup");
    chmod(PathOf("file").c_str(), 0600);
    for (const auto& [link, target] : {std::pair{"link", "target"}, {"folder link", "folder"}}) {
      std::filesystem::remove(PathOf(link));
      std::filesystem::create_symlink(target, PathOf(link));
    }
    const auto plan = PlanRefusing(road);
    std::vector<std::string> paths;
    for (const std::string& destination : destinations) {
      EXPECT_EQ(Copy("source", destination), 0) << destination;
      EXPECT_EQ(mode(destination), S_IFREG | 0640) << destination;
      EXPECT_EQ(Content(destination), "new profile") << destination;
      paths.push_back(PathOf(destination));
    }
    EXPECT_TRUE(ReplacedDurably(plan->Journal(), paths));
    FaultPlan::Uninstall();
    EXPECT_EQ(mode("target"), S_IFREG | 0);
    EXPECT_EQ(ListFolder(PathOf("folder")), std::vector<std::string>{"inside"});
    EXPECT_EQ(
        ListFolder(ProfileFolder()),
        (std::vector<std::string>{"file", "folder", "folder link", "link", "source", "target"}));
  }
  chmod(PathOf("target").c_str(), 0600);
  EXPECT_EQ(Content("target"), "what the link names");
  EXPECT_EQ(Content("folder/inside"), "a file in the folder a link names");
}

// A save draws its new file's name at random; an earlier save may have left that name.
TEST_F(FolderItemFiles, NewFileNeverReplacesOneUnderItsName) {
  Put("taken", "old value");
  FolderItem taken(PathOf("taken"), kShellPathMode);
  EXPECT_EQ(taken.CreateBinaryFile("text"), nullptr);
  EXPECT_EQ(taken.LastErrorCode(), EEXIST);
  EXPECT_EQ(Content("taken"), "old value");
}

}  // namespace
}  // namespace tervix::test
