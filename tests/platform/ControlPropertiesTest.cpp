#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "platform/Controls.h"
#include "platform/Window.h"
#include "platform/qt/QtPicture.h"
#include "platform/qt/Widgets.h"
#include "tests/platform/TinyWindows.h"
#include "tests/support/TestRuntime.h"
#include "tests/support/UserActions.h"

namespace tervix::test {
namespace {

using platform::Color;
using platform::ControlClass;
using platform::ImplicitInstance;
using platform::KeyOrder;

// A field whose every setting differs from the defaults, so that a value the
// block lost, or one a later key undid, shows.
platform::ControlDesign TerminalLikeField() {
  platform::ControlDesign field =
      Row("Terminal", ControlClass::EditField, 20, 69, 349, 165, "Tervix Restore System v1.0");
  field.differs = {{"Multiline", true},
                   {"TextColor", Color{0, 255, 0}},
                   {"BackColor", Color{0, 0, 0}},
                   {"TextSize", 10},
                   {"Bold", true},
                   {"Italic", true},
                   {"ReadOnly", true},
                   {"Border", false},
                   {"HelpTag", std::string("type here")},
                   {"Enabled", false}};
  field.tabIndex = 1;
  return field;
}

platform::ControlDesign StatusLabel() {
  platform::ControlDesign label = Row("StaticText2", ControlClass::StaticText, 0, 104, 276, 20,
                                      "Please enter your gateway login...");
  label.differs = {{"TextAlign", 2}, {"TextColor", Color{0x2A, 0x43, 0x91}}, {"Underline", true}};
  return label;
}

platform::ControlDesign FocusButton() {
  platform::ControlDesign button = Button("BevelYES", "Yes", 205, 246);
  button.differs = {{"AcceptFocus", true}, {"Visible", false}};
  return button;
}

class ControlPropertiesTest : public RuntimeTest, public ::testing::WithParamInterface<KeyOrder> {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    FirstWindow::Recipe() = {};
    FirstWindow::Recipe().order = GetParam();
    FirstWindow::Recipe().controls = {TerminalLikeField(), StatusLabel(), FocusButton()};
    window_ = ImplicitInstance<FirstWindow>();
  }
  QWidget* Qt(const std::string& name) {
    return platform::qt::ControlQWidget(*window_->ControlByName(name));
  }
  QWidget* Input(const std::string& name) {
    return platform::qt::ControlInputWidget(*window_->ControlByName(name));
  }

  std::shared_ptr<platform::Window> window_;
};

TEST_P(ControlPropertiesTest, EditFieldKeepsEveryValueOfItsBlock) {
  auto* editor = qobject_cast<QPlainTextEdit*>(Input("Terminal"));
  ASSERT_NE(editor, nullptr) << "a multi-line field is not a multi-line editor";
  EXPECT_EQ(editor->toPlainText().toStdString(), "Tervix Restore System v1.0");
  EXPECT_EQ(editor->palette().color(QPalette::Text), QColor(0, 255, 0));
  EXPECT_EQ(editor->palette().color(QPalette::Base), QColor(0, 0, 0));
  EXPECT_EQ(editor->font().pixelSize(), 10);
  EXPECT_TRUE(editor->font().bold());
  EXPECT_TRUE(editor->font().italic());
  EXPECT_TRUE(editor->isReadOnly());
  EXPECT_EQ(editor->frameShape(), QFrame::NoFrame);
  EXPECT_EQ(Qt("Terminal")->toolTip().toStdString(), "type here");
  EXPECT_FALSE(Qt("Terminal")->isEnabled());
  EXPECT_EQ(Qt("Terminal")->geometry(), QRect(20, 69, 349, 165));
  EXPECT_EQ(window_->ControlByName("Terminal")->Name(), "Terminal");
}

TEST_P(ControlPropertiesTest, StaticTextKeepsEveryValueOfItsBlock) {
  auto* label = qobject_cast<QLabel*>(Qt("StaticText2"));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text().toStdString(), "Please enter your gateway login...");
  EXPECT_TRUE(label->alignment() & Qt::AlignRight) << "TextAlign 2 is right aligned";
  EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0x2A, 0x43, 0x91));
  EXPECT_TRUE(label->font().underline());
  EXPECT_FALSE(label->wordWrap());
  EXPECT_EQ(label->geometry(), QRect(0, 104, 276, 20));
}

