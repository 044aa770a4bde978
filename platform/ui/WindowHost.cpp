#include "platform/ui/qt/WindowHost.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>

#include "platform/core/Exceptions.h"
#include "platform/core/qt/Dispatcher.h"
#include "platform/ui/Window.h"
#include "platform/ui/WindowRegistry.h"

namespace platform {
namespace {

// The close box reaches the program's window through the dispatcher.
class MainWindow : public QMainWindow {
 public:
  Window* owner = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->accept();
    if (owner == nullptr || !owner->IsOpen())
      return;
    Window* window = owner;
    qt::Dispatch(window->weak_from_this().lock(), nullptr, [window] { window->Close(); });
  }
};

void CentreOnScreen(QMainWindow& window) {
  QScreen* screen = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr)
    return;
  window.adjustSize();
  const QRect area = screen->availableGeometry();
  const QSize size = window.frameGeometry().size();
  window.move(area.x() + (area.width() - size.width()) / 2,
              area.y() + (area.height() - size.height()) / 2);
}

}  // namespace

WindowWidget::WindowWidget(Window& owner) {
  auto* main = new MainWindow;
  main->owner = &owner;
  window = main;
  content = new QWidget(main);
  main->setCentralWidget(content);
}

WindowWidget::~WindowWidget() {
  if (window.isNull())
    return;
  static_cast<MainWindow*>(window.data())->owner = nullptr;
  window->hide();
  // The widget may be in the middle of delivering the event that released us.
  window->deleteLater();
}

namespace qt {

QMainWindow* WindowQWidget(const Window& window) {
  return window.Widget().window;
}

QMainWindow& LiveWindow(const WindowWidget& widget) {
  if (widget.window.isNull())
    throw NilObjectException();
  return *widget.window;
}

void ApplyFlags(WindowWidget& widget) {
  QMainWindow& window = LiveWindow(widget);
  Qt::WindowFlags flags = Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
  switch (widget.frame) {
    case 1:
    case 2:
    case 8:
      flags |= Qt::Dialog;
      break;
    case 3:
    case 7:
      flags |= Qt::Tool;
      break;
    default:
      flags |= Qt::Window;
      break;
  }
  if (widget.closeButton)
    flags |= Qt::WindowCloseButtonHint;
  if (widget.minimizeButton)
    flags |= Qt::WindowMinimizeButtonHint;
  if (widget.maximizeButton && widget.resizeable)
    flags |= Qt::WindowMaximizeButtonHint;
  if (window.windowFlags() == flags)
    return;
  const bool shown = window.isVisible();
  window.setWindowFlags(flags);
  if (shown)
    window.show();
}

void ApplySize(WindowWidget& widget) {
  QMainWindow& window = LiveWindow(widget);
  if (!widget.resizeable) {
    widget.content->setFixedSize(widget.width, widget.height);
    window.layout()->setSizeConstraint(QLayout::SetFixedSize);
    return;
  }
  window.layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
  widget.content->setMinimumSize(widget.minWidth, widget.minHeight);
  widget.content->setMaximumSize(widget.maxWidth, widget.maxHeight);
  widget.content->resize(widget.width, widget.height);
  window.adjustSize();
}

void ApplyBackColor(WindowWidget& widget) {
  widget.content->setAutoFillBackground(widget.hasBackColor);
  if (!widget.hasBackColor)
    return;
  QPalette palette = widget.content->palette();
  palette.setColor(QPalette::Window,
                   QColor(widget.backColor.red, widget.backColor.green, widget.backColor.blue));
  widget.content->setPalette(palette);
}

void ApplyMenuBarVisible(WindowWidget& widget) {
  if (QWidget* bar = LiveWindow(widget).menuWidget())
    bar->setVisible(widget.menuBarVisible);
}

void Present(WindowWidget& widget) {
  QMainWindow& window = LiveWindow(widget);
  if (!widget.placed) {
    widget.placed = true;
    if (widget.placement != 0)
      CentreOnScreen(window);
  }
  if (widget.fullScreen) {
    window.showFullScreen();
  } else {
    window.show();
  }
  widget.shownOrder = NextShownOrder();
}

}  // namespace qt
}  // namespace platform
