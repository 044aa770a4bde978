#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "login/Window1.h"
#include "options/Option.h"
#include "restore/Restore.h"
#include "tests/support/FaultPlan.h"
#include "tests/support/TestRuntime.h"
#include "tests/support/UserActions.h"

namespace tervix::test {
namespace {

namespace fs = std::filesystem;
// "P/" starts a name in the profile folder, "C/" in the preferences folder, any other is in the
// test's own; a content "-> target" is a symbolic link, and kPipe a named pipe with no writer.
using Files = std::map<std::string, std::string>;

// Logon uses the login put in the field, or the one shown; RestoreYes stores the login first.
enum class Action { Logon, RestoreYes, SaveLogin };
using enum Action;
// Mode000: the stored login is the player's own file with mode 000.
enum class Place { Usual, NoHome, EmptyHome, NoHomes, ReadOnlyConfig, Mode000, ToolkitDialog };
using enum Place;

struct BadInput {
  const char* name;
  Files before;  // with the game stored for a logon, and the login for a restore
  Action action;
  std::optional<std::string> login;
  std::string seen;    // what the player is left with, in Outcome's words
  Files changed = {};  // every file that differs afterwards, with its content
  Place place = Usual;
  friend void PrintTo(const BadInput& input, std::ostream* out) { *out << input.name; }
};

constexpr const char* kPipe = "<named pipe>";
constexpr const char* kChosen = "/games/tervix/Tervix";
constexpr const char* kFailed =
    "Restore failed, your gateway was left as it was.\n\n"
    "Returning to login screen.\nPlease wait... | waited 360 ticks";
constexpr const char* kStopped = "";
constexpr const char* kMissing =
    "Please enter your gateway login... | This gateway doesn't exists, please try again...";
constexpr const char* kStarted = "Starting gateway... | the known game";
// The known game is started all the same once the player has read the message.
std::string StartedAfter(const std::string& message) {
  return "Starting gateway... | " + message + " | the known game";
}
constexpr const char* kCancelled = "Starting gateway... | asked \"Select Tervix executable\"";
const std::string kAsked = kCancelled + std::string(" | the chosen game");
constexpr const char* kSaved = "the login \"alice\"";
constexpr const char* kNone = "the login \"\"";
const Files::value_type kBob{"P/bob.usr", "bob's profile"};
const Files::value_type kBobBackedUp{"P/bob-backup.usr", "bob's profile"};
const Files::value_type kBobOldBackup{"P/bob-backup.usr", "bob's old backup"};
const Files::value_type kAlice{"P/alice.usr", "alice's profile"};
const Files::value_type kAliceBackup{"P/alice-backup.usr", "alice's backup"};
const std::string kLarge(3 * 1024 * 1024, 'a');
const std::string kLong(246, 'b');  // its file name fits, its backup's does not

// clang-format off
const BadInput kBadInputs[] = {
    {"TwoDots", {}, Logon, "..", kMissing},
    {"BlanksAround", {kBob}, Logon, " bob ", kMissing},
    {"TenThousandCharacters", {kBob}, Logon, std::string(10000, 'b'), kMissing},
    {"BackupNameTooLong", {{"P/" + kLong + ".usr", "x"}}, Logon, kLong,
     StartedAfter("Backup failed (File name too long). You have no backup yet.")},
    {"BackupIsAFolder", {kBob, {"P/bob-backup.usr/notes", "x"}}, Logon, "bob",
     StartedAfter("Backup failed (Is a directory). You have no backup yet.")},
    {"BackupIsALinkToAFolder", {kBob, {"P/bob-backup.usr", "-> ../../../../saves"},
     {"saves/slot1", "a save the folder keeps"}}, Logon, "bob", kStarted, {kBobBackedUp}},
    {"LoginNotUtf8", {{"C/PrefLogin", "b\xFFob"}, {"P/b\xFFob.usr", "x"}}, Logon, {}, kStarted,
     {{"P/b\xFFob-backup.usr", "x"}}},
    {"RestoreOfSlashAlone", {{"P/.usr", "x"}, {"P/-backup.usr", "y"}}, RestoreYes, "/", kStopped},
    {"EmptyExecutableFile", {{"C/PrefExecutable", ""}, kBob}, Logon, "bob", kAsked,
     {{"C/PrefExecutable", kChosen}, kBobBackedUp}},
    {"LargeExecutableFile", {{"C/PrefExecutable", "/opt/" + kLarge}, kBob}, Logon, "bob", kStarted,
     {kBobBackedUp}},
    {"LoginFileIsAFolder", {{"C/PrefLogin/notes", "x"}}, SaveLogin, "alice", kNone},
    {"LoginFileIsAPipe", {{"C/PrefLogin", kPipe}, kBob}, Logon, {}, kMissing},
    {"LoginFileIsAPipeWhenSaved", {{"C/PrefLogin", kPipe}}, SaveLogin, "alice", kNone},
    {"LoginFileIsAPipeAtRestore", {{"C/PrefLogin", kPipe}, kAlice, kAliceBackup}, RestoreYes,
     "alice", kStopped},
    {"ExecutableFileIsAPipe", {{"C/PrefExecutable", kPipe}, kBob}, Logon, "bob", kAsked,
     {kBobBackedUp}},
    {"LoginFileUnreadableWhenSaved", {{"C/PrefLogin", "bob"}}, SaveLogin, "alice", kNone, {},
     Mode000},
    {"LoginFileIsADanglingLink", {{"C/PrefLogin", "-> ../moved-away"}}, SaveLogin, "alice", kSaved,
     {{"C/PrefLogin", "alice"}}},
    {"ProfileIsAFolder", {{"P/bob.usr/keep", "x"}, kBobOldBackup}, Logon, "bob",
     StartedAfter("Backup failed (Is a directory). Your old backup was kept.")},
    {"ProfileIsADanglingLink", {{"P/bob.usr", "-> bob-moved.usr"}}, Logon, "bob", kMissing},
    {"RestoreOfAFolder", {{"P/alice.usr/keep", "x"}, kAliceBackup}, RestoreYes, "alice", kFailed},
    {"RestoreFromAPipe", {kAlice, {"P/alice-backup.usr", kPipe}}, RestoreYes, "alice", kFailed,
     {{"P/alice-trashed.usr", "alice's profile"}}},
    {"RestoreOverATrashedFolder", {kAlice, kAliceBackup, {"P/alice-trashed.usr/keep", "x"}},
     RestoreYes, "alice", kFailed},
    {"LogonWithoutHome", {kBob}, Logon, "bob", kMissing, {}, NoHome},
    {"LogonWithEmptyHome", {kBob}, Logon, "bob", kMissing, {}, EmptyHome},
    {"SaveWithoutAnyHome", {}, SaveLogin, "alice", kNone, {}, NoHomes},
    {"LogonWithReadOnlyConfig", {{"C/PrefExecutable", ""}, kBob}, Logon, "bob", kAsked,
     {kBobBackedUp}, ReadOnlyConfig},
    {"ToolkitStateFileIsALink", {{"C/PrefExecutable", ""}, kBob, {"notes", "the player's notes"},
     {"config/QtProject.conf", "-> ../notes"}}, Logon, "bob", kCancelled, {kBobBackedUp},
     ToolkitDialog},
};
// clang-format on

class BadInputTest : public RuntimeTest, public testing::WithParamInterface<BadInput> {
 protected:
  std::string PathOf(const std::string& name) const {
    if (name.starts_with("P/"))
      return ProfileFolder() + name.substr(2);
    if (name.starts_with("C/"))
      return PrefsFolderPath() + name.substr(1);
    return fs::path(Home()).parent_path().string() + "/" + name;
  }
  Files Snapshot() const {
    Files files;
    for (const auto& entry : fs::recursive_directory_iterator(PathOf("")))
      if (entry.is_symlink())
        files[entry.path()] = "-> " + fs::read_symlink(entry.path()).string();
      else if (entry.is_fifo())
        files[entry.path()] = kPipe;
      else if (entry.is_regular_file())
        files[entry.path()] = ReadFile(entry.path()).value_or("<unreadable>");
    return files;
  }
  // What the player is left with: the login stored, the terminal's lines
  // after its opening ones and the wait before the return, or the status
  // line with every message, question and launch.
  std::string Outcome(Action action, const std::string& knownGame) {
    if (action == SaveLogin)
      return "the login \"" + Prefs::PrefLogin() + "\"";
    if (action == RestoreYes) {
      const std::string terminal = RestoreTerminal(), opening = "Starting restore process...\n\n";
      const size_t at = terminal.find(opening);
      const int waited = clock().backgroundTaskCalls();
      return (at == std::string::npos ? terminal : terminal.substr(at + opening.size())) +
             (waited > 0 ? " | waited " + std::to_string(waited) + " ticks" : "");
    }
    std::string seen =
        Shown(Window1::kRuntimeClassName).ControlAs<platform::StaticText>("StaticText2")->Text();
    for (const ShownMessage& message : dialogs().messages())
      seen += " | " + message.text;
    for (const auto* titles : {&dialogs().openFileTitles(), &AnsweredOpenFileDialogs()})
      for (const std::string& title : *titles)
        seen += " | asked \"" + title + "\"";
    for (const std::string& path : launches().launched())
      seen += " | " + (path == knownGame ? "the known game"
                       : path == kChosen ? "the chosen game"
                                         : path);
    return seen;
  }
};

TEST_P(BadInputTest, EndsClearlyAndLosesNothing) {
  const BadInput& input = GetParam();
  Files files = input.before;
  if (input.action == Logon)
    files.insert({"C/PrefExecutable", "/opt/tervix/Tervix"});
  if (input.action == RestoreYes)
    files.insert({"C/PrefLogin", *input.login});
  for (const auto& [name, content] : files) {
    fs::create_directories(fs::path(PathOf(name)).parent_path());
    if (content.starts_with("-> "))
      fs::create_symlink(content.substr(3), PathOf(name));
    else if (content == kPipe)
      ASSERT_EQ(mkfifo(PathOf(name).c_str(), 0644), 0);
    else
      WriteFile(PathOf(name), content);
  }
  if (input.place == NoHome)
    unsetenv("HOME");
  if (input.place == EmptyHome || input.place == NoHomes)
    setenv("HOME", "", 1);
  if (input.place == NoHomes)
    unsetenv("XDG_CONFIG_HOME");
  if (input.place == ReadOnlyConfig)
    FaultPlan::Install()->ReadOnly(ConfigHome());
  if (input.place == Mode000) {
    ASSERT_EQ(chmod(PathOf("C/PrefLogin").c_str(), 0), 0);
    FaultPlan::Install()->Unreadable(PathOf("C/PrefLogin"));
  }
  dialogs().AnswerNextOpenFile(kChosen);
  if (input.place == ToolkitDialog) {
    platform::InstallDialogHost(nullptr);
    AnswerOpenFileDialog(std::nullopt);
  }

  const Files before = Snapshot();
  StartLauncher();
  platform::Window& login = Shown(Window1::kRuntimeClassName);
  if (input.action == SaveLogin) {
    ChooseMenu("Pref");
    Type(Shown(Option::kRuntimeClassName), "EditField1", std::string(64, '\b') + *input.login);
    Focus(Shown(Option::kRuntimeClassName), "Executable");
  } else {
    if (input.login && input.action == Logon)
      login.ControlAs<platform::EditField>("EditField1")->SetText(*input.login);
    Click(login, input.action == Logon ? "BevelButton1" : "BevelButton2");
  }
  if (input.action == RestoreYes)
    Click(Shown(Restore::kRuntimeClassName), "BevelYES");

  EXPECT_EQ(Outcome(input.action, files["C/PrefExecutable"]), input.seen);
  Files expected = before;
  for (const auto& [name, content] : input.changed)
    expected[PathOf(name)] = content;
  EXPECT_TRUE(Snapshot() == expected) << testing::PrintToString(Snapshot()).substr(0, 3000);
  EXPECT_FALSE(FileExists("/Library") || FileExists("/.config")) << "files were made outside HOME";
}

INSTANTIATE_TEST_SUITE_P(Cases, BadInputTest, testing::ValuesIn(kBadInputs),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tervix::test