TEST_P(ControlPropertiesTest, BevelButtonKeepsEveryValueOfItsBlock) {
  auto* button = qobject_cast<QPushButton*>(Qt("BevelYES"));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->text().toStdString(), "Yes");
  EXPECT_EQ(button->focusPolicy(), Qt::StrongFocus);
  EXPECT_FALSE(button->isVisibleTo(button->window()));
  EXPECT_FALSE(window_->ControlByName("BevelYES")->Visible());
  EXPECT_FALSE(button->isDefault());
  EXPECT_FALSE(button->autoDefault());
}

INSTANTIATE_TEST_SUITE_P(BlockOrders, ControlPropertiesTest,
                         ::testing::Values(KeyOrder::Forward, KeyOrder::Reversed),
                         [](const auto& info) {
                           return info.param == KeyOrder::Forward ? "Forward" : "Reversed";
                         });

class ControlBehaviourTest : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    FirstWindow::Recipe() = {};
  }
};

TEST_F(ControlBehaviourTest, ButtonsTakeNoFocusUnlessTheyAcceptIt) {
  FirstWindow::Recipe().controls = {Button("BevelButton1", "Logon")};
  auto window = ImplicitInstance<FirstWindow>();

  EXPECT_EQ(platform::qt::ControlQWidget(*window->ControlByName("BevelButton1"))->focusPolicy(),
            Qt::NoFocus);
}

TEST_F(ControlBehaviourTest, CanvasGetsItsBackdropBeforeItsBlockAndKeepsIt) {
  FirstWindow::Recipe().controls = {Banner("Canvas1")};
  auto window = ImplicitInstance<FirstWindow>();
  auto picture = std::make_shared<platform::qt::QtPicture>(QImage(4, 3, QImage::Format_RGB32));
  window->ControlAs<platform::Canvas>("Canvas1")->SetBackdrop(picture);

  platform::SetProperties(*window->ControlByName("Canvas1"),
                          platform::EncodeControlBlock(Banner("Canvas1"), KeyOrder::Reversed));

  EXPECT_EQ(window->ControlAs<platform::Canvas>("Canvas1")->Backdrop(), picture);
}

TEST_F(ControlBehaviourTest, SingleLineFieldLimitsWhatIsTypedAndHidesAPassword) {
  platform::ControlDesign field = Field("EditField1", "");
  field.differs = {{"LimitText", 5}, {"Password", true}};
  FirstWindow::Recipe().controls = {field};
  auto window = ImplicitInstance<FirstWindow>();

  Type(*window, "EditField1", "abcdefgh");

  EXPECT_EQ(window->ControlAs<platform::EditField>("EditField1")->Text(), "abcde");
  auto* line = qobject_cast<QLineEdit*>(
      platform::qt::ControlInputWidget(*window->ControlByName("EditField1")));
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->echoMode(), QLineEdit::Password);
}

TEST_F(ControlBehaviourTest, SwitchingToMultiLineKeepsTextAndSettings) {
  platform::ControlDesign field = Field("EditField1", "kept");
  field.differs = {{"TextColor", Color{255, 0, 0}}};
  FirstWindow::Recipe().controls = {field};
  auto window = ImplicitInstance<FirstWindow>();
  auto control = window->ControlAs<platform::EditField>("EditField1");

  control->SetProperty("Multiline", true);

  auto* editor = qobject_cast<QPlainTextEdit*>(platform::qt::ControlInputWidget(*control));
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(control->Text(), "kept");
  EXPECT_EQ(editor->palette().color(QPalette::Text), QColor(255, 0, 0));
}

TEST_F(ControlBehaviourTest, AppendedTextGoesAfterWhatTheUserTypedWherever) {
  platform::ControlDesign field = Field("Terminal", "line");
  field.differs = {{"Multiline", true}};
  FirstWindow::Recipe().controls = {field};
  auto window = ImplicitInstance<FirstWindow>();
  auto terminal = window->ControlAs<platform::EditField>("Terminal");
  Focus(*window, "Terminal");
  QTest::keyClick(platform::qt::ControlInputWidget(*terminal), Qt::Key_Home, Qt::ControlModifier);
  QTest::keyClicks(platform::qt::ControlInputWidget(*terminal), "A");

  terminal->AppendText("\nZ");
  Type(*window, "Terminal", "!");

  EXPECT_EQ(terminal->Text(), "Aline\nZ!");
}

