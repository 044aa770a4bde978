#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "platform/Application.h"
#include "platform/Menu.h"
#include "platform/Runtime.h"
#include "platform/Window.h"
#include "platform/qt/Widgets.h"
#include "tests/platform/TinyWindows.h"
#include "tests/support/TestRuntime.h"
#include "tests/support/UserActions.h"

namespace tervix::test {
namespace {

using platform::ImplicitInstance;

template <class Kind>
std::shared_ptr<platform::MenuItem> Item(std::string name, std::string text,
                                         std::optional<std::string> shortcut = std::nullopt) {
  auto item = std::make_shared<Kind>();
  item->SetName(std::move(name));
  item->SetAutoEnable(true);
  item->SetText(std::move(text));
  if (shortcut)
    item->SetKeyboardShortcut(*shortcut);
  return item;
}

std::shared_ptr<platform::MenuBar> FileMenuBar() {
  auto bar = std::make_shared<platform::MenuBar>();
  bar->Append(Item<platform::MenuItem>("FileMenu", "&File", ""));
  auto file = bar->Child("FileMenu");
  file->Append(Item<platform::AppleMenuItem>("About", "About Tervix", ""));
  file->Append(Item<platform::AppleMenuItem>("UntitledSeparator", "-"));
  file->Append(Item<platform::PrefsMenuItem>("Pref", "Preferences...", "Cmd+,"));
  file->Append(Item<platform::QuitMenuItem>("FileQuit", "&Quit", "Cmd+Q"));
  return bar;
}

class WindowMenuTest : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    application_ = std::make_shared<platform::Application>();
    application_->SetMenuBar(FileMenuBar());
    platform::RuntimeRegisterAppObject(application_);
    FirstWindow::Recipe() = {};
    FirstWindow::Recipe().menuBar = application_->GetMenuBar();
    SecondWindow::Recipe() = {};
  }
  std::vector<std::string> Calls() const { return calls_; }
  platform::MenuHandler Record(std::string who, bool handled) {
    return [this, who, handled] {
      calls_.push_back(who);
      return handled;
    };
  }

  std::shared_ptr<platform::Application> application_;
  std::vector<std::string> calls_;
};

TEST_F(WindowMenuTest, TheMenuBarShowsTheTreeWithCtrlShortcuts) {
  auto window = ImplicitInstance<FirstWindow>();
  QMenuBar* bar = qobject_cast<QMenuBar*>(platform::qt::WindowQWidget(*window)->menuWidget());
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->actions().size(), 1);
  QMenu* file = bar->actions()[0]->menu();
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->title().toStdString(), "&File");

  std::vector<std::string> shown;
  for (QAction* action : file->actions()) {
    shown.push_back(
        action->isSeparator()
            ? "separator"
            : action->text().toStdString() + "|" +
                  action->shortcut().toString(QKeySequence::PortableText).toStdString());
  }
  EXPECT_EQ(shown, (std::vector<std::string>{"About Tervix|", "separator", "Preferences...|Ctrl+,",
                                             "&Quit|Ctrl+Q"}));
}

TEST_F(WindowMenuTest, ChoosingQuitQuitsWithoutAnyHandler) {
  application_->AddMenuHandler("FileQuit", Record("app", true));
  ImplicitInstance<FirstWindow>();

  ChooseMenu("FileQuit");

  EXPECT_EQ(platform::PendingQuitCode(), 0);
  EXPECT_TRUE(Calls().empty());
}

TEST_F(WindowMenuTest, TheFrontWindowsHandlerComesBeforeTheApplications) {
  FirstWindow::Recipe().addMenuHandlers = [this](platform::Window& window) {
    window.AddMenuHandler("About", Record("window", true));
  };
  application_->AddMenuHandler("About", Record("app", true));
  ImplicitInstance<FirstWindow>();

  ChooseMenu("About");

  EXPECT_EQ(Calls(), std::vector<std::string>{"window"});
}

TEST_F(WindowMenuTest, TheApplicationHandlesWhatTheWindowLeaves) {
  FirstWindow::Recipe().addMenuHandlers = [this](platform::Window& window) {
    window.AddMenuHandler("Pref", Record("window", false));
  };
  application_->AddMenuHandler("Pref", Record("app", true));
  ImplicitInstance<FirstWindow>();

  ChooseMenu("Pref");

  EXPECT_EQ(Calls(), (std::vector<std::string>{"window", "app"}));
  EXPECT_EQ(platform::PendingQuitCode(), std::nullopt);
}

