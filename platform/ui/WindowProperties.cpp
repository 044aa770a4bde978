#include <QMainWindow>

#include "platform/ui/Window.h"
#include "platform/ui/qt/DesignKeys.h"
#include "platform/ui/qt/Widgets.h"
#include "platform/ui/qt/WindowHost.h"

namespace platform {

std::string Window::Title() const {
  return qt::LiveWindow(*widget_).windowTitle().toStdString();
}

int32_t Window::Width() const {
  return widget_->width;
}

int32_t Window::Height() const {
  return widget_->height;
}

void Window::SetHeight(int32_t height) {
  widget_->height = height;
  qt::ApplySize(*widget_);
}

bool Window::Visible() const {
  return open_ && qt::LiveWindow(*widget_).isVisible();
}

void Window::SetProperty(const std::string& key, const PropertyValue& value) {
  if (!qt::WindowKeyKnown(key))
    throw RuntimeException("Window has no property " + key);
  WindowWidget& widget = *widget_;
  if (key == "Title") {
    qt::LiveWindow(widget).setWindowTitle(
        QString::fromStdString(qt::ValueAs<std::string>(key, value)));
  } else if (key == "Width" || key == "Height" || key == "MinWidth" || key == "MinHeight" ||
             key == "MaxWidth" || key == "MaxHeight") {
    const int32_t size = qt::ValueAs<int32_t>(key, value);
    int32_t& target = key == "Width"       ? widget.width
                      : key == "Height"    ? widget.height
                      : key == "MinWidth"  ? widget.minWidth
                      : key == "MinHeight" ? widget.minHeight
                      : key == "MaxWidth"  ? widget.maxWidth
                                           : widget.maxHeight;
    target = size;
    qt::ApplySize(widget);
  } else if (key == "Resizeable") {
    widget.resizeable = qt::ValueAs<bool>(key, value);
    qt::ApplySize(widget);
    qt::ApplyFlags(widget);
  } else if (key == "Placement") {
    widget.placement = qt::ValueAs<int32_t>(key, value);
  } else if (key == "Frame") {
    widget.frame = qt::ValueAs<int32_t>(key, value);
    qt::ApplyFlags(widget);
  } else if (key == "CloseButton" || key == "MinimizeButton" || key == "MaximizeButton") {
    bool& target = key == "CloseButton"      ? widget.closeButton
                   : key == "MinimizeButton" ? widget.minimizeButton
                                             : widget.maximizeButton;
    target = qt::ValueAs<bool>(key, value);
    qt::ApplyFlags(widget);
  } else if (key == "HasBackColor") {
    widget.hasBackColor = qt::ValueAs<bool>(key, value);
    qt::ApplyBackColor(widget);
  } else if (key == "BackColor") {
    widget.backColor = qt::ValueAs<Color>(key, value);
    qt::ApplyBackColor(widget);
  } else if (key == "MenuBarVisible") {
    widget.menuBarVisible = qt::ValueAs<bool>(key, value);
    qt::ApplyMenuBarVisible(widget);
  } else if (key == "FullScreen") {
    widget.fullScreen = qt::ValueAs<bool>(key, value);
  } else if (key == "Visible") {
    widget.visible = qt::ValueAs<bool>(key, value);
    if (widget.built && open_) {
      if (widget.visible) {
        qt::Present(widget);
      } else {
        qt::LiveWindow(widget).hide();
      }
    }
  } else {
    widget.stored[key] = value;
  }
}

void SetProperties(Window& window, const std::string& block) {
  for (const Property& entry : DecodeBlock(block, "Window"))
    window.SetProperty(entry.key, entry.value);
}

void SetProperties(RectControl& control, const std::string& block) {
  for (const Property& entry : DecodeBlock(block, ControlClassName(control.Kind()))) {
    control.SetProperty(entry.key, entry.value);
  }
}

}  // namespace platform
