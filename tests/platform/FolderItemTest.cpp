#include <cerrno>

#include "platform/BinaryStream.h"
#include "platform/FolderItem.h"
#include "platform/Places.h"
#include "platform/Seams.h"
#include "tests/platform/ScratchFolder.h"
#include "tests/support/TestRuntime.h"

namespace tervix::test {
namespace {

namespace fs = std::filesystem;
using platform::FolderItem;
using platform::kShellPathMode;

class FolderItemFiles : public ScratchFolderTest {
 protected:
  FolderItem Item(const std::string& name) const {
    return FolderItem(PathOf(name), kShellPathMode);
  }
};

TEST_F(FolderItemFiles, DanglingLinkDoesNotExist) {
  fs::create_symlink(PathOf("nowhere"), PathOf("link"));
  EXPECT_FALSE(Item("link").Exists());
  Put("file", "x");
  EXPECT_TRUE(Item("file").Exists());
  EXPECT_FALSE(Item("file").Directory());
  EXPECT_TRUE(FolderItem(Folder(), kShellPathMode).Directory());
}

TEST_F(FolderItemFiles, ChildRefusesNamesWithSlashOrNul) {
  FolderItem folder(Folder(), kShellPathMode);
  EXPECT_EQ(folder.Child("a/b"), nullptr);
  EXPECT_EQ(folder.Child(std::string("a\0b", 3)), nullptr);
  EXPECT_EQ(folder.Child("PrefLogin")->ShellPath(), PathOf("PrefLogin"));
  EXPECT_EQ(folder.Child("PrefLogin")->Name(), "PrefLogin");
  EXPECT_EQ(folder.Child("")->ShellPath(), Folder());
  EXPECT_EQ(platform::Volume(0)->Child("")->ShellPath(), "/");
}

TEST_F(FolderItemFiles, CreateBinaryFileNeverTruncatesAnExistingFile) {
  Put("PrefLogin", "kept");
  FolderItem item = Item("PrefLogin");
  EXPECT_EQ(item.CreateBinaryFile("text"), nullptr);
  EXPECT_EQ(item.LastErrorCode(), EEXIST);
  EXPECT_EQ(Content("PrefLogin"), "kept");
}

TEST_F(FolderItemFiles, WrittenBytesComeBackUnchanged) {
  const std::string bytes("caf\xE9\0\xFF\n", 7);
  FolderItem item = Item("value");
  auto stream = item.CreateBinaryFile("text");
  ASSERT_NE(stream, nullptr) << "error " << item.LastErrorCode();
  stream->Write(bytes);
  stream->Close();
  EXPECT_EQ(stream->LastErrorCode(), 0);
  EXPECT_EQ(Content("value"), bytes);

  auto reader = item.OpenAsBinaryFile(false);
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(reader->Read(static_cast<int32_t>(reader->Length())), bytes);
  EXPECT_EQ(reader->Read(10), "");
  EXPECT_EQ(reader->LastErrorCode(), 0);
}

TEST_F(FolderItemFiles, ShortWritesAreFinishedButAWriteOfNothingIsAnError) {
  auto plan = FaultPlan::Install();
  plan->ShortWrite(1);
  auto stream = Item("value").CreateBinaryFile("text");
  stream->Write("abcdef");
  EXPECT_EQ(stream->LastErrorCode(), 0);
  plan->ShortWrite(3);
  stream->Write("g");
  stream->Close();
  EXPECT_EQ(stream->LastErrorCode(), EIO);
  EXPECT_EQ(Content("value"), "abcdef");
}

TEST_F(FolderItemFiles, FolderCannotBeOpenedAsABinaryFile) {
  fs::create_directory(PathOf("folder"));
  FolderItem folder = Item("folder");
  EXPECT_EQ(folder.OpenAsBinaryFile(false), nullptr);
  EXPECT_EQ(folder.LastErrorCode(), EISDIR);
}

TEST_F(FolderItemFiles, MoveReplacesTheDestinationInOneStep) {
  Put("new", "new value");
  Put("PrefLogin", "old value");
  FolderItem item = Item("new");
  FolderItem destination = Item("PrefLogin");
  item.MoveFileTo(destination);
  EXPECT_EQ(item.LastErrorCode(), 0);
  EXPECT_EQ(Content("PrefLogin"), "new value");
  EXPECT_EQ(Entries(), std::vector<std::string>{"PrefLogin"});
}

TEST_F(FolderItemFiles, DeletingALinkToAFolderKeepsTheFolder) {
  FolderItem folder = Item("folder");
  folder.CreateAsFolder();
  ASSERT_EQ(folder.LastErrorCode(), 0);
  fs::create_directory_symlink(PathOf("folder"), PathOf("link"));
  FolderItem link = Item("link");
  link.Delete();
  EXPECT_EQ(link.LastErrorCode(), 0);
  EXPECT_TRUE(folder.Directory()) << "deleting the link removed what it points to";
  folder.Delete();
  EXPECT_EQ(folder.LastErrorCode(), 0);
  EXPECT_TRUE(Entries().empty());
}

TEST_F(FolderItemFiles, LaunchGoesToTheLaunchServiceAndAnEmptyPathLaunchesNothing) {
  auto recorder = std::make_shared<LaunchRecorder>();
  platform::InstallLaunchService(recorder);
  FolderItem(PathOf("game"), kShellPathMode).Launch(true);
  FolderItem("", kShellPathMode).Launch(true);
  platform::InstallLaunchService(nullptr);
  EXPECT_EQ(recorder->launched(), std::vector<std::string>{PathOf("game")});
}

}  // namespace
}  // namespace tervix::test