TEST_F(WindowMenuTest, TheCommandGoesToTheWindowShownLast) {
  SecondWindow::Recipe().addMenuHandlers = [this](platform::Window& window) {
    window.AddMenuHandler("About", Record("second", true));
  };
  FirstWindow::Recipe().addMenuHandlers = [this](platform::Window& window) {
    window.AddMenuHandler("About", Record("first", true));
  };
  ImplicitInstance<FirstWindow>();
  ImplicitInstance<SecondWindow>();

  platform::ChooseMenuItem("About");
  ImplicitInstance<FirstWindow>()->Show();
  platform::ChooseMenuItem("About");

  EXPECT_EQ(Calls(), (std::vector<std::string>{"second", "first"}));
}

TEST_F(WindowMenuTest, TheShortcutChoosesTheItem) {
  application_->AddMenuHandler("Pref", Record("app", true));
  auto window = ImplicitInstance<FirstWindow>();
  QWidget* qwindow = platform::qt::WindowQWidget(*window);
  qwindow->activateWindow();
  ProcessEvents();

  QTest::keyClick(qwindow, Qt::Key_Comma, Qt::ControlModifier);
  ProcessEvents();

  EXPECT_EQ(Calls(), std::vector<std::string>{"app"});
}

TEST_F(WindowMenuTest, AWindowWithoutAMenuBarStillAnswersTheApplicationsShortcuts) {
  application_->AddMenuHandler("Pref", Record("app", true));
  auto window = ImplicitInstance<SecondWindow>();
  QMainWindow* qwindow = platform::qt::WindowQWidget(*window);
  qwindow->activateWindow();
  ProcessEvents();

  QTest::keyClick(qwindow, Qt::Key_Q, Qt::ControlModifier);
  QTest::keyClick(qwindow, Qt::Key_Comma, Qt::ControlModifier);
  ProcessEvents();

  EXPECT_EQ(qwindow->menuWidget(), nullptr);
  EXPECT_EQ(Calls(), std::vector<std::string>{"app"});
  EXPECT_EQ(platform::PendingQuitCode(), 0);
}

TEST_F(WindowMenuTest, OpeningAMenuRaisesEnableMenuItemsOnItsWindow) {
  int raised = 0;
  FirstWindow::Recipe().bind = [&raised](platform::Window& window) {
    window.InstallWindowEventHandler("EnableMenuItems", [&raised] { ++raised; });
  };
  auto window = ImplicitInstance<FirstWindow>();
  QAction* about = platform::qt::MenuAction(*window, "About");
  ASSERT_NE(about, nullptr);
  auto* file = qobject_cast<QMenu*>(about->parent());
  ASSERT_NE(file, nullptr);

  emit file->aboutToShow();

  EXPECT_EQ(raised, 1);
}

TEST_F(WindowMenuTest, ApplicationHandlersKeepTheOrderTheyWereFirstBoundIn) {
  application_->AddMenuHandler("Pref", Record("first pref", true));
  application_->AddMenuHandler("About", Record("about", true));
  application_->AddMenuHandler("Pref", Record("second pref", true));

  EXPECT_EQ(application_->MenuHandlerNames(), (std::vector<std::string>{"Pref", "About"}));
  EXPECT_TRUE(application_->HandleMenuCommand("Pref"));
  EXPECT_FALSE(application_->HandleMenuCommand("FileClose"));
  EXPECT_EQ(Calls(), std::vector<std::string>{"second pref"});
}

TEST_F(WindowMenuTest, LookupFindsItemsAnywhereInTheTree) {
  auto bar = application_->GetMenuBar();

  EXPECT_EQ(platform::MenuItem::Lookup(*bar, "FileQuit")->KindName(), "QuitMenuItem");
  EXPECT_EQ(platform::MenuItem::Lookup(*bar, "FileMenu"), bar->Child("FileMenu"));
  EXPECT_EQ(platform::MenuItem::Lookup(*bar, "FileClose"), nullptr);
  EXPECT_EQ(bar->Child("FileQuit"), nullptr) << "Child looks at direct children only";
  EXPECT_FALSE(platform::MenuItem::Lookup(*bar, "UntitledSeparator")->KeyboardShortcut());
  EXPECT_THROW(bar->Append(nullptr), platform::NilObjectException);
}

}  // namespace
}  // namespace tervix::test
