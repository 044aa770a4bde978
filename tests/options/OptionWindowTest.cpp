#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QTest>

#include <filesystem>
#include <optional>
#include <string>

#include "login/Window1.h"
#include "options/Option.h"
#include "platform/core/Runtime.h"
#include "platform/ui/Controls.h"
#include "platform/ui/qt/Widgets.h"
#include "prefs/Prefs.h"
#include "tests/support/FaultPlan.h"
#include "tests/support/TestRuntime.h"
#include "tests/support/UserActions.h"

namespace tervix::test {
namespace {

// The disk starts with a hand-edited login that is not UTF-8 and a path too long for a line editor.
struct Field {
  const char *name, *key, *other, *otherKey;
  std::string stored, typed;
};
// clang-format off
const Field kLogin{"EditField1", "PrefLogin", "Executable", "PrefExecutable",
                   "b\xFFob\xC3", " erin "};
const Field kExecutable{"Executable", "PrefExecutable", "EditField1", "PrefLogin",
                        "/games/" + std::string(39993, 'x'), " /opt/tervix game "};
constexpr const char* kChosenNotUtf8 = "/games/t\xFFrvix/\xC3game";

enum class Way { Tab, ClickInTheOther, Ok, CloseBox, CtrlQ, QuitItem };
enum class Kind { Typed, Emptied, Unchanged, ChosenNotUtf8 };
constexpr const char* kWayNames[] = {"Tab", "ClickInTheOther", "Ok", "CloseBox", "CtrlQ",
                                     "QuitItem"};
constexpr const char* kKindNames[] = {"Typed", "Emptied", "Unchanged", "ChosenNotUtf8"};
// clang-format on
using enum Way;
using enum Kind;

struct Leaving {
  const Field* field;
  Way way;
  Kind kind;
};
// Also the case's name.
void PrintTo(const Leaving& leaving, std::ostream* out) {
  *out << leaving.field->key << "_" << kKindNames[static_cast<int>(leaving.kind)] << "_"
       << kWayNames[static_cast<int>(leaving.way)];
}

// Every way crossed with every kind; only the executable has a file dialog.
std::vector<Leaving> EveryWayOfLeaving() {
  std::vector<Leaving> cases;
  for (const Field* field : {&kLogin, &kExecutable})
    for (const Way way : {Tab, ClickInTheOther, Ok, CloseBox, CtrlQ, QuitItem})
      for (const Kind kind : {Typed, Emptied, Unchanged, ChosenNotUtf8})
        if (kind != ChosenNotUtf8 || field == &kExecutable)
          cases.push_back({field, way, kind});
  return cases;
}

void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QTest::keyClick(QApplication::focusWidget(), key, modifiers);
  ProcessEvents();
}

class OptionWindowTest : public RuntimeTest {
 protected:
  std::shared_ptr<platform::Window> ChoosePreferences() {
    StartLauncher();
    ChooseMenu("Pref");
    return Shown(Option::kRuntimeClassName).shared_from_this();
  }
  std::optional<std::string> Stored(const std::string& key) const {
    return ReadFile(PrefsFolderPath() + "/" + key);
  }
  static std::string FieldText(const platform::Window& window, const std::string& name) {
    return window.ControlAs<platform::EditField>(name)->Text();
  }

  // Leaves the field, which has the focus, as the player would.
  void Leave(platform::Window& window, const Field& field, Way way) {
    switch (way) {
      case Tab:
        return PressKey(Qt::Key_Tab);
      case ClickInTheOther:
        QTest::mouseClick(platform::qt::ControlInputWidget(*window.ControlByName(field.other)),
                          Qt::LeftButton);
        return ProcessEvents();
      case Ok:
        return Click(window, "BevelButton1");
      case CloseBox:
        return test::CloseBox(window);
      case CtrlQ:
        return PressKey(Qt::Key_Q, Qt::ControlModifier);
      case QuitItem:
        Focus(Shown(Window1::kRuntimeClassName), "EditField1");
        ASSERT_EQ(Stored(field.key), std::nullopt) << "stored when the login window took the focus";
        return ChooseMenu("FileQuit");
    }
  }
};

class LeavingAField : public OptionWindowTest, public testing::WithParamInterface<Leaving> {
 protected:
  // Gives the field the focus and its value; the value the field then holds.
  std::string Prepare(platform::Window& window, const Field& field, Kind kind) {
    Focus(window, field.name);
    switch (kind) {
      case Typed:
        PressKey(Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), QString::fromStdString(field.typed));
        ProcessEvents();
        return field.typed;
      case Emptied:
        PressKey(Qt::Key_A, Qt::ControlModifier);
        PressKey(Qt::Key_Backspace);
        return "";
      case Unchanged:
        return field.stored;
      case ChosenNotUtf8:
        dialogs().AnswerNextOpenFile(kChosenNotUtf8);
        Click(window, "BevelButton3");
        EXPECT_TRUE(Stored(field.key) == kChosenNotUtf8)
            << "the chosen file was not stored at once";
        return kChosenNotUtf8;
    }
    return {};
  }
};

