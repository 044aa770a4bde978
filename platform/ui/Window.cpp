#include "platform/ui/Window.h"

#include <QApplication>
#include <algorithm>

#include "platform/core/NamedHandlers.h"
#include "platform/core/Runtime.h"
#include "platform/ui/Menu.h"
#include "platform/ui/WindowRegistry.h"
#include "platform/ui/qt/Widgets.h"
#include "platform/ui/qt/WindowHost.h"
#include "platform/ui/qt/WindowMenuBar.h"

namespace platform {
namespace {

std::shared_ptr<RectControl> NewControlOfKind(ControlClass kind) {
  switch (kind) {
    case ControlClass::Canvas:
      return std::make_shared<Canvas>();
    case ControlClass::EditField:
      return std::make_shared<EditField>();
    case ControlClass::StaticText:
      return std::make_shared<StaticText>();
    case ControlClass::BevelButton:
      return std::make_shared<BevelButton>();
  }
  throw RuntimeException("Unknown control class");
}

// Tab moves through the controls that take it in the order of their tab indexes.
void ChainTabOrder(std::vector<std::shared_ptr<RectControl>> controls) {
  std::stable_sort(controls.begin(), controls.end(), [](const auto& a, const auto& b) {
    return a->Widget().tabIndex < b->Widget().tabIndex;
  });
  QWidget* previous = nullptr;
  for (const auto& control : controls) {
    QWidget* input = control->Widget().InputWidget();
    if (input == nullptr || (input->focusPolicy() & Qt::TabFocus) == 0)
      continue;
    if (previous != nullptr)
      QWidget::setTabOrder(previous, input);
    previous = input;
  }
}

// The control that holds the window's keyboard focus, whether or not the
// window is the active one.
std::shared_ptr<RectControl> FocusedControl(
    const WindowWidget& window, const std::vector<std::shared_ptr<RectControl>>& controls) {
  QWidget* focus = window.window.isNull() ? nullptr : window.window->focusWidget();
  if (focus == nullptr)
    return nullptr;
  for (const auto& control : controls) {
    QWidget* own = control->Widget().widget;
    if (own != nullptr && (own == focus || own->isAncestorOf(focus)))
      return control;
  }
  return nullptr;
}

}  // namespace

Window::Window() {
  if (QApplication::instance() == nullptr) {
    throw RuntimeException("Windows need the runtime: RuntimeInit has not run");
  }
  widget_ = std::make_unique<WindowWidget>(*this);
}

Window::~Window() = default;

void Window::Constructor() {
  std::shared_ptr<Window> self = shared_from_this();
  RegisterWindow(self);
  open_ = true;
  try {
    Layout();
    CreateControls();
    ChainTabOrder(controls_);
    AddMenuHandlers(*this);
    std::shared_ptr<Application> application = GetAppObject();
    if (!menuBar_ && application && application->GetMenuBar()) {
      qt::AddShortcutActions(*widget_, self, *application->GetMenuBar());
    }
    widget_->built = true;
    for (const auto& control : std::vector(controls_))
      qt::RaiseControlEvent(*control, "Open");
    if (auto handler = BoundHandler(windowEvents_, "Open"))
      (*handler)();
    if (open_ && widget_->visible)
      qt::Present(*widget_);
  } catch (...) {
    Close();
    throw;
  }
}

void Window::Show() {
  if (!open_)
    return;
  widget_->visible = true;
  qt::Present(*widget_);
  qt::LiveWindow(*widget_).raise();
  qt::LiveWindow(*widget_).activateWindow();
}

// The focused control's LostFocus comes first, while the window is whole, so
// that what was typed just before the close is handed over. A close that its
// handler asks for, or a focus-out that the toolkit sends while the window
// goes, raises nothing more.
void Window::Close() {
  if (!open_ || closing_)
    return;
  std::shared_ptr<Window> keep = weak_from_this().lock();
  closing_ = true;
  RaiseLastLostFocus();
  open_ = false;
  for (const auto& control : controls_)
    control->Widget().closed = true;
  ForgetWindow(*this);
  if (!widget_->window.isNull())
    widget_->window->hide();
}

bool Window::IsOpen() const {
  return open_;
}

void Window::RaiseLastLostFocus() {
  if (!open_ || lastLostFocusRaised_)
    return;
  std::shared_ptr<Window> keep = weak_from_this().lock();
  lastLostFocusRaised_ = true;
  if (std::shared_ptr<RectControl> focused = FocusedControl(*widget_, controls_))
    qt::DispatchControlEvent(focused->Widget(), "LostFocus");
}

bool Window::LastLostFocusRaised() const {
  return lastLostFocusRaised_;
}

std::shared_ptr<RectControl> Window::ControlByName(const std::string& name) const {
  for (const auto& control : controls_) {
    if (control->Name() == name)
      return control;
  }
  return nullptr;
}

std::shared_ptr<RectControl> Window::Control(int32_t index) const {
  if (index < 0 || index >= ControlCount())
    return nullptr;
  return controls_[static_cast<size_t>(index)];
}

void Window::InstallWindowEventHandler(EventName event, EventHandler handler) {
  if (event != EventName("Open") && event != EventName("EnableMenuItems")) {
    throw RuntimeException("A window does not raise the event " + std::string(event.View()));
  }
  BindHandler(windowEvents_, std::string(event.View()), std::move(handler));
}

void Window::AddControl(const std::string& name, std::shared_ptr<RectControl> control) {
  NotNil(control);
  if (widget_->content.isNull())
    throw NilObjectException();
  control->name_ = name;
  control->window_ = weak_from_this();
  control->Widget().PlaceIn(widget_->content);
  controls_.push_back(std::move(control));
}

void Window::CreateControl(const ControlDesign& design, KeyOrder order,
                           std::shared_ptr<Picture> backdrop) {
  AddControl(design.name, NewControlOfKind(design.kind));
  if (design.kind == ControlClass::Canvas) {
    TypeTest<Canvas>(ControlByName(design.name))->SetBackdrop(std::move(backdrop));
  } else if (backdrop) {
    throw RuntimeException("Only a canvas has a backdrop, and " + design.name + " is a " +
                           ControlClassName(design.kind));
  }
  SetProperties(NotNil(ControlByName(design.name)), EncodeControlBlock(design, order));
}

}  // namespace platform
