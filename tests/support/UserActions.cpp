#include "tests/support/UserActions.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QTest>
#include <QWidget>
#include <exception>

#include "platform/Exceptions.h"
#include "platform/Menu.h"
#include "platform/Runtime.h"
#include "platform/qt/Dispatcher.h"
#include "platform/qt/Widgets.h"

namespace tervix::test {
namespace {

template <class Widget>
Widget& NotNil(Widget* widget) {
  if (widget == nullptr)
    throw platform::NilObjectException();
  return *widget;
}

QWidget& WidgetOf(platform::Window& window, const std::string& controlName) {
  std::shared_ptr<platform::RectControl> control = window.ControlByName(controlName);
  if (!control)
    throw platform::RuntimeException("The window has no control " + controlName);
  return NotNil(platform::qt::ControlQWidget(*control));
}

QWidget& InputWidgetOf(platform::Window& window, const std::string& controlName) {
  QWidget& outer = WidgetOf(window, controlName);
  QWidget* input = platform::qt::ControlInputWidget(*window.ControlByName(controlName));
  return input != nullptr ? *input : outer;
}

void Deliver() {
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Focus events reach widgets only in the active window.
void Activate(QWidget& widget) {
  QWidget* window = widget.window();
  if (window->isVisible() && QApplication::activeWindow() != window) {
    window->activateWindow();
    Deliver();
  }
}

}  // namespace

void Click(platform::Window& window, const std::string& controlName) {
  QWidget& widget = WidgetOf(window, controlName);
  QTest::mouseClick(&widget, Qt::LeftButton, Qt::NoModifier, widget.rect().center());
  ProcessEvents();
}

void Type(platform::Window& window, const std::string& controlName, const std::string& text) {
  Focus(window, controlName);
  QWidget& input = InputWidgetOf(window, controlName);
  QTest::keyClick(&input, Qt::Key_End);
  QTest::keyClick(&input, Qt::Key_End, Qt::ControlModifier);
  QTest::keyClicks(&input, QString::fromStdString(text));
  ProcessEvents();
}

void Focus(platform::Window& window, const std::string& controlName) {
  QWidget& input = InputWidgetOf(window, controlName);
  Activate(input);
  input.setFocus(Qt::MouseFocusReason);
  ProcessEvents();
}

void ChooseMenu(const std::string& itemName) {
  std::shared_ptr<platform::Window> front = platform::qt::FrontWindow();
  QAction* action = front ? platform::qt::MenuAction(*front, itemName) : nullptr;
  if (action != nullptr) {
    action->trigger();
  } else {
    platform::qt::Dispatch(front, nullptr, [itemName] { platform::ChooseMenuItem(itemName); });
  }
  ProcessEvents();
}

void CloseBox(platform::Window& window) {
  NotNil(platform::qt::WindowQWidget(window)).close();
  ProcessEvents();
}

// A handler's exception is kept by the dispatcher, since it must not cross
// Qt; the test gets it here, as the event loop would.
void ProcessEvents() {
  Deliver();
  if (std::exception_ptr exception = platform::TakeHandlerException())
    std::rethrow_exception(exception);
}

}  // namespace tervix::test
