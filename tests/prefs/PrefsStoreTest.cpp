#include <cerrno>

#include "prefs/Prefs.h"
#include "tests/prefs/PrefsTest.h"
#include "tests/support/FaultPlan.h"

namespace tervix::test {
namespace {

namespace fs = std::filesystem;
using Files = std::vector<std::string>;

TEST_F(PrefsTest, SavesLeaveOnlyTheKeysFileWithTheLatestValue) {
  Prefs::PrefExecutable("/games/tervix/old");
  EXPECT_EQ(FilesInFolder(), Files{"PrefExecutable"});
  Prefs::PrefExecutable("/games/tervix/new");
  Prefs::PrefExecutable("/games/tervix/new");
  EXPECT_EQ(FilesInFolder(), Files{"PrefExecutable"});
  EXPECT_EQ(Stored("PrefExecutable"), "/games/tervix/new");
  EXPECT_EQ(Prefs::PrefExecutable(), "/games/tervix/new");
}

TEST_F(PrefsTest, UnsavedKeyGivesNothingAndIsLookedForAgainNextTime) {
  EXPECT_TRUE(Prefs::PreferenceValue("PrefLogin").IsNil());
  EXPECT_EQ(Prefs::PrefLogin(), "");
  EXPECT_TRUE(fs::is_directory(PrefsFolderPath())) << "the first load did not create the folder";
  EXPECT_EQ(FilesInFolder(), Files{});
  PutPreference("PrefLogin", "later");
  EXPECT_EQ(Prefs::PrefLogin(), "later");
}

TEST_F(PrefsTest, CacheAnswersAfterTheFileIsRemovedOrChanged) {
  Prefs::PrefLogin("saved");
  fs::remove(KeyPath("PrefLogin"));
  EXPECT_EQ(Prefs::PrefLogin(), "saved");
  PutPreference("PrefExecutable", "/first");
  EXPECT_EQ(Prefs::PrefExecutable(), "/first");
  PutPreference("PrefExecutable", "/changed by someone else");
  EXPECT_EQ(Prefs::PrefExecutable(), "/first");
}

TEST_F(PrefsTest, BytesThatAreNotUtf8ComeBackUnchanged) {
  const std::string bytes("gate\xFF\xFE\0way\xC3", 11);
  PutPreference("PrefLogin", bytes);
  EXPECT_EQ(Prefs::PrefLogin(), bytes);
  Prefs::PrefExecutable(bytes);
  EXPECT_EQ(Stored("PrefExecutable"), bytes);
}

TEST_F(PrefsTest, ZeroByteFileIsTheEmptyStringNotNoValue) {
  PutPreference("PrefLogin", "");
  const platform::Variant value = Prefs::PreferenceValue("PrefLogin");
  EXPECT_FALSE(value.IsNil());
  EXPECT_EQ(value.StringValue(), "");
}

TEST_F(PrefsTest, ClearedFieldIsSavedAsTheEmptyString) {
  Prefs::PrefLogin("player1");
  Prefs::PrefLogin("");
  EXPECT_EQ(Stored("PrefLogin"), "");
  EXPECT_EQ(Prefs::PrefLogin(), "");
}

TEST_F(PrefsTest, EmptyKeyOrNilValueSavesNothing) {
  Prefs::PrefLogin("kept");
  Prefs::PreferenceValue("", platform::Variant("lost"));
  Prefs::PreferenceValue("PrefLogin", platform::Variant());
  EXPECT_EQ(FilesInFolder(), Files{"PrefLogin"});
  EXPECT_EQ(Stored("PrefLogin"), "kept");
  EXPECT_EQ(Prefs::PrefLogin(), "kept");
}

TEST_F(PrefsTest, PlainFileWhereTheFolderShouldBeStopsEverySaveAndLoad) {
  WriteFile(PrefsFolderPath(), "not a folder");
  Prefs::PrefLogin("player1");
  EXPECT_EQ(Prefs::PrefLogin(), "");
  EXPECT_EQ(ReadFile(PrefsFolderPath()), "not a folder");
}

TEST_F(PrefsTest, MissingUserPreferencesFolderIsNotCreated) {
  fs::remove(ConfigHome());
  Prefs::PrefLogin("player1");
  EXPECT_EQ(Prefs::PrefLogin(), "");
  EXPECT_FALSE(FileExists(ConfigHome()));
}

TEST_F(PrefsTest, CachedValueIsNotGivenWhileTheFolderCannotBeHad) {
  Prefs::PrefLogin("player1");
  fs::rename(ConfigHome(), ConfigHome() + "-away");
  EXPECT_EQ(Prefs::PrefLogin(), "");
  fs::rename(ConfigHome() + "-away", ConfigHome());
  EXPECT_EQ(Prefs::PrefLogin(), "player1");
}

TEST_F(PrefsTest, ReadErrorGivesNoValueRatherThanPartOfItAndIsNotCached) {
  PutPreference("PrefLogin", "player1");
  FaultPlan::Install()->FailCall("Read", 1, EIO);
  EXPECT_TRUE(Prefs::PreferenceValue("PrefLogin").IsNil());
  EXPECT_EQ(Prefs::PrefLogin(), "player1");
}

}  // namespace
}  // namespace tervix::test
