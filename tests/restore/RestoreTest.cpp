#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QTextCursor>
#include <cerrno>
#include <sstream>

#include "app/Instances.h"
#include "login/Window1.h"
#include "options/Option.h"
#include "platform/core/Runtime.h"
#include "platform/ui/qt/Widgets.h"
#include "restore/Restore.h"
#include "tests/support/FaultPlan.h"
#include "tests/support/TestRuntime.h"
#include "tests/support/UserActions.h"

namespace tervix::test {
namespace {

constexpr const char* kOpening = "\n\nStarting restore process...\n\n";
constexpr const char* kReturning = "\nReturning to login screen.\nPlease wait...";
constexpr const char* kDone = "Restore done !!!\n";
constexpr const char* kFailed = "Restore failed, your gateway was left as it was.\n";
const std::string kLarge(600 * 1024, 'x');

std::string Dialogue(const std::string& login) {
  return "Tervix Restore System v1.0\n--------------------------------------------------------\n\n"
         "Your current gateway is: " +
         login + ".usr\n\nDo you want to restore gateway: " + login + "-backup.usr ?";
}

// Alice's login is stored; the player types "bob" and presses "Restore".
class RestoreTest : public RuntimeTest {
 protected:
  // Alice's profiles as "alice=current backup=old": her profile, then each
  // other one by its kind, with a one-word content; "large-a" is a profile
  // larger than the part the restore compares at a time, ending in "a".
  void Open(const std::string& profiles, const std::string& storedLogin = "alice") {
    std::istringstream words(profiles);
    for (std::string word; words >> word;) {
      const std::string kind = word.substr(0, word.find('='));
      const std::string content = word.substr(kind.size() + 1);
      WriteFile(ProfileFolder() + (kind == "alice" ? "" : "alice-") + kind + ".usr",
                content.starts_with("large-") ? kLarge + content.substr(6) : content);
    }
    Prefs::PrefLogin(storedLogin);
    StartLauncher();
    Type(platform::NotNil(instance::Window1()), "EditField1", "bob");
    Click(platform::NotNil(instance::Window1()), "BevelButton2");
    window_ = Shown(Restore::kRuntimeClassName).shared_from_this();
  }
  // A folder's files in the form Open takes.
  std::string Contents(const std::string& folder) const {
    std::string files;
    for (const std::string& name : ListFolder(folder)) {
      std::string content = ReadFile(folder + "/" + name).value_or("<unreadable>");
      if (content.starts_with(kLarge))
        content = "large-" + content.substr(kLarge.size());
      std::string kind = name.starts_with("alice-") ? name.substr(6) : name;
      files += kind.substr(0, kind.rfind(".usr")) + "=" + content + " ";
    }
    return files;
  }

