#include <gtest/gtest.h>

#include "platform/Dialogs.h"
#include "platform/FolderItem.h"
#include "platform/Picture.h"
#include "platform/Seams.h"
#include "tests/support/TestRuntime.h"

namespace tervix::test {
namespace {

class DialogsAndPicturesTest : public RuntimeTest {};

TEST_F(DialogsAndPicturesTest, TheChosenFileComesBackAsAShellPathReference) {
  dialogs().AnswerNextOpenFile("/opt/tervix/Tervix");
  platform::OpenDialog dialog;
  dialog.SetTitle("Select Tervix executable");
  dialog.SetInitialDirectory(std::make_shared<platform::FolderItem>("/", platform::kShellPathMode));

  std::shared_ptr<platform::FolderItem> chosen = dialog.ShowModal();

  ASSERT_NE(chosen, nullptr);
  EXPECT_EQ(chosen->ShellPath(), "/opt/tervix/Tervix");
  EXPECT_EQ(dialogs().openFileTitles(), std::vector<std::string>{"Select Tervix executable"});
  EXPECT_EQ(dialogs().openFileInitialDirectories(), std::vector<std::string>{"/"});
}

TEST_F(DialogsAndPicturesTest, ACancelledDialogGivesNil) {
  platform::OpenDialog dialog;

  EXPECT_EQ(dialog.ShowModal(), nullptr);
  EXPECT_EQ(dialogs().openFileInitialDirectories(), std::vector<std::string>{""});
}

TEST_F(DialogsAndPicturesTest, AMessageBoxShowsItsTextStyleAndTitle) {
  const int pressed = platform::MsgBox("This gateway doesn't exists, please try again...",
                                       platform::kMsgBoxCaution, "");

  EXPECT_EQ(pressed, 1);
  ASSERT_EQ(dialogs().messages().size(), 1u);
  EXPECT_EQ(dialogs().messages()[0].text, "This gateway doesn't exists, please try again...");
  EXPECT_EQ(dialogs().messages()[0].style, 48);
  EXPECT_EQ(dialogs().messages()[0].title, "");
}

TEST_F(DialogsAndPicturesTest, ThePicturesOfTheResourceFileLoadByNumber) {
  std::shared_ptr<platform::ResourceFork> resources = platform::appResourceForkGetter();
  ASSERT_NE(resources, nullptr) << "the built resource file was not found";

  std::shared_ptr<platform::Picture> banner = resources->GetPicture(168);
  ASSERT_NE(banner, nullptr);
  EXPECT_GT(banner->Width(), 0);
  EXPECT_GT(banner->Height(), 0);
  EXPECT_NE(resources->GetPicture(169), nullptr);
  EXPECT_EQ(resources->GetPicture(170), nullptr);
}

TEST_F(DialogsAndPicturesTest, AResourceFileThatCannotBeOpenedGivesNil) {
  platform::SetResourceFilePath(Home() + "/missing.rcc");

  EXPECT_EQ(platform::appResourceForkGetter(), nullptr);
}

}  // namespace
}  // namespace tervix::test
