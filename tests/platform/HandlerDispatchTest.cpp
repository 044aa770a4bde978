#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFocusEvent>
#include <QTest>

#include "platform/Controls.h"
#include "platform/Runtime.h"
#include "platform/Window.h"
#include "platform/qt/Widgets.h"
#include "tests/platform/TinyWindows.h"
#include "tests/support/TestRuntime.h"
#include "tests/support/UserActions.h"

namespace tervix::test {
namespace {

using platform::ImplicitInstance;

class HandlerDispatchTest : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    FirstWindow::Recipe() = {};
    FirstWindow::Recipe().controls = {Banner("Canvas1"), Field("EditField1", ""),
                                      Field("EditField2", "", 70), Button("BevelButton1", "Go")};
    SecondWindow::Recipe() = {};
  }
  // Binds the button's Action of the first window class the way a window
  // class does, through the window itself rather than a reference to it.
  void OnAction(std::function<void(platform::Window&)> action) {
    FirstWindow::Recipe().bind = [action](platform::Window& window) {
      window.ControlByName("BevelButton1")
          ->InstallInstanceEventHandler("Action", [&window, action] { action(window); });
    };
  }
};

TEST_F(HandlerDispatchTest, AnExceptionInAHandlerReachesTheRuntimeAndTheWindowStaysUsable) {
  OnAction([](platform::Window&) { throw platform::RuntimeException("handler failed"); });
  auto window = ImplicitInstance<FirstWindow>();

  try {
    Click(*window, "BevelButton1");
    FAIL() << "the handler's exception was lost";
  } catch (const platform::RuntimeException& error) {
    EXPECT_EQ(error.Message(), "handler failed");
  }
  EXPECT_TRUE(window->IsOpen());
  EXPECT_EQ(platform::TakeHandlerException(), nullptr) << "the exception was handed over twice";
  EXPECT_EQ(platform::PendingQuitCode(), std::nullopt);
}

TEST_F(HandlerDispatchTest, AWindowClosingItselfStaysValidUntilItsHandlerReturns) {
  std::string readAfterClose;
  OnAction([&](platform::Window& window) {
    window.Close();
    readAfterClose = window.ControlAs<platform::EditField>("EditField1")->Text();
  });
  // Only the registry holds the window, as when a player clicks in it.
  platform::Window& window = *ImplicitInstance<FirstWindow>();
  window.ControlAs<platform::EditField>("EditField1")->SetText("still");

  Click(window, "BevelButton1");

  EXPECT_EQ(readAfterClose, "still");
  EXPECT_TRUE(platform::OpenWindows().empty());
}

TEST_F(HandlerDispatchTest, ClosingTheLastWindowQuits) {
  OnAction([](platform::Window& window) { window.Close(); });
  auto window = ImplicitInstance<FirstWindow>();

  Click(*window, "BevelButton1");

  EXPECT_EQ(platform::PendingQuitCode(), 0);
}

TEST_F(HandlerDispatchTest, ClosingAWindowAndShowingAnotherInOneHandlerDoesNotQuit) {
  OnAction([](platform::Window& window) {
    window.Close();
    ImplicitInstance<SecondWindow>()->Show();
  });
  auto window = ImplicitInstance<FirstWindow>();

  Click(*window, "BevelButton1");

  EXPECT_EQ(platform::PendingQuitCode(), std::nullopt);
  EXPECT_NE(platform::GetImplicitWindow(SecondWindow::kRuntimeClassName), nullptr);
}

TEST_F(HandlerDispatchTest, TheCloseBoxClosesTheWindowAndQuitsOnlyWithTheLastOne) {
  auto first = ImplicitInstance<FirstWindow>();
  auto second = ImplicitInstance<SecondWindow>();

  CloseBox(*first);
  EXPECT_FALSE(first->IsOpen());
  EXPECT_EQ(platform::GetImplicitWindow(FirstWindow::kRuntimeClassName), nullptr);
  EXPECT_EQ(platform::PendingQuitCode(), std::nullopt);

  CloseBox(*second);
  EXPECT_EQ(platform::PendingQuitCode(), 0);
}

