#include <gtest/gtest.h>

#include <string>

#include "tests/badinput/BadInputTest.h"

namespace tervix::test {
namespace {

using BadLoginTest = BadInputTest;

constexpr const char* kOpeningLines = "\n\nStarting restore process...\n\n";

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The player sees the caution message and the prompt; nothing is copied or started.
#define EXPECT_MISSING_PROFILE()                           \
  do {                                                     \
    EXPECT_EQ(Messages(), Texts{kGatewayMissing});         \
    EXPECT_EQ(StatusLine(), kPrompt);                      \
    EXPECT_TRUE(launches().launched().empty());            \
    EXPECT_FALSE(platform::PendingQuitCode().has_value()); \
  } while (false)

TEST_F(BadLoginTest, SlashAloneIsAMissingProfileEvenWhenItsPathNamesAFile) {
  WriteFile(Profile(".usr"), "the profile of the empty login");
  LogonTyping("/");
  EXPECT_MISSING_PROFILE();
  EXPECT_EQ(Contents(ProfileFolder()), (Files{{".usr", "the profile of the empty login"}}));
}

TEST_F(BadLoginTest, LoginThatLeadsBackIntoTheProfileFolderIsRefused) {
  WriteFile(Profile("bob.usr"), "bob's profile");
  WriteFile(Profile("bob-backup.usr"), "bob's old backup");
  LogonTyping("../Tervix/bob");
  EXPECT_MISSING_PROFILE();
  EXPECT_EQ(Contents(ProfileFolder()),
            (Files{{"bob-backup.usr", "bob's old backup"}, {"bob.usr", "bob's profile"}}));
}

TEST_F(BadLoginTest, TwoDotsAreAnOrdinaryMissingName) {
  LogonTyping("..");
  EXPECT_MISSING_PROFILE();
  EXPECT_EQ(Contents(ProfileFolder()), Files{});
  EXPECT_EQ(ListFolder(Home() + "/Library/Application Support"), Texts{"Tervix"});
}

TEST_F(BadLoginTest, NulAfterAFileNameCannotCopyThatFileOntoItself) {
  WriteFile(Profile("bob.usr"), "bob's profile");
  LogonPasting(std::string("bob.usr\0", 8));
  EXPECT_MISSING_PROFILE();
  EXPECT_EQ(Contents(ProfileFolder()), (Files{{"bob.usr", "bob's profile"}}));
}

TEST_F(BadLoginTest, BlanksAloneAreNotTrimmedToTheEmptyLogin) {
  WriteFile(Profile(".usr"), "the profile of the empty login");
  LogonTyping("   ");
  EXPECT_MISSING_PROFILE();
  EXPECT_EQ(Contents(ProfileFolder()), (Files{{".usr", "the profile of the empty login"}}));
}

// The file name is too long for the file system, which answers ENAMETOOLONG.
TEST_F(BadLoginTest, TenThousandCharactersAreAMissingProfile) {
  WriteFile(Profile("bob.usr"), "bob's profile");
  LogonPasting(std::string(10000, 'x'));
  EXPECT_MISSING_PROFILE();
  EXPECT_EQ(Contents(ProfileFolder()), (Files{{"bob.usr", "bob's profile"}}));
}

// The profile's name fits in a file name, its backup's does not: the game
// starts and the profile is left whole, without a backup or a stray file.
TEST_F(BadLoginTest, LoginWhoseBackupNameIsTooLongStillStartsTheGame) {
  const std::string login(246, 'b');
  WriteFile(Profile(login + ".usr"), "a long-named profile");
  LogonTyping(login);
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(StatusLine(), kStartingGateway);
  EXPECT_EQ(launches().launched(), Texts{kExecutable});
  EXPECT_EQ(Contents(ProfileFolder()), (Files{{login + ".usr", "a long-named profile"}}));
}

// The login field cannot hold bytes that are not UTF-8, so the login it
// shows names no profile.
TEST_F(BadLoginTest, StoredLoginThatIsNotUtf8ReachesNoProfileFromTheLoginWindow) {
  const std::string login = "b\xFFob";
  WriteFile(Profile(login + ".usr"), "b-ob's profile");
  StoreFromEarlierRun("PrefLogin", login);
  StoreFromEarlierRun("PrefExecutable", kExecutable);
  StartLauncher();
  Click(Login(), "BevelButton1");
  EXPECT_MISSING_PROFILE();
  EXPECT_EQ(Contents(ProfileFolder()), (Files{{login + ".usr", "b-ob's profile"}}));
}

TEST_F(BadLoginTest, RestoreOfATenThousandCharacterLoginStopsAfterTheOpeningLines) {
  WriteFile(Profile("bob.usr"), "bob's profile");
  RestoreStored(std::string(10000, 'a'));
  EXPECT_TRUE(EndsWith(Terminal(), kOpeningLines)) << Terminal();
  EXPECT_TRUE(RestoreOpen());
  EXPECT_EQ(TicksWaited(), 0);
  EXPECT_EQ(Contents(ProfileFolder()), (Files{{"bob.usr", "bob's profile"}}));
}

TEST_F(BadLoginTest, RestoreOfASlashAloneTouchesNoFileItsPathsName) {
  WriteFile(Profile(".usr"), "the profile of the empty login");
  WriteFile(Profile("-backup.usr"), "the backup of the empty login");
  RestoreStored("/");
  EXPECT_TRUE(EndsWith(Terminal(), kOpeningLines)) << Terminal();
  EXPECT_TRUE(RestoreOpen());
  EXPECT_EQ(Contents(ProfileFolder()), (Files{{"-backup.usr", "the backup of the empty login"},
                                              {".usr", "the profile of the empty login"}}));
}

// The restore works on the stored bytes, so it finds the files they name.
TEST_F(BadLoginTest, RestoreOfAStoredLoginThatIsNotUtf8WorksOnItsBytes) {
  const std::string login = "b\xFFob";
  WriteFile(Profile(login + ".usr"), "b-ob's profile");
  WriteFile(Profile(login + "-backup.usr"), "b-ob's backup");
  RestoreStored(login);
  EXPECT_TRUE(TerminalSays(kRestoreDone)) << Terminal();
  EXPECT_EQ(Contents(ProfileFolder()), (Files{{login + "-backup.usr", "b-ob's backup"},
                                              {login + "-trashed.usr", "b-ob's profile"},
                                              {login + ".usr", "b-ob's backup"}}));
}

TEST_F(BadLoginTest, RestoreOfALoginWithBlanksAroundItWorksOnTheBlankNamedFiles) {
  WriteFile(Profile(" alice .usr"), "spaced profile");
  WriteFile(Profile(" alice -backup.usr"), "spaced backup");
  WriteFile(Profile("alice.usr"), "alice's profile");
  WriteFile(Profile("alice-backup.usr"), "alice's backup");
  RestoreStored(" alice ");
  EXPECT_TRUE(TerminalSays(kRestoreDone)) << Terminal();
  EXPECT_EQ(Contents(ProfileFolder()), (Files{{" alice -backup.usr", "spaced backup"},
                                              {" alice -trashed.usr", "spaced profile"},
                                              {" alice .usr", "spaced backup"},
                                              {"alice-backup.usr", "alice's backup"},
                                              {"alice.usr", "alice's profile"}}));
}

}  // namespace
}  // namespace tervix::test
