#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "options/Option.h"
#include "prefs/Prefs.h"
#include "tests/badinput/BadInputTest.h"

namespace tervix::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kChosen = "/games/tervix/Tervix";
constexpr size_t kLarge = 3 * 1024 * 1024;

class BadPreferenceFileTest : public BadInputTest {
 protected:
  std::string KeyPath(const std::string& key) const { return PrefsFolderPath() + "/" + key; }
  static platform::Window& Preferences() {
    ChooseMenu("Pref");
    return platform::NotNil(platform::GetImplicitWindow(Option::kRuntimeClassName));
  }
  // Replaces the login in the preferences window and moves on to the next field.
  static void ChangeLoginInPreferences(const std::string& login) {
    platform::Window& window = Preferences();
    const std::string shown = window.ControlAs<platform::EditField>("EditField1")->Text();
    Type(window, "EditField1", std::string(shown.size(), '\b') + login);
    Focus(window, "Executable");
  }
};

TEST_F(BadPreferenceFileTest, EmptyExecutableFileMakesLogonAskForTheGame) {
  WriteFile(Profile("bob.usr"), "bob's profile");
  StoreFromEarlierRun("PrefExecutable", "");
  dialogs().AnswerNextOpenFile(kChosen);
  StartLauncher();
  Type(Login(), "EditField1", "bob");

  Click(Login(), "BevelButton1");

  EXPECT_EQ(dialogs().openFileTitles(), Texts{"Select Tervix executable"});
  EXPECT_EQ(launches().launched(), Texts{kChosen});
  EXPECT_EQ(ReadFile(KeyPath("PrefExecutable")), kChosen);
}

TEST_F(BadPreferenceFileTest, LargeExecutableFileReachesTheLaunchWhole) {
  const std::string path = "/opt/" + std::string(kLarge, 'x');
  WriteFile(Profile("bob.usr"), "bob's profile");
  StoreFromEarlierRun("PrefExecutable", path);
  StartLauncher();
  Type(Login(), "EditField1", "bob");

  Click(Login(), "BevelButton1");

  ASSERT_EQ(launches().launched().size(), 1u);
  EXPECT_EQ(launches().launched()[0].size(), path.size());
  EXPECT_TRUE(launches().launched()[0] == path);
  EXPECT_TRUE(dialogs().openFileTitles().empty());
}

// The login field holds at most 32,767 characters; a login that long names no file.
TEST_F(BadPreferenceFileTest, LargeLoginFileEndsInTheMissingProfileMessage) {
  const std::string login(kLarge, 'a');
  StoreFromEarlierRun("PrefLogin", login);
  StoreFromEarlierRun("PrefExecutable", kExecutable);
  WriteFile(Profile("bob.usr"), "bob's profile");
  StartLauncher();

  Click(Login(), "BevelButton1");

  EXPECT_EQ(Messages(), Texts{kGatewayMissing});
  EXPECT_EQ(Contents(ProfileFolder()), (Files{{"bob.usr", "bob's profile"}}));
  EXPECT_TRUE(ReadFile(KeyPath("PrefLogin")) == login) << "the stored login was changed";
}

TEST_F(BadPreferenceFileTest, LoginFileThatIsAFolderGivesNoLoginAndKeepsItsContent) {
  fs::create_directories(KeyPath("PrefLogin"));
  WriteFile(KeyPath("PrefLogin") + "/notes", "someone's notes");
  StartLauncher();
  EXPECT_EQ(LoginField(), "");

  ChangeLoginInPreferences("alice");

  EXPECT_EQ(Contents(KeyPath("PrefLogin")), (Files{{"notes", "someone's notes"}}));
  EXPECT_EQ(ListFolder(PrefsFolderPath()), Texts{"PrefLogin"}) << "a working file was left";
  EXPECT_EQ(Prefs::PrefLogin(), "") << "the failed save is used in this run";
}

TEST_F(BadPreferenceFileTest, LoginFileThatIsADanglingLinkIsReplacedByTheSavedLogin) {
  fs::create_directories(PrefsFolderPath());
  const std::string target = ConfigHome() + "/moved-away";
  fs::create_symlink(target, KeyPath("PrefLogin"));
  StartLauncher();
  EXPECT_EQ(LoginField(), "");

  ChangeLoginInPreferences("alice");

  EXPECT_FALSE(fs::is_symlink(KeyPath("PrefLogin")));
  EXPECT_EQ(ReadFile(KeyPath("PrefLogin")), "alice");
  EXPECT_FALSE(FileExists(target)) << "the save wrote through the link";
  EXPECT_EQ(Prefs::PrefLogin(), "alice");
}

}  // namespace
}  // namespace tervix::test
