#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QObject>
#include <QTimer>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "login/Window1.h"
#include "platform/core/Runtime.h"
#include "platform/ui/Controls.h"
#include "platform/ui/qt/Widgets.h"
#include "prefs/Prefs.h"
#include "tests/support/FaultPlan.h"
#include "tests/support/TestRuntime.h"
#include "tests/support/UserActions.h"

namespace tervix::test {
namespace {

using Texts = std::vector<std::string>;

constexpr const char* kExecutable = "/opt/tervix/Tervix";
constexpr const char* kPrompt = "Please enter your gateway login...";
constexpr const char* kProfile = "current profile";
constexpr const char* kOldBackup = "old backup, longer than the current profile";

platform::Window& Login() {
  return platform::NotNil(platform::GetImplicitWindow(Window1::kRuntimeClassName));
}

// Notes the status line at each repaint of Logon, which the flow repaints after every text.
class StatusWatch : public QObject {
 public:
  explicit StatusWatch(Texts& seen) : seen_(seen) {}
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      const std::string status = Login().ControlAs<platform::StaticText>("StaticText2")->Text();
      if (seen_.empty() || seen_.back() != status)
        seen_.push_back(status);
    }
    return false;
  }

 private:
  Texts& seen_;
};

std::string Outcome(int ticks, bool quits, bool logonEnabled, const std::string& game,
                    const std::string& backup) {
  return std::to_string(ticks) + " ticks, " + (quits ? "quits" : "stays") + ", Logon " +
         (logonEnabled ? "enabled" : "disabled") + "; game " + game + "; backup " + backup;
}

struct LogonCase {
  std::string name;
  std::string login = "bob";
  std::string removed{};  // the profile file taken away before the click, if any
  std::optional<std::string> known = kExecutable;  // else the game is asked for
  std::optional<std::string> answer{};
  int copyError = 0;
  int launchError = 0;
  std::string launchReason{};
  Texts seen;
  friend void PrintTo(const LogonCase& logon, std::ostream* out) { *out << logon.name; }
};

class BobAtLoginTest : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    WriteFile(ProfileFolder() + "bob.usr", kProfile);
    WriteFile(ProfileFolder() + "bob-backup.usr", kOldBackup);
    StartLauncher();
    Focus(Login(), "EditField1");
  }
};

class LogonStepsTest : public BobAtLoginTest, public testing::WithParamInterface<LogonCase> {};

TEST_P(LogonStepsTest, PlayerSeesEachStepInOrderAndItsOutcome) {
  const LogonCase& logon = GetParam();
  if (!logon.removed.empty())
    std::filesystem::remove(ProfileFolder() + logon.removed);
  if (logon.known)
    Prefs::PrefExecutable(*logon.known);
  Login().ControlAs<platform::EditField>("EditField1")->SetText(logon.login);
  Texts seen;
  StatusWatch watch(seen);
  platform::qt::ControlQWidget(*Login().ControlByName("BevelButton1"))->installEventFilter(&watch);
  dialogs().WhileMessageShows([&] {
    const ShownMessage& shown = dialogs().messages().back();
    seen.push_back((shown.style == 48 ? "caution" : "style " + std::to_string(shown.style)) +
                   shown.title + ": " + shown.text);
  });
  dialogs().AnswerNextOpenFile(logon.answer);
  launches().AtLaunch([&](const std::string& path) { seen.push_back("started: " + path); });
  launches().FailWith(logon.launchError, logon.launchReason);
  if (logon.copyError != 0)
    FaultPlan::Install()->FailCall("CopyFileRange", 1, logon.copyError);
  Click(Login(), "BevelButton1");
  FaultPlan::Uninstall();

  for (size_t index = 0; index < dialogs().openFileTitles().size(); ++index)
    seen.push_back("asked: " + dialogs().openFileTitles()[index] + " in " +
                   dialogs().openFileInitialDirectories()[index]);
  const auto read = [this](const std::string& path) { return ReadFile(path).value_or("none"); };
  seen.push_back(Outcome(clock().backgroundTaskCalls(), platform::PendingQuitCode() == 0,
                         Login().ControlByName("BevelButton1")->Enabled(),
                         read(PrefsFolderPath() + "/PrefExecutable"),
                         read(ProfileFolder() + "bob-backup.usr")));
  EXPECT_EQ(seen, logon.seen);
}

Texts Then(Texts steps, const Texts& more) {
  steps.insert(steps.end(), more.begin(), more.end());
  return steps;
}

const std::string kStarting = "Starting gateway...";
const std::string kStarted = std::string("started: ") + kExecutable;
const std::string kAsked = "asked: Select Tervix executable in /";
const std::string kBackedUp = Outcome(240, true, false, kExecutable, kProfile);
const Texts kChecking{kPrompt, "Checking if gateway exists...", "Checking if old backup exists..."};
const Texts kBackingUp = Then(kChecking, {"Deleting old backup...", "Backuping profile..."});
const Texts kMissing{kPrompt, "Checking if gateway exists...", kPrompt,
                     "caution: This gateway doesn't exists, please try again...",
                     Outcome(0, false, true, kExecutable, kOldBackup)};

