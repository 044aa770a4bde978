#include <QFocusEvent>
#include <QPlainTextEdit>
#include <QTest>

#include "platform/core/Runtime.h"
#include "platform/ui/qt/Widgets.h"
#include "tests/support/TestRuntime.h"
#include "tests/support/UserActions.h"

namespace tervix::test {
namespace {

using platform::ImplicitInstance;
using platform::KeyOrder;

platform::ControlDesign Row(std::string name, int32_t top,
                            platform::ControlClass kind = platform::ControlClass::EditField) {
  return {std::move(name), kind, 10, top, 200, 22, "", 0, {}};
}

// A window class made for one test; two numbers give two classes, so that
// tests can tell their registry entries apart.
template <int N>
class TinyWindow : public platform::Window {
 public:
  static inline const std::string kRuntimeClassName = "Tiny" + std::to_string(N);
  // Two fields and a button, unless a test says otherwise.
  static inline std::vector<platform::ControlDesign> controls = {
      Row("EditField1", 40), Row("EditField2", 70),
      Row("BevelButton1", 10, platform::ControlClass::BevelButton)};
  static inline KeyOrder order = KeyOrder::Forward;
  static inline int opens = 0;
  std::string RuntimeClassName() const override { return kRuntimeClassName; }

 protected:
  void Layout() override {
    SetMenuBar(platform::GetAppObject()->GetMenuBar());
    platform::SetProperties(
        *this, platform::EncodeWindowBlock({"Tiny", 300, 200, 0, 0, false, false, {}}));
  }
  void CreateControls() override {
    for (const platform::ControlDesign& row : controls)
      CreateControl(row, order);
    InstallWindowEventHandler("Open", [] { ++opens; });
  }
  void AddMenuHandlers(platform::Window&) override {}
};
using FirstWindow = TinyWindow<1>;
using SecondWindow = TinyWindow<2>;

template <class Kind = platform::MenuItem, class... Children>
std::shared_ptr<Kind> Item(std::string name, std::string shortcut, Children... children) {
  auto item = std::make_shared<Kind>();
  item->SetName(std::move(name));
  item->SetKeyboardShortcut(std::move(shortcut));
  (item->Append(children), ...);
  return item;
}

// A window of two fields and a button, under an application with a File menu.
class WindowTest : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    app_->SetMenuBar(
        Item<platform::MenuBar>("", "",
                                Item("FileMenu", "", Item<platform::AppleMenuItem>("About", ""),
                                     Item<platform::PrefsMenuItem>("Pref", "Cmd+,"),
                                     Item<platform::QuitMenuItem>("FileQuit", "Cmd+Q"))));
    platform::RuntimeRegisterAppObject(app_);
  }
  static void OnAction(platform::Window& window, std::function<void()> action) {
    window.ControlByName("BevelButton1")->InstallInstanceEventHandler("Action", action);
  }
  platform::MenuHandler Record(std::string who, bool handled) {
    return [this, who, handled] {
      calls_.push_back(who);
      return handled;
    };
  }
  std::shared_ptr<platform::Application> app_ = std::make_shared<platform::Application>();
  std::vector<std::string> calls_;
};

// Closing a window that is no longer the class's newest must not drop the newest one.
TEST_F(WindowTest, RegistryGivesTheNewestOpenWindowAndBuildsANewOneAfterItCloses) {
  auto first = ImplicitInstance<FirstWindow>();
  EXPECT_EQ(ImplicitInstance<FirstWindow>(), first);
  first->Close();
  auto second = ImplicitInstance<FirstWindow>();
  EXPECT_EQ(FirstWindow::opens, 2) << "no new window was built after the first closed";

  auto newest = std::make_shared<FirstWindow>();
  newest->Constructor();
  second->Close();
  EXPECT_EQ(platform::GetImplicitWindow(FirstWindow::kRuntimeClassName), newest);
}

TEST_F(WindowTest, HandlerExceptionIsKeptForTheRuntimeAndTheWindowStaysValid) {
  auto window = ImplicitInstance<FirstWindow>();
  OnAction(*window, [] { throw platform::RuntimeException("handler failed"); });
  EXPECT_THROW(Click(*window, "BevelButton1"), platform::RuntimeException)
      << "the exception was not kept";
  EXPECT_TRUE(window->IsOpen());
}

// Only the registry holds each window, as when a player clicks in it.
TEST_F(WindowTest, WindowClosingItselfStaysValidUntilItsHandlerReturnsAndTheLastOneQuits) {
  platform::Window& first = *ImplicitInstance<FirstWindow>();
  OnAction(first, [&first] {
    first.Close();
    ImplicitInstance<SecondWindow>()->Show();
  });
  Click(first, "BevelButton1");
  EXPECT_EQ(platform::PendingQuitCode(), std::nullopt) << "closing one window and showing another";

  platform::Window& second = *ImplicitInstance<SecondWindow>();
  std::string readAfterClose;
  OnAction(second, [&] {
    second.Close();
    readAfterClose = second.ControlAs<platform::EditField>("EditField1")->Text();
  });
  Type(second, "EditField1", "still");
  Click(second, "BevelButton1");
  EXPECT_EQ(readAfterClose, "still");
  EXPECT_EQ(platform::PendingQuitCode(), 0);
}

