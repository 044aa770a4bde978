#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QTextCursor>
#include <cerrno>

#include "app/Instances.h"
#include "login/Window1.h"
#include "options/Option.h"
#include "platform/ui/qt/Widgets.h"
#include "restore/Restore.h"
#include "tests/support/FaultPlan.h"
#include "tests/support/TestRuntime.h"
#include "tests/support/UserActions.h"

namespace tervix::test {
namespace {

using Files = std::map<std::string, std::string>;

constexpr const char* kOpening = "\n\nStarting restore process...\n\n";
constexpr const char* kReturning = "\nReturning to login screen.\nPlease wait...";
constexpr const char* kCurrent = "current profile";
constexpr const char* kBackup = "backup profile";

std::string Dialogue(const std::string& login) {
  return "Tervix Restore System v1.0\n--------------------------------------------------------\n\n"
         "Your current gateway is: " +
         login + ".usr\n\nDo you want to restore gateway: " + login + "-backup.usr ?";
}

// The fake clock, noting which buttons can still be pressed when the wait
// before the return to the login window begins.
class WatchingClock : public FakeTickClock {
 public:
  void BackgroundTask() override {
    const auto window = platform::GetImplicitWindow(Restore::kRuntimeClassName);
    if (window && backgroundTaskCalls() == 0)
      for (const char* button : {"BevelYES", "BevelNO"})
        pressableAtWait += window->ControlByName(button)->Enabled() ? button : "";
    FakeTickClock::BackgroundTask();
  }
  std::string pressableAtWait;
};

// Alice's login is stored from an earlier run and the given profiles are on disk;
// the player types "bob" into the login window and presses "Restore".
class RestoreTest : public RuntimeTest {
 protected:
  void Open(const Files& profiles, const std::string& storedLogin = "alice") {
    for (const auto& [name, content] : profiles)
      WriteFile(ProfileFolder() + name, content);
    Prefs::PrefLogin(storedLogin);
    StartLauncher();
    platform::InstallTickClock(clock_);
    Type(platform::NotNil(instance::Window1()), "EditField1", "bob");
    Click(platform::NotNil(instance::Window1()), "BevelButton2");
    window_ = platform::GetImplicitWindow(Restore::kRuntimeClassName);
    platform::NotNil(window_);
  }
  // The terminal when the wait began; the wait's length; the login field after it.
  void ExpectReturnedToLogin(const std::string& terminal, int ticks) {
    EXPECT_EQ(clock_->terminalAtWait(), terminal);
    EXPECT_EQ(clock_->backgroundTaskCalls(), ticks);
    EXPECT_EQ(platform::GetImplicitWindow(Restore::kRuntimeClassName), nullptr);
    const auto login = platform::GetImplicitWindow(Window1::kRuntimeClassName);
    ASSERT_NE(login, nullptr) << "no login window after the wait";
    EXPECT_EQ(login->ControlAs<platform::EditField>("EditField1")->Text(), "alice");
  }
  Files Contents(const std::string& folder) const {
    Files files;
    for (const std::string& name : ListFolder(folder))
      files[name] = ReadFile(folder + "/" + name).value_or("<unreadable>");
    return files;
  }

