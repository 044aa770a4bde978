#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/login/LoginTest.h"

namespace tervix::test {
namespace {

constexpr const char* kPrompt = "Please enter your gateway login...";
constexpr const char* kGatewayMissing = "This gateway doesn't exists, please try again...";

using Files = std::vector<std::string>;

class LogonTest : public LoginTest {};

TEST_F(LogonTest, MissingProfileShowsCautionAndPutsPromptBack) {
  WriteFile(Profile("bob-backup.usr"), "old backup");
  StartAndType("bob");

  ClickLogon();

  ASSERT_EQ(dialogs().messages().size(), 1u);
  EXPECT_EQ(dialogs().messages()[0].text, kGatewayMissing);
  EXPECT_EQ(dialogs().messages()[0].style, 48);
  EXPECT_EQ(dialogs().messages()[0].title, "");
  EXPECT_EQ(StatusLine(), kPrompt);
  EXPECT_TRUE(LogonEnabled());
  EXPECT_EQ(LoginField(), "bob");
  EXPECT_EQ(ListFolder(ProfileFolder()), Files{"bob-backup.usr"});
  EXPECT_EQ(ReadFile(Profile("bob-backup.usr")), "old backup");
  EXPECT_TRUE(launches().launched().empty());
  EXPECT_EQ(clock().backgroundTaskCalls(), 0);
  EXPECT_FALSE(platform::PendingQuitCode());
}

TEST_F(LogonTest, MissingProfileFolderIsNotCreated) {
  std::filesystem::remove(ProfileFolder());
  StartAndType("bob");

  ClickLogon();

  ASSERT_EQ(dialogs().messages().size(), 1u);
  EXPECT_EQ(dialogs().messages()[0].text, kGatewayMissing);
  EXPECT_FALSE(FileExists(ProfileFolder()));
}

TEST_F(LogonTest, OldBackupIsReplacedByWholeCopyOfProfile) {
  const std::string profile = "current profile";
  WriteFile(Profile("bob.usr"), profile);
  WriteFile(Profile("bob-backup.usr"), "old backup, longer than the current profile");
  StartAndType("bob");

  ClickLogon();

  EXPECT_EQ(ReadFile(Profile("bob-backup.usr")), profile);
  EXPECT_EQ(ReadFile(Profile("bob.usr")), profile);
  EXPECT_EQ(ListFolder(ProfileFolder()), (Files{"bob-backup.usr", "bob.usr"}));
  EXPECT_EQ(StatusLine(), "Starting gateway...");
  EXPECT_FALSE(LogonEnabled());
  EXPECT_TRUE(dialogs().messages().empty());
}

TEST_F(LogonTest, FirstLogonMakesBackup) {
  WriteFile(Profile("bob.usr"), "profile");
  StartAndType("bob");

  ClickLogon();

  EXPECT_EQ(ReadFile(Profile("bob-backup.usr")), "profile");
  EXPECT_EQ(StatusLine(), "Starting gateway...");
}

TEST_F(LogonTest, BlanksAroundLoginArePartOfTheFileName) {
  WriteFile(Profile("  bob .usr"), "spaced");
  WriteFile(Profile("bob.usr"), "plain");
  StartAndType("  bob ");

  ClickLogon();

  EXPECT_EQ(ReadFile(Profile("  bob -backup.usr")), "spaced");
  EXPECT_FALSE(FileExists(Profile("bob-backup.usr")));
}

TEST_F(LogonTest, LoginWithSlashReachesNoFileOutsideProfileFolder) {
  const std::string outside = Home() + "/Library/Application Support/";
  WriteFile(outside + "x.usr", "not a profile");
  StartAndType("../x");

  ClickLogon();

  ASSERT_EQ(dialogs().messages().size(), 1u);
  EXPECT_EQ(dialogs().messages()[0].text, kGatewayMissing);
  EXPECT_EQ(ReadFile(outside + "x.usr"), "not a profile");
  EXPECT_EQ(ListFolder(outside), (Files{"Tervix", "x.usr"}));
  EXPECT_TRUE(LogonEnabled());
  EXPECT_TRUE(launches().launched().empty());
}

TEST_F(LogonTest, LoginWithNulCharacterReachesNoFile) {
  // The path would end at the NUL and name the file "x" in the profile folder.
  WriteFile(Profile("x"), "not a profile");
  StartLauncher();
  KnowExecutable();
  // A NUL cannot be typed, only pasted; setting the field's text stands in for the paste.
  LoginWindow()->ControlAs<platform::EditField>("EditField1")->SetText(std::string("x\0", 2));

  ClickLogon();

  ASSERT_EQ(dialogs().messages().size(), 1u);
  EXPECT_EQ(dialogs().messages()[0].text, kGatewayMissing);
  EXPECT_EQ(ListFolder(ProfileFolder()), Files{"x"});
  EXPECT_EQ(ReadFile(Profile("x")), "not a profile");
  EXPECT_TRUE(launches().launched().empty());
}

}  // namespace
}  // namespace tervix::test
