#include <gtest/gtest.h>

#include <cerrno>
#include <memory>
#include <string>

#include "login/Window1.h"
#include "options/Option.h"
#include "platform/Controls.h"
#include "platform/Window.h"
#include "prefs/Prefs.h"
#include "tests/faults/FaultSweep.h"
#include "tests/support/UserActions.h"

namespace tervix::test {
namespace {

constexpr const char* kExecutable = "/opt/tervix/Tervix";

// A file system on which one path cannot be looked at for a moment: the Nth
// look at it fails with EIO.
class BlinkingPath : public FaultPlan {
 public:
  BlinkingPath(std::string path, int nth) : path_(std::move(path)), nth_(nth) {}
  int Stat(const std::string& path, struct stat* status) override {
    if (path == path_ && ++looks_ == nth_) {
      errno = EIO;
      return -1;
    }
    return FaultPlan::Stat(path, status);
  }

 private:
  std::string path_;
  int nth_;
  int looks_ = 0;
};

// A file system that, for one look, cannot see the file just renamed onto a path.
class UnseenAfterRename : public FaultPlan {
 public:
  explicit UnseenAfterRename(std::string path) : path_(std::move(path)) {}
  int Rename(const std::string& from, const std::string& to) override {
    const int result = FaultPlan::Rename(from, to);
    unseen_ = unseen_ || (result == 0 && to == path_);
    return result;
  }
  int Stat(const std::string& path, struct stat* status) override {
    if (unseen_ && path == path_) {
      unseen_ = false;
      errno = EIO;
      return -1;
    }
    return FaultPlan::Stat(path, status);
  }

 private:
  std::string path_;
  bool unseen_ = false;
};

// Bob presses "Logon" with the game known, and the second look at the
// preferences folder during the click fails.
class LogonWhileThePreferencesFolderBlinks : public FaultedFlow {
 protected:
  Seen Run() override {
    WriteFile(ProfileFolder() + "bob.usr", "bob's profile");
    StoreFromEarlierRun("PrefExecutable", kExecutable);
    StartLauncher();
    platform::Window& login =
        platform::NotNil(platform::GetImplicitWindow(Window1::kRuntimeClassName));
    Type(login, "EditField1", "bob");
    platform::InstallFileSystem(std::make_shared<BlinkingPath>(ConfigHome(), 2));

    Click(login, "BevelButton1");

    const auto& launched = launches().launched();
    return {{"status", login.ControlAs<platform::StaticText>("StaticText2")->Text()},
            {"launched", launched.size() == 1 ? launched[0] : std::to_string(launched.size())}};
  }
};

// The player replaces "alice" with "bob" in the preferences window, and the
// look at the login's file right after the new value was moved there fails.
class LoginSavedWhileItsFileBlinks : public FaultedFlow {
 protected:
  Seen Run() override {
    StoreFromEarlierRun("PrefLogin", "alice");
    StartLauncher();
    ChooseMenu("Pref");
    platform::Window& preferences =
        platform::NotNil(platform::GetImplicitWindow(Option::kRuntimeClassName));
    Type(preferences, "EditField1", "\b\b\b\b\bbob");
    platform::InstallFileSystem(
        std::make_shared<UnseenAfterRename>(PrefsFolderPath() + "/PrefLogin"));

    Focus(preferences, "Executable");

    platform::InstallFileSystem(nullptr);
    return {{"login in this run", Prefs::PrefLogin()}};
  }
};

// Logon reads the known executable's path twice; when the second read fails,
// the player reads "Starting gateway..." and the launcher quits without the game.
TEST(MomentaryFailureTest, LogonStartsTheKnownGameWhenThePreferencesFolderBlinks) {
  RunOnce<LogonWhileThePreferencesFolderBlinks>(
      "the preferences folder blinks", [](const FaultCase& logon) {
        EXPECT_EQ(logon.Saw("status"), "Starting gateway...");
        EXPECT_EQ(logon.Saw("launched"), kExecutable);
      });
}

// The new login is in place once its rename succeeds; a look at the file that
// fails just then must not leave this run with the old login while the next
// run loads the new one.
TEST(MomentaryFailureTest, SavedLoginIsUsedAtOnceWhenItsFileBlinksAfterTheMove) {
  RunOnce<LoginSavedWhileItsFileBlinks>("the login's file blinks", [](const FaultCase& save) {
    EXPECT_EQ(FaultCase::Read(save.PrefsFolder() + "/PrefLogin"), "bob");
    EXPECT_EQ(save.Saw("login in this run"), "bob")
        << "this run still uses the login the player replaced";
  });
}

}  // namespace
}  // namespace tervix::test