  std::shared_ptr<platform::Window> window_;
};

// Each copy asks the kernel until it gives 0 bytes, so the second copy's first call is the third.
// A profile that already is the backup keeps the trashed copy from before it.
struct PressCase {
  const char* name;
  const char* before;
  const char* presses;
  std::string said;
  int ticks;
  const char* pressable;
  const char* after;
  const char* fault = "";  // the call that fails, and which one of its kind
  // What the terminal says after the question while the profile files are
  // used: at the first call on one made under each text, the file it names.
  std::vector<std::string> during = {std::string("alice.usr: ") + kOpening};
  friend void PrintTo(const PressCase& press, std::ostream* out) { *out << press.name; }
};

std::string Said(const std::string& outcome) {
  return kOpening + outcome + kReturning;
}

const PressCase kPressCases[] = {
    {"YesWithoutProfileThenNo",
     "backup=backup",
     "BevelYES BevelYES BevelNO",
     std::string(kOpening) + kOpening +
         "\n\nRestore process aborted, returning to login screen.\nPlease wait...",
     240,
     "",
     "backup=backup ",
     "",
     {std::string("alice.usr: ") + kOpening, std::string("alice.usr: ") + kOpening + kOpening}},
    {"NoBackup", "alice=current", "BevelYES", Said("Sorry you have no backup yet..."), 360,
     "BevelYES", "alice=current "},
    {"BackupPutInPlace", "alice=current backup=backup trashed=older", "BevelYES", Said(kDone), 360,
     "", "backup=backup trashed=current alice=backup "},
    {"FirstCopyFails", "alice=current backup=backup", "BevelYES", Said(kFailed), 360, "",
     "backup=backup alice=current ", "CopyFileRange 1"},
    {"SecondCopyFails", "alice=current backup=backup", "BevelYES", Said(kFailed), 360, "",
     "backup=backup trashed=current alice=current ", "CopyFileRange 3"},
    {"ProfileAlreadyTheBackup", "alice=backup backup=backup trashed=current", "BevelYES",
     Said(kDone), 360, "", "backup=backup trashed=current alice=backup "},
    {"ProfileUnreadable", "alice=backup backup=backup trashed=current", "BevelYES", Said(kDone),
     360, "", "backup=backup trashed=backup alice=backup ", "Read 1"},
    {"BackupUnreadable", "alice=backup backup=backup trashed=current", "BevelYES", Said(kDone), 360,
     "", "backup=backup trashed=backup alice=backup ", "Read 3"},
    {"DifferentInTheLastPart", "alice=large-a backup=large-b", "BevelYES", Said(kDone), 360, "",
     "backup=large-b trashed=large-a alice=large-b "},
};

class PressTest : public RestoreTest, public testing::WithParamInterface<PressCase> {};

TEST_P(PressTest, TerminalSaysWhatRunsAndHowTheRestoreEndedBeforeTheReturnToLogin) {
  const PressCase& press = GetParam();
  Open(press.before);
  std::vector<std::string> during;
  const auto plan = FaultPlan::Install();
  plan->OnCall(NoteLooks(
      ProfileFolder(),
      [] {
        const auto window = platform::GetImplicitWindow(Restore::kRuntimeClassName);
        const std::string terminal =
            window ? window->ControlAs<platform::EditField>("Terminal")->Text() : "<closed>";
        return terminal.starts_with(Dialogue("alice")) ? terminal.substr(Dialogue("alice").size())
                                                       : terminal;
      },
      during));
  std::string call;
  int nth = 0;
  if (std::istringstream(press.fault) >> call >> nth)
    plan->FailCall(call, nth, call == "Read" ? EIO : ENOSPC);
  std::istringstream presses(press.presses);
  for (std::string button; presses >> button;)
    Click(*window_, button);
  FaultPlan::Uninstall();

  EXPECT_EQ(during, press.during);

  EXPECT_EQ(clock().terminalAtWait(), Dialogue("alice") + press.said);
  EXPECT_EQ(clock().backgroundTaskCalls(), press.ticks);
  EXPECT_EQ(platform::GetImplicitWindow(Restore::kRuntimeClassName), nullptr);
  EXPECT_EQ(platform::PendingQuitCode(), std::nullopt) << "the launcher quits";
  const auto login = platform::GetImplicitWindow(Window1::kRuntimeClassName);
  ASSERT_NE(login, nullptr) << "no login window after the wait";
  EXPECT_EQ(login->ControlAs<platform::EditField>("EditField1")->Text(), "alice");
  EXPECT_EQ(clock().pressableAtWait(), press.pressable)
      << "a button could start a second flow inside the wait";
  EXPECT_EQ(Contents(ProfileFolder()), press.after);
}

INSTANTIATE_TEST_SUITE_P(Cases, PressTest, testing::ValuesIn(kPressCases),
                         [](const auto& info) { return std::string(info.param.name); });

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

// The question names the login stored when the window opened; "Yes" uses the one stored now.
TEST_F(RestoreTest, YesWorksOnLoginStoredAfterWindowOpened) {
  WriteFile(ProfileFolder() + "carol.usr", "current");
  WriteFile(ProfileFolder() + "carol-backup.usr", "backup");
  Open("", "");
  ChooseMenu("Pref");
  platform::Window& options = Shown(Option::kRuntimeClassName);
  Type(options, "EditField1", "carol");
  Focus(options, "Executable");
  Click(*window_, "BevelYES");

  EXPECT_EQ(clock().terminalAtWait(), Dialogue("") + Said(kDone));
  EXPECT_EQ(Contents(ProfileFolder()), "carol-backup=backup carol-trashed=current carol=backup ");
}

TEST_F(RestoreTest, CloseBoxLeavesFilesAndPreferencesAsTheyWere) {
  Open("alice=current backup=backup");
  const std::string profiles = Contents(ProfileFolder());
  const std::string prefs = Contents(PrefsFolderPath());
  CloseBox(*window_);

  EXPECT_TRUE(platform::OpenWindows().empty()) << platform::OpenWindows().size() << " windows open";
  EXPECT_EQ(platform::PendingQuitCode(), 0);
  EXPECT_EQ(Contents(ProfileFolder()), profiles);
  EXPECT_EQ(Contents(PrefsFolderPath()), prefs);
}

}  // namespace
}  // namespace tervix::test
