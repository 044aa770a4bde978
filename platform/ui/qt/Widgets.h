#pragma once

#include <QAction>
#include <QImage>
#include <QMainWindow>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/Controls.h"
#include "platform/ui/Window.h"

namespace platform {

// The toolkit widget behind a control, and what the framework keeps beside it.
struct ControlWidget {
  explicit ControlWidget(QWidget* widget);
  virtual ~ControlWidget();
  ControlWidget(const ControlWidget&) = delete;
  ControlWidget& operator=(const ControlWidget&) = delete;

  // The widget that takes keyboard input for the control.
  virtual QWidget* InputWidget() const { return widget; }
  // Sets one of the keys of the control's own kind; false when the key is
  // not one of them.
  virtual bool SetOwnProperty(const std::string& key, const PropertyValue& value);
  // The text of a label or an edit field, the caption of a button.
  virtual std::string Text() const;
  virtual void SetText(const std::string& text);
  virtual void AppendText(const std::string& text);
  virtual void SetBackdrop(const QImage& image);

  // The widget; NilObjectException once the toolkit has deleted it.
  QWidget& Live() const;
  // The widget as the class the host made it; NilObjectException once deleted.
  template <class T>
  T& LiveAs() const {
    return static_cast<T&>(Live());
  }
  // Puts the control's widget into its window's content area.
  void PlaceIn(QWidget* content);
  void ApplyGeometry();
  void ApplyVisible();
  void Keep(QMetaObject::Connection connection) { connections.push_back(connection); }
  // A copy of the handler bound to the event; nothing when none is bound or
  // the control is closed.
  std::optional<EventHandler> HandlerFor(const std::string& event) const;

  QPointer<QWidget> widget;
  RectControl* owner = nullptr;
  std::map<std::string, EventHandler> handlers;
  MouseDownHandler mouseDown;
  // Design values the toolkit has no use for, kept as given.
  std::map<std::string, PropertyValue> stored;
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  bool visible = true;
  int32_t tabIndex = 0;
  bool closed = false;
  std::vector<QMetaObject::Connection> connections;
};

// The toolkit window behind a window, and its design values.
struct WindowWidget {
  explicit WindowWidget(Window& owner);
  ~WindowWidget();
  WindowWidget(const WindowWidget&) = delete;
  WindowWidget& operator=(const WindowWidget&) = delete;

  QPointer<QMainWindow> window;
  QPointer<QWidget> content;
  std::map<std::string, PropertyValue> stored;
  int32_t placement = 0;
  int32_t width = 100;
  int32_t height = 100;
  int32_t minWidth = 64;
  int32_t minHeight = 64;
  int32_t maxWidth = 32000;
  int32_t maxHeight = 32000;
  int32_t frame = 0;
  bool hasBackColor = false;
  Color backColor{255, 255, 255};
  bool visible = true;
  bool fullScreen = false;
  bool menuBarVisible = true;
  bool closeButton = true;
  bool resizeable = false;
  bool maximizeButton = false;
  bool minimizeButton = false;
  bool built = false;
  bool placed = false;
  uint64_t shownOrder = 0;
  std::map<std::string, QPointer<QAction>> actions;
};

namespace qt {

std::unique_ptr<ControlWidget> NewCanvasHost();
std::unique_ptr<ControlWidget> NewEditFieldHost();
std::unique_ptr<ControlWidget> NewLabelHost();
std::unique_ptr<ControlWidget> NewButtonHost();

// Raises a control event from a toolkit signal or event, through the dispatcher.
void DispatchControlEvent(ControlWidget& host, const std::string& event);

QWidget* ControlQWidget(const RectControl& control);
// The widget that takes the keys typed into the control.
QWidget* ControlInputWidget(const RectControl& control);
QMainWindow* WindowQWidget(const Window& window);
// The action of a menu item in the window's menu bar, or nullptr.
QAction* MenuAction(const Window& window, const std::string& itemName);
// The active window, else the open window shown most recently; nil when none is open.
std::shared_ptr<Window> FrontWindow();
// Raises a control event straight away, outside the dispatcher (Open during construction).
void RaiseControlEvent(RectControl& control, const std::string& event);

}  // namespace qt
}  // namespace platform
