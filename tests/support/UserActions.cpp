#include "tests/support/UserActions.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QTest>
#include <QTimer>

#include "platform/core/Exceptions.h"
#include "platform/core/Runtime.h"
#include "platform/core/qt/Dispatcher.h"
#include "platform/ui/Menu.h"
#include "platform/ui/qt/Widgets.h"

namespace tervix::test {

// The control's widget, or its inner editor where it has one and the keyboard is meant.
static QWidget& WidgetOf(platform::Window& window, const std::string& controlName,
                         bool input = false) {
  std::shared_ptr<platform::RectControl> control = window.ControlByName(controlName);
  if (!control)
    throw platform::RuntimeException("The window has no control " + controlName);
  QWidget* inner = input ? platform::qt::ControlInputWidget(*control) : nullptr;
  QWidget* widget = inner != nullptr ? inner : platform::qt::ControlQWidget(*control);
  return widget != nullptr ? *widget : throw platform::NilObjectException();
}

void Click(platform::Window& window, const std::string& controlName) {
  QTest::mouseClick(&WidgetOf(window, controlName), Qt::LeftButton);
  ProcessEvents();
}

void Type(platform::Window& window, const std::string& controlName, const std::string& text) {
  Focus(window, controlName);
  QWidget& input = WidgetOf(window, controlName, true);
  QTest::keyClick(&input, Qt::Key_End);
  QTest::keyClick(&input, Qt::Key_End, Qt::ControlModifier);
  QTest::keyClicks(&input, QString::fromStdString(text));
  ProcessEvents();
}

void Focus(platform::Window& window, const std::string& controlName) {
  QWidget& input = WidgetOf(window, controlName, true);
  // Focus events reach widgets only in the active window.
  if (QWidget* own = input.window(); own->isVisible() && QApplication::activeWindow() != own)
    own->activateWindow();
  ProcessEvents();
  input.setFocus(Qt::MouseFocusReason);
  ProcessEvents();
}

void ChooseMenu(const std::string& itemName) {
  std::shared_ptr<platform::Window> front = platform::qt::FrontWindow();
  if (QAction* action = front ? platform::qt::MenuAction(*front, itemName) : nullptr)
    action->trigger();
  else
    platform::qt::Dispatch(front, nullptr, [itemName] { platform::ChooseMenuItem(itemName); });
  ProcessEvents();
}

void CloseBox(platform::Window& window) {
  platform::qt::WindowQWidget(window)->close();
  ProcessEvents();
}

namespace {

std::vector<std::string> answeredTitles;

// Answers a file dialog from inside its own modal loop, then removes itself.
class OpenFileAnswer : public QObject {
 public:
  explicit OpenFileAnswer(std::optional<std::string> path) : path_(std::move(path)) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* dialog = qobject_cast<QFileDialog*>(watched);
    if (dialog == nullptr || event->type() != QEvent::Show)
      return false;
    qApp->removeEventFilter(this);
    answeredTitles.push_back(dialog->windowTitle().toStdString());
    QTimer::singleShot(0, dialog, [dialog, path = path_] {
      if (path)
        dialog->selectFile(QString::fromStdString(*path));
      QMetaObject::invokeMethod(dialog, path ? "accept" : "reject");
    });
    deleteLater();
    return false;
  }

 private:
  std::optional<std::string> path_;
};

}  // namespace

void AnswerOpenFileDialog(std::optional<std::string> path) {
  qApp->installEventFilter(new OpenFileAnswer(std::move(path)));
}

const std::vector<std::string>& AnsweredOpenFileDialogs() {
  return answeredTitles;
}

// The dispatcher keeps a handler's exception, which must not cross Qt, for the test to get here.
void ProcessEvents() {
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  if (std::exception_ptr exception = platform::TakeHandlerException())
    std::rethrow_exception(exception);
}

}  // namespace tervix::test
