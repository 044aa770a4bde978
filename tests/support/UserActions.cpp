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

QWidget& WidgetOf(platform::Window& window, const std::string& controlName) {
  std::shared_ptr<platform::RectControl> control = window.ControlByName(controlName);
  if (!control)
    throw platform::RuntimeException("The window has no control " + controlName);
  QWidget* widget = platform::qt::ControlQWidget(*control);
  if (widget == nullptr)
    throw platform::NilObjectException();
  return *widget;
}

QWidget& InputWidgetOf(platform::Window& window, const std::string& controlName) {
  QWidget& outer = WidgetOf(window, controlName);
  QWidget* input = platform::qt::ControlInputWidget(*window.ControlByName(controlName));
  return input != nullptr ? *input : outer;
}

// A handler's exception is kept by the dispatcher, since it must not cross
// Qt; the test gets it here, as the event loop would.
void RethrowHandlerException() {
  if (std::exception_ptr exception = platform::TakeHandlerException()) {
    std::rethrow_exception(exception);
  }
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
  Deliver();
  RethrowHandlerException();
}

void Type(platform::Window& window, const std::string& controlName, const std::string& text) {
  Focus(window, controlName);
  QWidget& input = InputWidgetOf(window, controlName);
  QTest::keyClick(&input, Qt::Key_End);
  QTest::keyClick(&input, Qt::Key_End, Qt::ControlModifier);
  QTest::keyClicks(&input, QString::fromStdString(text));
  Deliver();
  RethrowHandlerException();
}

void Focus(platform::Window& window, const std::string& controlName) {
  QWidget& input = InputWidgetOf(window, controlName);
  Activate(input);
  input.setFocus(Qt::MouseFocusReason);
  Deliver();
  RethrowHandlerException();
}

void ChooseMenu(const std::string& itemName) {
  std::shared_ptr<platform::Window> front = platform::qt::FrontWindow();
  QAction* action = front ? platform::qt::MenuAction(*front, itemName) : nullptr;
  if (action != nullptr) {
    action->trigger();
  } else {
    platform::qt::Dispatch(front, nullptr, [itemName] { platform::ChooseMenuItem(itemName); });
  }
  Deliver();
  RethrowHandlerException();
}

void CloseBox(platform::Window& window) {
  QMainWindow* widget = platform::qt::WindowQWidget(window);
  if (widget == nullptr)
    throw platform::NilObjectException();
  widget->close();
  Deliver();
  RethrowHandlerException();
}

void ProcessEvents() {
  Deliver();
  RethrowHandlerException();
}

}  // namespace tervix::test