// Typing just before a close or quit is kept; a quit closes no window.
TEST_P(LeavingAField, DiskHoldsExactlyWhatTheFieldHolds) {
  const auto [field, way, kind] = GetParam();
  WriteFile(PrefsFolderPath() + "/PrefLogin", kLogin.stored);
  WriteFile(PrefsFolderPath() + "/PrefExecutable", kExecutable.stored);
  const auto window = ChoosePreferences();
  const std::string holds = Prepare(*window, *field, kind);
  std::filesystem::remove_all(PrefsFolderPath());

  Leave(*window, *field, way);
  EXPECT_TRUE(FieldText(*window, field->name) == holds)
      << testing::PrintToString(FieldText(*window, field->name).substr(0, 40));
  EXPECT_TRUE(Stored(field->key) == holds) << testing::PrintToString(Stored(field->key));
  EXPECT_EQ(Stored(field->otherKey), std::nullopt) << "the other field never lost the focus";
  const bool quits = way == CtrlQ || way == QuitItem;
  EXPECT_EQ(window->IsOpen(), way != Ok && way != CloseBox);
  EXPECT_EQ(platform::PendingQuitCode(), quits ? std::optional(0) : std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(EveryWayAndValue, LeavingAField, testing::ValuesIn(EveryWayOfLeaving()),
                         [](const auto& info) { return testing::PrintToString(info.param); });

class UnreadableValue : public OptionWindowTest, public testing::WithParamInterface<Leaving> {};

// An unreadable value shows as an empty field, which must not replace it when left.
TEST_P(UnreadableValue, StaysWithItsBytesAndModeWhenItsFieldIsLeft) {
  const auto [field, way, kind] = GetParam();
  const std::string path = PrefsFolderPath() + "/" + field->key;
  WriteFile(path, "kept value");
  ASSERT_EQ(chmod(path.c_str(), 0), 0);
  FaultPlan::Install()->Unreadable(path);
  const auto window = ChoosePreferences();
  EXPECT_EQ(FieldText(*window, field->name), "");

  Focus(*window, field->name);
  Leave(*window, *field, way);
  struct stat status {};
  ASSERT_EQ(stat(path.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0u);
  ASSERT_EQ(chmod(path.c_str(), 0600), 0);
  EXPECT_EQ(Stored(field->key), "kept value");
  for (const std::string& name : ListFolder(PrefsFolderPath()))
    EXPECT_TRUE(name == kLogin.key || name == kExecutable.key) << name << " was left behind";
}

INSTANTIATE_TEST_SUITE_P(TabAndOk, UnreadableValue,
                         testing::Values(Leaving{&kLogin, Tab, Unchanged},
                                         Leaving{&kLogin, Ok, Unchanged},
                                         Leaving{&kExecutable, Tab, Unchanged},
                                         Leaving{&kExecutable, Ok, Unchanged}),
                         [](const auto& info) { return testing::PrintToString(info.param); });

TEST_F(OptionWindowTest, ChoosingPreferencesAgainShowsTheOpenWindowAsItIs) {
  const auto window = ChoosePreferences();
  Type(*window, "EditField1", "typed");
  ChooseMenu("Pref");
  EXPECT_EQ(&Shown(Option::kRuntimeClassName), window.get()) << "another window was built";
  EXPECT_EQ(FieldText(*window, "EditField1"), "typed");
}

// A chosen file is stored at once: see the ChosenNotUtf8 cases above.
TEST_F(OptionWindowTest, GetAsksFromTheTopAndACancelChangesNothing) {
  Prefs::PrefExecutable("/games/old");
  const auto window = ChoosePreferences();
  Type(*window, "Executable", "-unsaved");
  dialogs().AnswerNextOpenFile(std::nullopt);
  Click(*window, "BevelButton3");
  EXPECT_EQ(dialogs().openFileTitles(), std::vector<std::string>{"Select Tervix executable"});
  EXPECT_EQ(dialogs().openFileInitialDirectories(), std::vector<std::string>{"/"});
  EXPECT_EQ(FieldText(*window, "Executable"), "/games/old-unsaved");
  EXPECT_EQ(Stored("PrefExecutable"), "/games/old");
}

}  // namespace
}  // namespace tervix::test