TEST_F(ControlBehaviourTest, TabMovesTheFocusInTabIndexOrder) {
  platform::ControlDesign last = Field("Last", "", 10);
  last.tabIndex = 2;
  platform::ControlDesign first = Field("First", "", 40);
  first.tabIndex = 0;
  platform::ControlDesign middle = Field("Middle", "", 70);
  middle.tabIndex = 1;
  FirstWindow::Recipe().controls = {last, first, middle};
  auto window = ImplicitInstance<FirstWindow>();
  auto input = [&](const std::string& name) {
    return platform::qt::ControlInputWidget(*window->ControlByName(name));
  };
  Focus(*window, "First");

  QTest::keyClick(input("First"), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), input("Middle"));
  QTest::keyClick(input("Middle"), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), input("Last"));
}

TEST_F(ControlBehaviourTest, KeysOutsideAKindsTableFailLoudly) {
  FirstWindow::Recipe().controls = {Banner("Canvas1"), Field("EditField1", ""),
                                    Label("StaticText1", "")};
  auto window = ImplicitInstance<FirstWindow>();

  EXPECT_THROW(window->ControlByName("Canvas1")->SetProperty("Backdrop", std::string()),
               platform::RuntimeException);
  EXPECT_THROW(window->ControlByName("EditField1")->SetProperty("Caption", std::string("x")),
               platform::RuntimeException);
  EXPECT_THROW(window->ControlByName("StaticText1")->SetProperty("Password", true),
               platform::RuntimeException);
  EXPECT_THROW(window->ControlByName("StaticText1")->SetProperty("Text", 3),
               platform::RuntimeException);
  EXPECT_THROW(window->SetProperty("Left", 3), platform::RuntimeException);
}

TEST_F(ControlBehaviourTest, KeysWithNoVisibleMeaningAreAccepted) {
  FirstWindow::Recipe().controls = {Field("EditField1", "")};
  auto window = ImplicitInstance<FirstWindow>();
  auto field = window->ControlByName("EditField1");

  for (const char* key : {"DataSource", "DataField", "Format", "Mask", "InitialParent"}) {
    EXPECT_NO_THROW(field->SetProperty(key, std::string("x"))) << key;
  }
  for (const char* key : {"LockLeft", "AutoDeactivate", "Styled", "UseFocusRing", "AcceptTabs"}) {
    EXPECT_NO_THROW(field->SetProperty(key, true)) << key;
  }
  EXPECT_NO_THROW(field->SetProperty("TabPanelIndex", 0));
}

TEST_F(ControlBehaviourTest, WindowTakesTitleSizeAndButtonsFromItsBlock) {
  FirstWindow::Recipe().design.title = "Tervix Launcher";
  FirstWindow::Recipe().design.width = 389;
  FirstWindow::Recipe().design.height = 148;
  FirstWindow::Recipe().design.placement = 2;
  FirstWindow::Recipe().design.minimizeButton = true;
  auto window = ImplicitInstance<FirstWindow>();
  QMainWindow* qwindow = platform::qt::WindowQWidget(*window);

  EXPECT_EQ(qwindow->windowTitle().toStdString(), "Tervix Launcher");
  EXPECT_EQ(qwindow->centralWidget()->size(), QSize(389, 148));
  EXPECT_EQ(qwindow->minimumSize(), qwindow->maximumSize()) << "the window is not resizeable";
  EXPECT_TRUE(qwindow->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_TRUE(qwindow->windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(qwindow->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(window->Width(), 389);
  EXPECT_EQ(window->Height(), 148);
  const QRect screen = qwindow->screen()->availableGeometry();
  // The frame's own margins are known only once the window is on screen.
  EXPECT_LE((qwindow->frameGeometry().center() - screen.center()).manhattanLength(), 8)
      << "placement 2 centres the window on the screen, but it is at "
      << qwindow->frameGeometry().x() << "," << qwindow->frameGeometry().y();
}

}  // namespace
}  // namespace tervix::test