// A modal dialog or another application taking the keyboard leaves the field
// focused within its window; "Get" then cancel must not store half-typed text.
TEST_F(WindowTest, LostFocusComesOnlyWhenTheFocusMovesWithinTheWindow) {
  auto window = ImplicitInstance<FirstWindow>();
  int lost = 0;
  window->ControlByName("EditField1")->InstallInstanceEventHandler("LostFocus", [&] { ++lost; });
  Type(*window, "EditField1", "alice");

  QFocusEvent deactivated(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
  QCoreApplication::sendEvent(
      platform::qt::ControlInputWidget(*window->ControlByName("EditField1")), &deactivated);
  EXPECT_EQ(lost, 0) << "another window taking the keyboard raised LostFocus";
  Focus(*window, "EditField2");

  EXPECT_EQ(lost, 1);
}

// Closing hands what was typed just before to the focused field's LostFocus,
// once, while the window is still whole. That handler may close the window
// again, move the focus (hiding the field moves it) or fail; the window
// closes all the same, and no second LostFocus comes.
TEST_F(WindowTest, ClosingGivesTheFocusedFieldOneLostFocusFirstWhateverItDoes) {
  const struct {
    std::string name;
    std::function<void(platform::Window&, platform::RectControl&)> act;
    std::string failure;
  } cases[] = {
      {"only reads", [](auto&, auto&) {}, ""},
      {"closes again", [](auto& window, auto&) { window.Close(); }, ""},
      {"hides the field", [](auto&, auto& field) { field.SetVisible(false); }, ""},
      {"fails", [](auto&, auto&) { throw platform::RuntimeException("save failed"); },
       "save failed"},
  };
  for (const auto& lastLostFocus : cases) {
    SCOPED_TRACE(lastLostFocus.name);
    auto window = ImplicitInstance<FirstWindow>();
    auto* field = window->ControlAs<platform::EditField>("EditField2").get();
    std::vector<std::string> seen;
    field->InstallInstanceEventHandler("LostFocus", [&, field, w = window.get()] {
      seen.push_back(field->Text() + (w->IsOpen() ? " in an open window" : " too late"));
      lastLostFocus.act(*w, *field);
    });
    OnAction(*window, [w = window.get()] { w->Close(); });
    Type(*window, "EditField2", "typed");
    std::string failure;
    try {
      Click(*window, "BevelButton1");
    } catch (const platform::RuntimeException& error) {
      failure = error.Message();
    }
    EXPECT_EQ(failure, lastLostFocus.failure);
    EXPECT_EQ(seen, std::vector<std::string>{"typed in an open window"});
    EXPECT_FALSE(window->IsOpen());
  }
}

// The Ctrl shortcuts stand for the menu items; Quit quits with no handler's help.
TEST_F(WindowTest, WindowMenuHandlerComesFirstAndTheApplicationTakesWhatItLeaves) {
  auto window = ImplicitInstance<FirstWindow>();
  window->AddMenuHandler("About", Record("window about", true));
  window->AddMenuHandler("Pref", Record("window pref", false));
  app_->AddMenuHandler("About", Record("app about", true));
  app_->AddMenuHandler("Pref", Record("app pref", true));
  app_->AddMenuHandler("FileQuit", Record("app quit", true));
  ChooseMenu("About");
  Focus(*window, "EditField1");
  QWidget* widget = platform::qt::WindowQWidget(*window);

  QTest::keyClick(widget, Qt::Key_Comma, Qt::ControlModifier);
  QTest::keyClick(widget, Qt::Key_Q, Qt::ControlModifier);
  ProcessEvents();

  EXPECT_EQ(calls_, (std::vector<std::string>{"window about", "window pref", "app pref"}));
  EXPECT_EQ(platform::PendingQuitCode(), 0);
}

// Every value differs from the defaults, so that one the block lost, or one a
// later key undid, shows.
TEST_F(WindowTest, ReversedBlockIsAppliedInFull) {
  platform::ControlDesign terminal = Row("Terminal", 40);
  terminal.text = "Tervix Restore System v1.0";
  terminal.differs = {{"Multiline", true}, {"ReadOnly", true}, {"Enabled", false}};
  terminal.differs.push_back({"TextColor", platform::Color{0, 255, 0}});
  FirstWindow::controls = {terminal};
  FirstWindow::order = KeyOrder::Reversed;
  const auto& control = *ImplicitInstance<FirstWindow>()->ControlByName("Terminal");

  auto* editor = qobject_cast<QPlainTextEdit*>(platform::qt::ControlInputWidget(control));
  ASSERT_NE(editor, nullptr) << "a multi-line field is not a multi-line editor";
  EXPECT_EQ(editor->toPlainText().toStdString(), "Tervix Restore System v1.0");
  EXPECT_EQ(editor->palette().color(QPalette::Text), QColor(0, 255, 0));
  EXPECT_TRUE(editor->isReadOnly());
  EXPECT_FALSE(platform::qt::ControlQWidget(control)->isEnabled());
}

}  // namespace
}  // namespace tervix::test
