#include "platform/ui/Controls.h"

#include "platform/core/Exceptions.h"
#include "platform/ui/Window.h"
#include "platform/ui/qt/DesignKeys.h"
#include "platform/ui/qt/QtPicture.h"
#include "platform/ui/qt/Widgets.h"

namespace platform {
namespace {

bool RaisesEvent(ControlClass kind, std::string_view event) {
  if (event == "Open")
    return true;
  if (event == "Action")
    return kind == ControlClass::BevelButton;
  if (event == "LostFocus")
    return kind == ControlClass::EditField || kind == ControlClass::BevelButton;
  return false;
}

}  // namespace

namespace qt {

QWidget* ControlQWidget(const RectControl& control) {
  return control.Widget().widget;
}

QWidget* ControlInputWidget(const RectControl& control) {
  return control.Widget().InputWidget();
}

void RaiseControlEvent(RectControl& control, const std::string& event) {
  if (std::optional<EventHandler> handler = control.Widget().HandlerFor(event))
    (*handler)();
}

}  // namespace qt

RectControl::RectControl(std::unique_ptr<ControlWidget> widget) : widget_(std::move(widget)) {
  widget_->owner = this;
}

RectControl::~RectControl() {
  widget_->owner = nullptr;
}

int32_t RectControl::Left() const {
  return widget_->left;
}

int32_t RectControl::Top() const {
  return widget_->top;
}

int32_t RectControl::Width() const {
  return widget_->width;
}

int32_t RectControl::Height() const {
  return widget_->height;
}

void RectControl::SetTop(int32_t top) {
  widget_->top = top;
  widget_->ApplyGeometry();
}

bool RectControl::Visible() const {
  return widget_->visible;
}

void RectControl::SetVisible(bool visible) {
  widget_->visible = visible;
  widget_->ApplyVisible();
}

bool RectControl::Enabled() const {
  return !widget_->Live().testAttribute(Qt::WA_ForceDisabled);
}

void RectControl::SetEnabled(bool enabled) {
  widget_->Live().setEnabled(enabled);
}

void RectControl::Refresh(bool immediately) {
  if (immediately) {
    widget_->Live().repaint();
  } else {
    widget_->Live().update();
  }
}

void RectControl::InstallInstanceEventHandler(EventName event, EventHandler handler) {
  if (event == EventName("MouseDown"))
    throw RuntimeException(
        "The handler of MouseDown takes the click position and returns a Boolean");
  if (!RaisesEvent(Kind(), event.View())) {
    throw RuntimeException(ControlClassName(Kind()) + " does not raise the event " +
                           std::string(event.View()));
  }
  widget_->handlers[std::string(event.View())] = std::move(handler);
}

void RectControl::InstallInstanceEventHandler(EventName event, MouseDownHandler handler) {
  if (event != EventName("MouseDown")) {
    throw RuntimeException("The handler of " + std::string(event.View()) +
                           " takes no arguments and returns nothing");
  }
  if (Kind() != ControlClass::Canvas)
    throw RuntimeException(ControlClassName(Kind()) + " does not raise the event MouseDown");
  widget_->mouseDown = std::move(handler);
}

void RectControl::SetProperty(const std::string& key, const PropertyValue& value) {
  if (!qt::ControlKeyKnown(Kind(), key))
    throw RuntimeException(ControlClassName(Kind()) + " has no property " + key);
  ControlWidget& host = *widget_;
  if (key == "Name") {
    name_ = qt::ValueAs<std::string>(key, value);
  } else if (key == "Left" || key == "Top" || key == "Width" || key == "Height") {
    int32_t& edge = key == "Left"    ? host.left
                    : key == "Top"   ? host.top
                    : key == "Width" ? host.width
                                     : host.height;
    edge = qt::ValueAs<int32_t>(key, value);
    host.ApplyGeometry();
  } else if (key == "Visible") {
    SetVisible(qt::ValueAs<bool>(key, value));
  } else if (key == "Enabled") {
    SetEnabled(qt::ValueAs<bool>(key, value));
  } else if (key == "HelpTag") {
    host.Live().setToolTip(QString::fromStdString(qt::ValueAs<std::string>(key, value)));
  } else if (key == "TabIndex") {
    host.tabIndex = qt::ValueAs<int32_t>(key, value);
  } else if (key == "AcceptFocus") {
    host.Live().setFocusPolicy(qt::ValueAs<bool>(key, value) ? Qt::StrongFocus : Qt::NoFocus);
  } else {
    host.stored[key] = value;
  }
}

Canvas::Canvas() : RectControl(qt::NewCanvasHost()) {}

void Canvas::SetBackdrop(std::shared_ptr<Picture> picture) {
  const auto* image = dynamic_cast<const qt::QtPicture*>(picture.get());
  Widget().SetBackdrop(image != nullptr ? image->Image() : QImage());
  backdrop_ = std::move(picture);
}

EditField::EditField() : RectControl(qt::NewEditFieldHost()) {}

std::string EditField::Text() const {
  return Widget().Text();
}

void EditField::SetText(const std::string& text) {
  Widget().SetText(text);
}

void EditField::AppendText(const std::string& text) {
  Widget().AppendText(text);
}

void EditField::SetProperty(const std::string& key, const PropertyValue& value) {
  if (!Widget().SetOwnProperty(key, value))
    RectControl::SetProperty(key, value);
}

StaticText::StaticText() : RectControl(qt::NewLabelHost()) {}

std::string StaticText::Text() const {
  return Widget().Text();
}

void StaticText::SetText(const std::string& text) {
  Widget().SetText(text);
}

void StaticText::SetProperty(const std::string& key, const PropertyValue& value) {
  if (!Widget().SetOwnProperty(key, value))
    RectControl::SetProperty(key, value);
}

BevelButton::BevelButton() : RectControl(qt::NewButtonHost()) {}

std::string BevelButton::Caption() const {
  return Widget().Text();
}

void BevelButton::SetCaption(const std::string& caption) {
  Widget().SetText(caption);
}

void BevelButton::SetProperty(const std::string& key, const PropertyValue& value) {
  if (!Widget().SetOwnProperty(key, value))
    RectControl::SetProperty(key, value);
}

}  // namespace platform