// The press repaints the button while the prompt stands; a NUL can only be pasted.
const LogonCase kLogonCases[] = {
    {.name = "OldBackup", .seen = Then(kBackingUp, {kStarting, kStarted, kBackedUp})},
    {.name = "NoOldBackup",
     .removed = "bob-backup.usr",
     .seen = Then(kChecking, {"Backuping profile...", kStarting, kStarted, kBackedUp})},
    {.name = "UnknownLogin", .login = "carol", .seen = kMissing},
    {.name = "LoginOutsideTheProfileFolder", .login = "../Tervix/bob", .seen = kMissing},
    {.name = "LoginWithNul", .login = std::string("bob.usr\0", 8), .seen = kMissing},
    {.name = "DiskFullOverOldBackup",
     .copyError = ENOSPC,
     .seen = Then(kBackingUp,
                  {"caution: Backup failed (No space left on device). Your old backup was kept.",
                   kStarting, kStarted, Outcome(240, true, false, kExecutable, kOldBackup)})},
    {.name = "DiskFullWithNoBackupYet",
     .removed = "bob-backup.usr",
     .copyError = ENOSPC,
     .seen = Then(kChecking,
                  {"Backuping profile...",
                   "caution: Backup failed (No space left on device). You have no backup yet.",
                   kStarting, kStarted, Outcome(240, true, false, kExecutable, "none")})},
    {.name = "GameFileThatTheOpenerFailsToOpen",
     .launchError = ECHILD,
     .launchReason = "The desktop's opener xdg-open failed with exit status 4: the action failed",
     .seen = Then(kBackingUp, {kStarting, kStarted,
                               "caution: The game could not be started (The desktop's opener "
                               "xdg-open failed with exit status 4: the action failed): "
                               "/opt/tervix/Tervix",
                               kBackedUp})},
    {.name = "UnknownGameChosen",
     .known = std::nullopt,
     .answer = "/games/tervix/Tervix",
     .seen = Then(kBackingUp, {kStarting, "started: /games/tervix/Tervix", kAsked,
                               Outcome(240, true, false, "/games/tervix/Tervix", kProfile)})},
    {.name = "UnknownGameCancelled",
     .known = std::nullopt,
     .seen = Then(kBackingUp, {kStarting, kAsked, Outcome(240, true, false, "none", kProfile)})},
};

INSTANTIATE_TEST_SUITE_P(Logon, LogonStepsTest, testing::ValuesIn(kLogonCases),
                         [](const auto& info) { return info.param.name; });

// The status text at the first call on a profile file made under each text, then at the launch.
struct StepCase {
  std::string name;
  std::string login = "bob";
  std::string removed{};
  Texts seen;
  friend void PrintTo(const StepCase& step, std::ostream* out) { *out << step.name; }
};

class LogonWhileStepsRunTest : public BobAtLoginTest,
                               public testing::WithParamInterface<StepCase> {};

TEST_P(LogonWhileStepsRunTest, StatusLineNamesTheStepWhoseFilesAreInUse) {
  const StepCase& step = GetParam();
  if (!step.removed.empty())
    std::filesystem::remove(ProfileFolder() + step.removed);
  Prefs::PrefExecutable(kExecutable);
  Login().ControlAs<platform::EditField>("EditField1")->SetText(step.login);
  const auto status = [] { return Login().ControlAs<platform::StaticText>("StaticText2")->Text(); };
  Texts seen;
  launches().AtLaunch([&](const std::string&) { seen.push_back("launch: " + status()); });
  FaultPlan::Install()->OnCall(NoteLooks(ProfileFolder(), status, seen));
  Click(Login(), "BevelButton1");
  FaultPlan::Uninstall();
  EXPECT_EQ(seen, step.seen);
}

const Texts kStepsToLaunch{"bob.usr: Checking if gateway exists...",
                           "bob-backup.usr: Checking if old backup exists...",
                           "bob.usr: Backuping profile...", "launch: Starting gateway..."};

const StepCase kStepCases[] = {
    {.name = "OldBackup", .seen = kStepsToLaunch},
    {.name = "NoOldBackup", .removed = "bob-backup.usr", .seen = kStepsToLaunch},
    {.name = "UnknownLogin",
     .login = "carol",
     .seen = {"carol.usr: Checking if gateway exists..."}},
};

INSTANTIATE_TEST_SUITE_P(Logon, LogonWhileStepsRunTest, testing::ValuesIn(kStepCases),
                         [](const auto& info) { return info.param.name; });

// The path looks like markup, so it must be shown as plain text, tags and all.
TEST_F(LogonStepsTest, FailedLaunchBoxIsACautionWithOneButtonAndThePathAsPlainText) {
  platform::InstallDialogHost(nullptr);
  Prefs::PrefExecutable("/games/<b>x</b>");
  launches().FailWith(ENOENT);
  Login().ControlAs<platform::EditField>("EditField1")->SetText("bob");
  Texts shown;
  QTimer lookForBox;
  QObject::connect(&lookForBox, &QTimer::timeout, [&] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(widget);
      if (box != nullptr && box->isVisible()) {
        shown.push_back(
            std::string(box->icon() == QMessageBox::Warning ? "caution" : "no caution") +
            (box->buttons().size() == 1 ? ", one button" : ", more buttons") +
            (box->windowTitle().isEmpty() ? ", no title" : ", a title") +
            (box->textFormat() == Qt::PlainText ? ", plain: " : ", not plain: ") +
            box->text().toStdString());
        box->button(QMessageBox::Ok)->click();
      }
    }
  });
  lookForBox.start(0);
  Click(Login(), "BevelButton1");
  EXPECT_EQ(shown, Texts{"caution, one button, no title, plain: The game could not be started (No "
                         "such file or directory): "
                         "/games/<b>x</b>"});
}

}  // namespace
}  // namespace tervix::test
