#include <gtest/gtest.h>

#include <QEvent>
#include <QObject>
#include <cerrno>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "about/AquaAboutBox.h"
#include "login/Window1.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Runtime.h"
#include "platform/ui/Controls.h"
#include "platform/ui/qt/Widgets.h"
#include "prefs/Prefs.h"
#include "restore/Restore.h"
#include "tests/support/FaultPlan.h"
#include "tests/support/TestRuntime.h"
#include "tests/support/UserActions.h"

namespace tervix::test {
namespace {

using Files = std::map<std::string, std::string>;
using Texts = std::vector<std::string>;

constexpr const char* kExecutable = "/opt/tervix/Tervix";
constexpr const char* kPrompt = "Please enter your gateway login...";
constexpr const char* kProfile = "current profile";
constexpr const char* kOldBackup = "old backup, longer than the current profile";

// Bob's profile and last week's backup are on disk, and "bob" is typed into the login window.
class LoginTest : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    WriteFile(ProfileFolder() + "bob.usr", kProfile);
    WriteFile(ProfileFolder() + "bob-backup.usr", kOldBackup);
    StartLauncher();
    Type(Login(), "EditField1", "bob");
  }

  static platform::Window& Login() {
    return platform::NotNil(platform::GetImplicitWindow(Window1::kRuntimeClassName));
  }
  static std::string StatusLine() {
    return Login().ControlAs<platform::StaticText>("StaticText2")->Text();
  }
  static std::string LoginField() {
    return Login().ControlAs<platform::EditField>("EditField1")->Text();
  }
  static bool LogonEnabled() { return Login().ControlByName("BevelButton1")->Enabled(); }
  Files Profiles() const {
    Files files;
    for (const std::string& name : ListFolder(ProfileFolder())) {
      files[name] = ReadFile(ProfileFolder() + name).value_or("<unreadable>");
    }
    return files;
  }
};

// A NUL cannot be typed, only pasted; setting the field's text stands in for the paste.
TEST_F(LoginTest, LoginNamingNoProfileShowsCautionAndTouchesNoFile) {
  const Files before = Profiles();
  size_t shown = 0;
  for (const std::string& login :
       {std::string("carol"), std::string("../Tervix/bob"), std::string("bob.usr\0", 8)}) {
    SCOPED_TRACE("login: " + login);
    Login().ControlAs<platform::EditField>("EditField1")->SetText(login);
    Click(Login(), "BevelButton1");

    ASSERT_EQ(dialogs().messages().size(), ++shown);
    EXPECT_EQ(dialogs().messages().back().text, "This gateway doesn't exists, please try again...");
    EXPECT_EQ(dialogs().messages().back().style, 48);
    EXPECT_EQ(dialogs().messages().back().title, "");
    EXPECT_EQ(StatusLine(), kPrompt);
    EXPECT_TRUE(LogonEnabled());
    EXPECT_EQ(Profiles(), before);
  }
  EXPECT_EQ(launches().launched(), Texts{});
}

TEST_F(LoginTest, LogonReplacesOldBackupWithWholeCopyThenStartsKnownGameAndQuits) {
  Prefs::PrefExecutable(kExecutable);
  Files atLaunch;
  launches().AtLaunch([&](const std::string&) { atLaunch = Profiles(); });
  Click(Login(), "BevelButton1");

  EXPECT_EQ(atLaunch, (Files{{"bob-backup.usr", kProfile}, {"bob.usr", kProfile}}));
  EXPECT_EQ(Profiles(), atLaunch);
  EXPECT_EQ(StatusLine(), "Starting gateway...");
  EXPECT_FALSE(LogonEnabled());
  EXPECT_EQ(dialogs().messages().size(), 0u);
  EXPECT_EQ(dialogs().openFileTitles(), Texts{});
  EXPECT_EQ(launches().launched(), Texts{kExecutable});
  EXPECT_EQ(clock().backgroundTaskCalls(), 240);
  EXPECT_EQ(platform::PendingQuitCode(), 0);
}

