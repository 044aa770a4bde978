#include <QMouseEvent>
#include <QPainter>

#include "platform/core/qt/Dispatcher.h"
#include "platform/ui/Window.h"
#include "platform/ui/qt/Widgets.h"

namespace platform::qt {
namespace {

class CanvasWidget : public QWidget {
 public:
  ControlWidget* host = nullptr;
  QImage backdrop;

 protected:
  void paintEvent(QPaintEvent*) override {
    if (backdrop.isNull())
      return;
    QPainter painter(this);
    painter.drawImage(0, 0, backdrop);
  }
  void mousePressEvent(QMouseEvent* event) override {
    bool handled = false;
    if (host != nullptr && !host->closed && host->owner != nullptr && host->mouseDown) {
      MouseDownHandler handler = host->mouseDown;
      const QPoint at = event->position().toPoint();
      Dispatch(host->owner->ParentWindow(), host->owner->weak_from_this().lock(),
               [&] { handled = handler(at.x(), at.y()); });
    }
    event->setAccepted(handled);
  }
};

struct CanvasHost : ControlWidget {
  CanvasHost() : ControlWidget(new CanvasWidget) {
    Surface().host = this;
    Surface().setFocusPolicy(Qt::NoFocus);
  }
  ~CanvasHost() override {
    if (!widget.isNull())
      Surface().host = nullptr;
  }
  void SetBackdrop(const QImage& image) override {
    Surface().backdrop = image;
    Surface().update();
  }

  CanvasWidget& Surface() const { return LiveAs<CanvasWidget>(); }
};

}  // namespace

std::unique_ptr<ControlWidget> NewCanvasHost() {
  return std::make_unique<CanvasHost>();
}

}  // namespace platform::qt
