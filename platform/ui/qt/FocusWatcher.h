#pragma once

#include <QObject>

namespace platform {
struct ControlWidget;
}  // namespace platform

namespace platform::qt {

// Raises LostFocus on a control when the focus leaves the widget it watches.
class FocusWatcher : public QObject {
 public:
  explicit FocusWatcher(ControlWidget& host) : host_(host) {}
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  ControlWidget& host_;
};

}  // namespace platform::qt