  std::shared_ptr<WatchingClock> clock_ = std::make_shared<WatchingClock>();
  std::shared_ptr<platform::Window> window_;
};

// Each "Yes" only writes the opening lines; "No" then aborts.
TEST_F(RestoreTest, YesWithoutProfileOnlyWritesTheOpeningLinesUntilNoAbortsAfter240Ticks) {
  Open({{"alice-backup.usr", kBackup}});
  Click(*window_, "BevelYES");
  Click(*window_, "BevelYES");

  EXPECT_EQ(RestoreTerminal(), Dialogue("alice") + kOpening + kOpening);
  EXPECT_EQ(platform::GetImplicitWindow(Restore::kRuntimeClassName), window_);
  EXPECT_TRUE(window_->ControlByName("BevelYES")->Enabled() &&
              window_->ControlByName("BevelNO")->Enabled());
  EXPECT_EQ(clock_->backgroundTaskCalls(), 0);
  EXPECT_EQ(Contents(ProfileFolder()), (Files{{"alice-backup.usr", kBackup}}));
  Click(*window_, "BevelNO");
  ExpectReturnedToLogin(
      Dialogue("alice") + kOpening + kOpening +
          "\n\nRestore process aborted, returning to login screen.\nPlease wait...",
      240);
  EXPECT_EQ(clock_->pressableAtWait, "") << "a button could start a second flow inside the wait";
}

TEST_F(RestoreTest, YesWithoutBackupSaysSoAndReturnsToLoginAfter360Ticks) {
  Open({{"alice.usr", kCurrent}});
  Click(*window_, "BevelYES");

  ExpectReturnedToLogin(
      Dialogue("alice") + kOpening + "Sorry you have no backup yet..." + kReturning, 360);
  EXPECT_EQ(Contents(ProfileFolder()), (Files{{"alice.usr", kCurrent}}));
}

TEST_F(RestoreTest, YesPutsBackupInPlaceAndKeepsFormerProfileAsTrashed) {
  Open({{"alice.usr", kCurrent},
        {"alice-backup.usr", kBackup},
        {"alice-trashed.usr", "an older trashed one, longer than both"}});
  Click(*window_, "BevelYES");

  ExpectReturnedToLogin(Dialogue("alice") + kOpening + "Restore done !!!\n" + kReturning, 360);
  EXPECT_EQ(clock_->pressableAtWait, "") << "a second press could restore over the trashed profile";
  EXPECT_EQ(Contents(ProfileFolder()), (Files{{"alice-backup.usr", kBackup},
                                              {"alice-trashed.usr", kCurrent},
                                              {"alice.usr", kBackup}}));
}

// The second "Yes" finds the profile already is the backup; the trashed copy is
// then the only one left of the profile from before the first.
TEST_F(RestoreTest, SecondRestoreSaysDoneAndKeepsTheFirstTrashedProfile) {
  Open({{"alice.usr", kCurrent}, {"alice-backup.usr", kBackup}});
  Click(*window_, "BevelYES");
  clock_ = std::make_shared<WatchingClock>();
  platform::InstallTickClock(clock_);
  Click(platform::NotNil(instance::Window1()), "BevelButton2");
  Click(platform::NotNil(instance::Restore()), "BevelYES");

  ExpectReturnedToLogin(Dialogue("alice") + kOpening + "Restore done !!!\n" + kReturning, 360);
  EXPECT_EQ(Contents(ProfileFolder()), (Files{{"alice-backup.usr", kBackup},
                                              {"alice-trashed.usr", kCurrent},
                                              {"alice.usr", kBackup}}));
}

// The question at the end of a long login is in view, and the whole login
// is in the terminal: typing at its end adds to the dialogue as it was written.
TEST_F(RestoreTest, LongLoginIsShownWholeWithTheQuestionInView) {
  const std::string login(100000, 'g');
  Open({}, login);
  const auto* terminal = qobject_cast<const QPlainTextEdit*>(
      platform::qt::ControlInputWidget(*window_->ControlByName("Terminal")));
  ASSERT_NE(terminal, nullptr);
  QTextCursor end(terminal->document());
  end.movePosition(QTextCursor::End);
  EXPECT_TRUE(terminal->viewport()->rect().contains(terminal->cursorRect(end)))
      << "the view stops short of the question";
  Type(*window_, "Terminal", "y");
  EXPECT_TRUE(RestoreTerminal() == Dialogue(login) + "y");
}

class RestoreFaultTest : public RestoreTest, public testing::WithParamInterface<int> {};

// The first copy keeps the profile as the trashed one, the second puts the backup in its place.
TEST_P(RestoreFaultTest, FailedCopyLeavesProfileAndSaysSo) {
  Open({{"alice.usr", kCurrent}, {"alice-backup.usr", kBackup}});
  FaultPlan::Install()->FailCall("CopyFileRange", GetParam(), ENOSPC);
  Click(*window_, "BevelYES");
  FaultPlan::Uninstall();

  ExpectReturnedToLogin(Dialogue("alice") + kOpening +
                            "Restore failed, your gateway was left as it was.\n" + kReturning,
                        360);
  EXPECT_EQ(ReadFile(ProfileFolder() + "alice.usr"), kCurrent);
  EXPECT_EQ(ReadFile(ProfileFolder() + "alice-backup.usr"), kBackup);
}

INSTANTIATE_TEST_SUITE_P(EitherCopy, RestoreFaultTest, testing::Values(1, 2));

// A profile and a backup that are not found to be the same when read to their
// end: the comparison reads the profile first, then the backup.
struct Unconfirmed {
  const char* name;
  std::string profile, backup;
  int failedRead = 0;
  friend void PrintTo(const Unconfirmed& files, std::ostream* out) { *out << files.name; }
};
const std::string kLarge(600 * 1024, 'x');
const Unconfirmed kUnconfirmed[] = {{"ProfileUnreadable", kBackup, kBackup, 1},
                                    {"BackupUnreadable", kBackup, kBackup, 3},
                                    {"DifferentInTheLastPart", kLarge + "a", kLarge + "b"}};

class ComparisonTest : public RestoreTest, public testing::WithParamInterface<Unconfirmed> {};

TEST_P(ComparisonTest, ProfileNotFoundToBeTheBackupIsRestoredAsUsual) {
  const Unconfirmed& files = GetParam();
  Open({{"alice.usr", files.profile},
        {"alice-backup.usr", files.backup},
        {"alice-trashed.usr", kCurrent}});
  if (files.failedRead != 0)
    FaultPlan::Install()->FailCall("Read", files.failedRead, EIO);
  Click(*window_, "BevelYES");
  FaultPlan::Uninstall();

  ExpectReturnedToLogin(Dialogue("alice") + kOpening + "Restore done !!!\n" + kReturning, 360);
  EXPECT_TRUE(ReadFile(ProfileFolder() + "alice-trashed.usr") == files.profile);
  EXPECT_TRUE(ReadFile(ProfileFolder() + "alice.usr") == files.backup);
}

INSTANTIATE_TEST_SUITE_P(Cases, ComparisonTest, testing::ValuesIn(kUnconfirmed),
                         [](const auto& info) { return std::string(info.param.name); });

// The question names the login stored when the window opened; "Yes" uses the one stored now.
TEST_F(RestoreTest, YesWorksOnLoginStoredAfterWindowOpened) {
  Open({{"carol.usr", kCurrent}, {"carol-backup.usr", kBackup}}, "");
  ChooseMenu("Pref");
  platform::Window& options =
      platform::NotNil(platform::GetImplicitWindow(Option::kRuntimeClassName));
  Type(options, "EditField1", "carol");
  Focus(options, "Executable");
  Click(*window_, "BevelYES");

  EXPECT_EQ(clock_->terminalAtWait(), Dialogue("") + kOpening + "Restore done !!!\n" + kReturning);
  EXPECT_EQ(ReadFile(ProfileFolder() + "carol.usr"), kBackup);
  EXPECT_EQ(ReadFile(ProfileFolder() + "carol-trashed.usr"), kCurrent);
}

TEST_F(RestoreTest, CloseBoxLeavesFilesAndPreferencesAsTheyWere) {
  Open({{"alice.usr", kCurrent}, {"alice-backup.usr", kBackup}});
  const Files profiles = Contents(ProfileFolder());
  const Files prefs = Contents(PrefsFolderPath());
  CloseBox(*window_);

  EXPECT_TRUE(platform::OpenWindows().empty()) << platform::OpenWindows().size() << " windows open";
  EXPECT_EQ(Contents(ProfileFolder()), profiles);
  EXPECT_EQ(Contents(PrefsFolderPath()), prefs);
}

}  // namespace
}  // namespace tervix::test