TEST_F(HandlerDispatchTest, ADisabledButtonIgnoresClicks) {
  int clicks = 0;
  OnAction([&](platform::Window&) { ++clicks; });
  auto window = ImplicitInstance<FirstWindow>();
  window->ControlByName("BevelButton1")->SetEnabled(false);

  Click(*window, "BevelButton1");

  EXPECT_EQ(clicks, 0);
  EXPECT_FALSE(window->ControlByName("BevelButton1")->Enabled());
}

TEST_F(HandlerDispatchTest, AClosedWindowRaisesNoMoreEvents) {
  int clicks = 0;
  OnAction([&](platform::Window&) { ++clicks; });
  auto window = ImplicitInstance<FirstWindow>();
  window->Close();

  Click(*window, "BevelButton1");

  EXPECT_EQ(clicks, 0);
}

TEST_F(HandlerDispatchTest, MovingTheFocusAwayRaisesLostFocusWithTheTypedText) {
  std::vector<std::string> seen;
  FirstWindow::Recipe().bind = [&seen](platform::Window& window) {
    window.ControlByName("EditField1")->InstallInstanceEventHandler("LostFocus", [&seen, &window] {
      seen.push_back(window.ControlAs<platform::EditField>("EditField1")->Text());
    });
  };
  auto window = ImplicitInstance<FirstWindow>();

  Type(*window, "EditField1", "alice");
  EXPECT_TRUE(seen.empty()) << "focus was lost before it moved";
  Focus(*window, "EditField2");

  EXPECT_EQ(seen, std::vector<std::string>{"alice"});
}

// A modal dialog or another application taking the keyboard leaves the field
// focused within its window; "Get" then cancel must not store half-typed text.
TEST_F(HandlerDispatchTest, AnotherWindowTakingTheKeyboardIsNotAFocusLoss) {
  int lostFocus = 0;
  FirstWindow::Recipe().bind = [&lostFocus](platform::Window& window) {
    window.ControlByName("EditField1")->InstallInstanceEventHandler("LostFocus", [&lostFocus] {
      ++lostFocus;
    });
  };
  auto window = ImplicitInstance<FirstWindow>();
  Type(*window, "EditField1", "alice");

  QFocusEvent deactivated(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
  QCoreApplication::sendEvent(
      platform::qt::ControlInputWidget(*window->ControlByName("EditField1")), &deactivated);

  EXPECT_EQ(lostFocus, 0);
}

TEST_F(HandlerDispatchTest, MouseDownGetsThePositionInTheCanvas) {
  std::vector<std::pair<int32_t, int32_t>> clicks;
  FirstWindow::Recipe().bind = [&](platform::Window& window) {
    window.ControlByName("Canvas1")->InstallInstanceEventHandler(
        "MouseDown", platform::MouseDownHandler([&](int32_t x, int32_t y) {
          clicks.emplace_back(x, y);
          return false;
        }));
  };
  auto window = ImplicitInstance<FirstWindow>();

  QTest::mouseClick(platform::qt::ControlQWidget(*window->ControlByName("Canvas1")), Qt::LeftButton,
                    Qt::NoModifier, QPoint(12, 7));

  EXPECT_EQ(clicks, (std::vector<std::pair<int32_t, int32_t>>{{12, 7}}));
}

TEST_F(HandlerDispatchTest, HandlersOfTheWrongEventOrShapeAreRefused) {
  auto window = ImplicitInstance<FirstWindow>();
  platform::EventHandler nothing = [] {};
  platform::MouseDownHandler press = [](int32_t, int32_t) { return false; };

  EXPECT_THROW(window->ControlByName("EditField1")->InstallInstanceEventHandler("Action", nothing),
               platform::RuntimeException);
  EXPECT_THROW(window->ControlByName("Canvas1")->InstallInstanceEventHandler("MouseDown", nothing),
               platform::RuntimeException);
  EXPECT_THROW(window->ControlByName("Canvas1")->InstallInstanceEventHandler("Open", press),
               platform::RuntimeException);
  EXPECT_THROW(
      window->ControlByName("BevelButton1")->InstallInstanceEventHandler("MouseDown", press),
      platform::RuntimeException);
  EXPECT_THROW(window->ControlByName("BevelButton1")
                   ->InstallInstanceEventHandler("EnableMenuItems", nothing),
               platform::RuntimeException);
  EXPECT_THROW(window->InstallWindowEventHandler("Action", nothing), platform::RuntimeException);
}

}  // namespace
}  // namespace tervix::test
