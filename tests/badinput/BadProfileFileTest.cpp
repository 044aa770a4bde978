#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/badinput/BadInputTest.h"

namespace tervix::test {
namespace {

namespace fs = std::filesystem;

class BadProfileFileTest : public BadInputTest {
 protected:
  // A folder where a profile file is expected, with a file of the player's in it.
  void PutFolder(const std::string& name) const {
    fs::create_directories(Profile(name));
    WriteFile(Profile(name) + "/keep.txt", "kept");
  }
};

// A folder is not a profile: nothing is copied, and the game starts as usual.
TEST_F(BadProfileFileTest, ProfileThatIsAFolderIsNotBackedUp) {
  PutFolder("bob.usr");
  WriteFile(Profile("bob-backup.usr"), "bob's old backup");
  LogonTyping("bob");
  EXPECT_EQ(StatusLine(), kStartingGateway);
  EXPECT_EQ(launches().launched(), Texts{kExecutable});
  EXPECT_EQ(Contents(ProfileFolder()),
            (Files{{"bob-backup.usr", "bob's old backup"}, {"bob.usr", "<folder>"}}));
  EXPECT_EQ(Contents(Profile("bob.usr")), (Files{{"keep.txt", "kept"}}));
}

TEST_F(BadProfileFileTest, ProfileThatIsADanglingLinkIsAMissingProfile) {
  fs::create_symlink(Profile("bob-moved.usr"), Profile("bob.usr"));
  LogonTyping("bob");
  EXPECT_EQ(Messages(), Texts{kGatewayMissing});
  EXPECT_TRUE(launches().launched().empty());
  EXPECT_TRUE(fs::is_symlink(Profile("bob.usr")));
  EXPECT_EQ(ListFolder(ProfileFolder()), Texts{"bob.usr"});
}

TEST_F(BadProfileFileTest, BackupPathThatIsAFolderIsLeftWithItsContent) {
  WriteFile(Profile("bob.usr"), "bob's profile");
  PutFolder("bob-backup.usr");
  LogonTyping("bob");
  EXPECT_EQ(StatusLine(), kStartingGateway);
  EXPECT_EQ(launches().launched(), Texts{kExecutable});
  EXPECT_EQ(Contents(ProfileFolder()),
            (Files{{"bob-backup.usr", "<folder>"}, {"bob.usr", "bob's profile"}}));
  EXPECT_EQ(Contents(Profile("bob-backup.usr")), (Files{{"keep.txt", "kept"}}));
}

TEST_F(BadProfileFileTest, RestoreOfAProfileThatIsAFolderFailsAndSaysSo) {
  PutFolder("alice.usr");
  WriteFile(Profile("alice-backup.usr"), "alice's backup");
  RestoreStored("alice");
  EXPECT_TRUE(TerminalSays(kRestoreFailed)) << Terminal();
  EXPECT_FALSE(TerminalSays(kRestoreDone)) << Terminal();
  EXPECT_EQ(Contents(ProfileFolder()),
            (Files{{"alice-backup.usr", "alice's backup"}, {"alice.usr", "<folder>"}}));
  EXPECT_EQ(Contents(Profile("alice.usr")), (Files{{"keep.txt", "kept"}}));
}

TEST_F(BadProfileFileTest, RestoreFromABackupThatIsAFolderFailsAndSaysSo) {
  WriteFile(Profile("alice.usr"), "alice's profile");
  PutFolder("alice-backup.usr");
  RestoreStored("alice");
  EXPECT_TRUE(TerminalSays(kRestoreFailed)) << Terminal();
  EXPECT_FALSE(TerminalSays(kRestoreDone)) << Terminal();
  EXPECT_EQ(ReadFile(Profile("alice.usr")), "alice's profile");
  EXPECT_EQ(Contents(Profile("alice-backup.usr")), (Files{{"keep.txt", "kept"}}));
}

TEST_F(BadProfileFileTest, RestoreOverATrashedPathThatIsAFolderFailsAndSaysSo) {
  WriteFile(Profile("alice.usr"), "alice's profile");
  WriteFile(Profile("alice-backup.usr"), "alice's backup");
  PutFolder("alice-trashed.usr");
  RestoreStored("alice");
  EXPECT_TRUE(TerminalSays(kRestoreFailed)) << Terminal();
  EXPECT_EQ(Contents(ProfileFolder()), (Files{{"alice-backup.usr", "alice's backup"},
                                              {"alice-trashed.usr", "<folder>"},
                                              {"alice.usr", "alice's profile"}}));
  EXPECT_EQ(Contents(Profile("alice-trashed.usr")), (Files{{"keep.txt", "kept"}}));
}

TEST_F(BadProfileFileTest, RestoreOfAProfileThatIsADanglingLinkStopsAfterTheOpeningLines) {
  fs::create_symlink(Profile("alice-moved.usr"), Profile("alice.usr"));
  WriteFile(Profile("alice-backup.usr"), "alice's backup");
  RestoreStored("alice");
  EXPECT_TRUE(RestoreOpen());
  EXPECT_EQ(TicksWaited(), 0);
  EXPECT_TRUE(fs::is_symlink(Profile("alice.usr")));
  EXPECT_EQ(ListFolder(ProfileFolder()), (Texts{"alice-backup.usr", "alice.usr"}));
}

}  // namespace
}  // namespace tervix::test
