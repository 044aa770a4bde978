#include <gtest/gtest.h>

#include "platform/Controls.h"
#include "platform/Runtime.h"
#include "platform/Window.h"
#include "tests/platform/TinyWindows.h"
#include "tests/support/TestRuntime.h"
#include "tests/support/UserActions.h"

namespace tervix::test {
namespace {

using platform::ImplicitInstance;

class WindowRegistryTest : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    FirstWindow::Recipe() = {};
    FirstWindow::Recipe().controls = {Field("EditField1", ""), Button("BevelButton1", "Go")};
    FirstWindow::Recipe().bind = [this](platform::Window& window) {
      window.ControlByName("EditField1")->InstallInstanceEventHandler("Open", [this] {
        ++fieldOpens_;
        order_.push_back("EditField1");
      });
      window.ControlByName("BevelButton1")->InstallInstanceEventHandler("Open", [this] {
        order_.push_back("BevelButton1");
      });
      window.InstallWindowEventHandler("Open", [this] { order_.push_back("window"); });
    };
    SecondWindow::Recipe() = {};
  }

  int fieldOpens_ = 0;
  std::vector<std::string> order_;
};

TEST_F(WindowRegistryTest, AskingForAnOpenWindowReturnsItWithoutBuildingAgain) {
  auto first = ImplicitInstance<FirstWindow>();
  auto again = ImplicitInstance<FirstWindow>();

  EXPECT_EQ(first, again);
  EXPECT_EQ(fieldOpens_, 1);
  EXPECT_EQ(platform::OpenWindows().size(), 1u);
}

TEST_F(WindowRegistryTest, ControlsOpenInCreationOrderAndTheWindowLast) {
  ImplicitInstance<FirstWindow>();

  EXPECT_EQ(order_, (std::vector<std::string>{"EditField1", "BevelButton1", "window"}));
}

TEST_F(WindowRegistryTest, AClosedWindowIsBuiltAnewWithItsOpenEventsRunAgain) {
  auto first = ImplicitInstance<FirstWindow>();
  first->ControlAs<platform::EditField>("EditField1")->SetText("typed");
  first->Close();

  auto second = ImplicitInstance<FirstWindow>();

  EXPECT_NE(first, second);
  EXPECT_EQ(fieldOpens_, 2);
  EXPECT_EQ(second->ControlAs<platform::EditField>("EditField1")->Text(), "");
  EXPECT_FALSE(first->IsOpen());
  EXPECT_EQ(platform::GetImplicitWindow(FirstWindow::kRuntimeClassName), second);
}

TEST_F(WindowRegistryTest, ClosingAnotherWindowOfTheClassLeavesTheEntryInPlace) {
  auto registered = ImplicitInstance<FirstWindow>();
  auto stray = std::make_shared<FirstWindow>();
  stray->Constructor();
  auto newest = platform::GetImplicitWindow(FirstWindow::kRuntimeClassName);
  ASSERT_EQ(newest, stray) << "the newest window of a class is the one the registry holds";

  registered->Close();

  EXPECT_EQ(platform::GetImplicitWindow(FirstWindow::kRuntimeClassName), stray);
}

TEST_F(WindowRegistryTest, ClosingTwiceDoesNothingMore) {
  auto window = ImplicitInstance<FirstWindow>();
  auto other = ImplicitInstance<SecondWindow>();
  window->Close();
  window->Close();

  EXPECT_EQ(platform::OpenWindows(), (std::vector<std::shared_ptr<platform::Window>>{other}));
}

TEST_F(WindowRegistryTest, WindowsOfTwoClassesHaveAnEntryEach) {
  auto first = ImplicitInstance<FirstWindow>();
  auto second = ImplicitInstance<SecondWindow>();

  EXPECT_EQ(platform::GetImplicitWindow(FirstWindow::kRuntimeClassName), first);
  EXPECT_EQ(platform::GetImplicitWindow(SecondWindow::kRuntimeClassName), second);
}

TEST_F(WindowRegistryTest, AFailingOpenHandlerLeavesTheWindowClosedAndUnregistered) {
  FirstWindow::Recipe().bind = [](platform::Window& window) {
    window.ControlByName("EditField1")->InstallInstanceEventHandler("Open", [] {
      throw platform::RuntimeException("field broke");
    });
  };

  try {
    ImplicitInstance<FirstWindow>();
    FAIL() << "the exception did not leave the accessor";
  } catch (const platform::RuntimeException& error) {
    EXPECT_EQ(error.Message(), "field broke");
  }
  EXPECT_EQ(platform::GetImplicitWindow(FirstWindow::kRuntimeClassName), nullptr);
  EXPECT_TRUE(platform::OpenWindows().empty());
}

TEST_F(WindowRegistryTest, ControlsAreFoundByNameAndByIndexInCreationOrder) {
  auto window = ImplicitInstance<FirstWindow>();

  EXPECT_EQ(window->ControlCount(), 2);
  EXPECT_EQ(window->Control(0)->Name(), "EditField1");
  EXPECT_EQ(window->Control(1)->Name(), "BevelButton1");
  EXPECT_EQ(window->Control(2), nullptr);
  EXPECT_EQ(window->Control(-1), nullptr);
  EXPECT_EQ(window->ControlByName("Missing"), nullptr);
  EXPECT_THROW(window->ControlAs<platform::StaticText>("EditField1"), platform::NilObjectException);
  EXPECT_EQ(window->ControlByName("BevelButton1")->ParentWindow(), window);
}

TEST_F(WindowRegistryTest, AVisibleWindowIsOnScreenOnceBuilt) {
  auto window = ImplicitInstance<FirstWindow>();

  EXPECT_TRUE(window->Visible());
  EXPECT_EQ(window->Title(), "Tiny");
  window->Close();
  EXPECT_FALSE(window->Visible());
}

}  // namespace
}  // namespace tervix::test
