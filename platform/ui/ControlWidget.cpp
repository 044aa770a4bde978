#include "platform/core/Exceptions.h"
#include "platform/core/qt/Dispatcher.h"
#include "platform/ui/Window.h"
#include "platform/ui/qt/Widgets.h"

namespace platform {

ControlWidget::ControlWidget(QWidget* created) : widget(created) {}

ControlWidget::~ControlWidget() {
  for (const QMetaObject::Connection& connection : connections)
    QObject::disconnect(connection);
  if (!widget.isNull() && widget->parent() == nullptr)
    widget->deleteLater();
}

bool ControlWidget::SetOwnProperty(const std::string&, const PropertyValue&) {
  return false;
}

std::string ControlWidget::Text() const {
  throw RuntimeException("This control has no text");
}

void ControlWidget::SetText(const std::string&) {
  throw RuntimeException("This control has no text");
}

void ControlWidget::AppendText(const std::string&) {
  throw RuntimeException("This control has no text to append to");
}

void ControlWidget::SetBackdrop(const QImage&) {
  throw RuntimeException("This control has no backdrop");
}

QWidget& ControlWidget::Live() const {
  if (widget.isNull())
    throw NilObjectException();
  return *widget;
}

void ControlWidget::PlaceIn(QWidget* content) {
  Live().setParent(content);
  ApplyGeometry();
  ApplyVisible();
}

void ControlWidget::ApplyGeometry() {
  Live().setGeometry(left, top, width, height);
}

void ControlWidget::ApplyVisible() {
  // A widget without a parent would become a window of its own when shown.
  if (Live().parent() != nullptr)
    widget->setVisible(visible);
}

std::optional<EventHandler> ControlWidget::HandlerFor(const std::string& event) const {
  if (closed)
    return std::nullopt;
  auto found = handlers.find(event);
  if (found == handlers.end())
    return std::nullopt;
  return found->second;
}

namespace qt {

void DispatchControlEvent(ControlWidget& host, const std::string& event) {
  if (host.owner == nullptr)
    return;
  if (std::optional<EventHandler> handler = host.HandlerFor(event))
    Dispatch(host.owner->ParentWindow(), host.owner->weak_from_this().lock(), *handler);
}

}  // namespace qt

}  // namespace platform
