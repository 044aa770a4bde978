#include "platform/ui/qt/FocusWatcher.h"

#include <QEvent>
#include <QFocusEvent>

#include "platform/ui/qt/Widgets.h"

namespace platform::qt {
namespace {

bool LeavesTheControl(const QFocusEvent& event) {
  return event.reason() != Qt::PopupFocusReason && event.reason() != Qt::ActiveWindowFocusReason;
}

// A window that closes, or an application that quits, has already given the
// focused control its last LostFocus.
bool LastLostFocusRaised(const ControlWidget& host) {
  std::shared_ptr<Window> window = host.owner != nullptr ? host.owner->ParentWindow() : nullptr;
  return window && window->LastLostFocusRaised();
}

}  // namespace

bool FocusWatcher::eventFilter(QObject* watched, QEvent* event) {
  // Opening a menu or another window (such as a modal dialog) moves the
  // focus only for a while; the control keeps it within its own window.
  if (event->type() == QEvent::FocusOut && LeavesTheControl(*static_cast<QFocusEvent*>(event)) &&
      !LastLostFocusRaised(host_)) {
    DispatchControlEvent(host_, "LostFocus");
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace platform::qt