// Whether last week's backup is on disk when the disk is full, and what the player is then told.
struct DiskFull {
  const char* name;
  bool oldBackup;
  const char* told;
  friend void PrintTo(const DiskFull& scene, std::ostream* out) { *out << scene.name; }
};

class DiskFullTest : public LoginTest, public testing::WithParamInterface<DiskFull> {};

TEST_P(DiskFullTest, PlayerIsToldBeforeTheGameStartsAndNoBackupFileChanges) {
  if (!GetParam().oldBackup) {
    std::filesystem::remove(ProfileFolder() + "bob-backup.usr");
  }
  Prefs::PrefExecutable(kExecutable);
  const Files before = Profiles();
  std::string behindTheBox;
  size_t launchedBehindTheBox = 0;
  dialogs().WhileMessageShows([&] {
    behindTheBox = StatusLine();
    launchedBehindTheBox = launches().launched().size();
  });
  FaultPlan::Install()->FailCall("CopyFileRange", 1, ENOSPC);
  Click(Login(), "BevelButton1");
  FaultPlan::Uninstall();

  ASSERT_EQ(dialogs().messages().size(), 1u);
  EXPECT_EQ(dialogs().messages()[0].text, GetParam().told);
  EXPECT_EQ(dialogs().messages()[0].style, 48);
  EXPECT_EQ(dialogs().messages()[0].title, "");
  EXPECT_EQ(behindTheBox, "Backuping profile...");
  EXPECT_EQ(launchedBehindTheBox, 0u);
  EXPECT_EQ(Profiles(), before);
  EXPECT_EQ(StatusLine(), "Starting gateway...");
  EXPECT_EQ(launches().launched(), Texts{kExecutable});
  EXPECT_EQ(clock().backgroundTaskCalls(), 240);
  EXPECT_EQ(platform::PendingQuitCode(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    CopyMeetsFullDisk, DiskFullTest,
    testing::Values(DiskFull{"OverOldBackup", true,
                             "Backup failed (No space left on device). Your old backup was kept."},
                    DiskFull{"WithNoBackupYet", false,
                             "Backup failed (No space left on device). You have no backup yet."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LoginTest, GameThatCannotStartIsToldAndItsStoredPathKept) {
  Prefs::PrefExecutable(kExecutable);
  launches().FailWith(ENOENT);
  Click(Login(), "BevelButton1");

  ASSERT_EQ(dialogs().messages().size(), 1u);
  EXPECT_EQ(
      dialogs().messages()[0].text,
      std::string("The game could not be started (No such file or directory): ") + kExecutable);
  EXPECT_EQ(dialogs().messages()[0].style, 48);
  EXPECT_EQ(dialogs().messages()[0].title, "");
  EXPECT_EQ(ReadFile(PrefsFolderPath() + "/PrefExecutable"), kExecutable);
  EXPECT_EQ(clock().backgroundTaskCalls(), 240);
  EXPECT_EQ(platform::PendingQuitCode(), 0);
}

class GameDialogTest : public LoginTest,
                       public testing::WithParamInterface<std::optional<std::string>> {};

TEST_P(GameDialogTest, UnknownGameIsAskedForOnceThenTheAnswerStoredAndStarted) {
  dialogs().AnswerNextOpenFile(GetParam());
  Click(Login(), "BevelButton1");

  EXPECT_EQ(dialogs().openFileTitles(), Texts{"Select Tervix executable"});
  EXPECT_EQ(dialogs().openFileInitialDirectories(), Texts{"/"});
  EXPECT_EQ(ReadFile(PrefsFolderPath() + "/PrefExecutable"), GetParam());
  EXPECT_EQ(launches().launched(), GetParam() ? Texts{*GetParam()} : Texts{});
  EXPECT_EQ(dialogs().messages().size(), 0u);
  EXPECT_EQ(platform::PendingQuitCode(), 0);
}

INSTANTIATE_TEST_SUITE_P(ChosenOrCancelled, GameDialogTest,
                         testing::Values("/games/tervix/Tervix", std::nullopt));

TEST_F(LoginTest, RestoreClosesLoginWindowAndShowsRestoreWindowNamingStoredLogin) {
  Prefs::PrefLogin("alice");
  const std::shared_ptr<platform::Window> login = Login().shared_from_this();
  Click(*login, "BevelButton2");

  const auto restore = platform::GetImplicitWindow(Restore::kRuntimeClassName);
  EXPECT_FALSE(login->IsOpen());
  ASSERT_NE(restore, nullptr);
  EXPECT_TRUE(restore->Visible());
  const std::string terminal = restore->ControlAs<platform::EditField>("Terminal")->Text();
  EXPECT_NE(terminal.find("Your current gateway is: alice.usr\n"), std::string::npos) << terminal;
}

TEST_F(LoginTest, RebuiltLoginWindowShowsStoredLogin) {
  Prefs::PrefLogin("alice");
  Click(Login(), "BevelButton2");
  Click(platform::NotNil(platform::GetImplicitWindow(Restore::kRuntimeClassName)), "BevelNO");

  EXPECT_EQ(LoginField(), "alice");
  EXPECT_EQ(StatusLine(), kPrompt);
}

TEST_F(LoginTest, BannerOpensOneAboutBox) {
  Click(Login(), "Canvas1");
  const auto about = platform::GetImplicitWindow(AquaAboutBox::kRuntimeClassName);
  Click(Login(), "Canvas1");

  ASSERT_NE(about, nullptr);
  EXPECT_TRUE(about->Visible());
  EXPECT_EQ(platform::GetImplicitWindow(AquaAboutBox::kRuntimeClassName), about);
}

// What the player sees while Logon runs, in order: the status line at each
// repaint of the Logon button (the flow repaints it after every text), each
// message box and each game started.
class Watch : public QObject, public ScriptedDialogs, public LaunchRecorder {
 public:
  Texts seen;

  bool eventFilter(QObject*, QEvent* event) override {
    const auto login = platform::GetImplicitWindow(Window1::kRuntimeClassName);
    if (event->type() != QEvent::Paint || !login)
      return false;
    const std::string status = login->ControlAs<platform::StaticText>("StaticText2")->Text();
    if (seen.empty() || seen.back() != status)
      seen.push_back(status);
    return false;
  }
  int ShowMessage(const std::string& text, int, const std::string&) override {
    seen.push_back("message: " + text);
    return 1;
  }
  int Launch(const std::string& path) override {
    seen.push_back("started: " + path);
    return 0;
  }
};

struct LogonCase {
  std::string name;
  std::string removed;  // the profile file taken away before the click, if any
  Texts seen;
  friend void PrintTo(const LogonCase& logon, std::ostream* out) { *out << logon.name; }
};

class LogonStepsTest : public LoginTest, public testing::WithParamInterface<LogonCase> {};

TEST_P(LogonStepsTest, StatusLineShowsEachStepInOrder) {
  if (!GetParam().removed.empty())
    std::filesystem::remove(ProfileFolder() + GetParam().removed);
  Prefs::PrefExecutable(kExecutable);
  auto watch = std::make_shared<Watch>();
  platform::InstallDialogHost(watch);
  platform::InstallLaunchService(watch);
  platform::qt::ControlQWidget(*Login().ControlByName("BevelButton1"))
      ->installEventFilter(watch.get());
  Click(Login(), "BevelButton1");

  EXPECT_EQ(watch->seen, GetParam().seen);
}

// The press itself repaints the button while the prompt still stands.
const LogonCase kLogonCases[] = {
    {"OldBackup",
     "",
     {kPrompt, "Checking if gateway exists...", "Checking if old backup exists...",
      "Deleting old backup...", "Backuping profile...", "Starting gateway...",
      std::string("started: ") + kExecutable}},
    {"NoOldBackup",
     "bob-backup.usr",
     {kPrompt, "Checking if gateway exists...", "Checking if old backup exists...",
      "Backuping profile...", "Starting gateway...", std::string("started: ") + kExecutable}},
    {"MissingProfile",
     "bob.usr",
     {kPrompt, "Checking if gateway exists...", kPrompt,
      "message: This gateway doesn't exists, please try again..."}},
};

INSTANTIATE_TEST_SUITE_P(Logon, LogonStepsTest, testing::ValuesIn(kLogonCases),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace tervix::test
