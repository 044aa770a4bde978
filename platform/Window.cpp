#include "platform/Window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <algorithm>
#include <map>

#include "platform/Menu.h"
#include "platform/Runtime.h"
#include "platform/qt/DesignKeys.h"
#include "platform/qt/Dispatcher.h"
#include "platform/qt/Widgets.h"

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

struct WindowLists {
  std::map<std::string, std::shared_ptr<Window>> implicitWindows;
  std::vector<std::shared_ptr<Window>> windows;
  uint64_t shownCount = 0;
};

WindowLists& Lists() {
  static WindowLists lists;
  return lists;
}

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

// "Cmd" is the platform's command key, which is Ctrl here.
QKeySequence ShortcutOf(const std::string& shortcut) {
  QString text = QString::fromStdString(shortcut);
  text.replace("Cmd", "Ctrl");
  return QKeySequence::fromString(text);
}

// The action that chooses a menu item from the window, through the dispatcher.
QAction* NewItemAction(const std::weak_ptr<Window>& weak, const MenuItem& item, QObject* parent) {
  auto* action = new QAction(QString::fromStdString(item.Text()), parent);
  if (item.KeyboardShortcut())
    action->setShortcut(ShortcutOf(*item.KeyboardShortcut()));
  const std::string name = item.Name();
  QObject::connect(action, &QAction::triggered, action, [weak, name] {
    std::shared_ptr<Window> owner = weak.lock();
    if (!owner || !owner->IsOpen())
      return;
    qt::Dispatch(owner, nullptr, [name] { ChooseMenuItem(name); });
  });
  return action;
}

// A window without a menu bar of its own still answers the shortcuts of the
// application's menu bar, as it would under a global menu bar.
void AddShortcutActions(WindowWidget& widget, const std::weak_ptr<Window>& weak,
                        const MenuItem& menu) {
  for (int i = 0; i < menu.Count(); ++i) {
    const MenuItem& item = *menu.Item(i);
    if (item.Count() > 0) {
      AddShortcutActions(widget, weak, item);
    } else if (item.KeyboardShortcut() && !item.KeyboardShortcut()->empty()) {
      QAction* action = NewItemAction(weak, item, widget.window);
      widget.window->addAction(action);
      widget.actions[item.Name()] = action;
    }
  }
}

QMainWindow& Live(const WindowWidget& widget) {
  if (widget.window.isNull())
    throw NilObjectException();
  return *widget.window;
}

void ApplyFlags(WindowWidget& widget) {
  QMainWindow& window = Live(widget);
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
  QMainWindow& window = Live(widget);
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
  if (QWidget* bar = Live(widget).menuWidget())
    bar->setVisible(widget.menuBarVisible);
}

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

void Present(WindowWidget& widget) {
  QMainWindow& window = Live(widget);
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
  widget.shownOrder = ++Lists().shownCount;
}

}  // namespace

WindowWidget::WindowWidget() {
  auto* main = new MainWindow;
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

QAction* MenuAction(const Window& window, const std::string& itemName) {
  const auto& actions = window.Widget().actions;
  auto found = actions.find(itemName);
  return found == actions.end() ? nullptr : found->second.data();
}

std::shared_ptr<Window> FrontWindow() {
  std::vector<std::shared_ptr<Window>> open = OpenWindows();
  if (open.empty())
    return nullptr;
  QWidget* active = QApplication::activeWindow();
  for (const auto& window : open) {
    if (active != nullptr && WindowQWidget(*window) == active)
      return window;
  }
  return *std::max_element(open.begin(), open.end(), [](const auto& a, const auto& b) {
    return a->Widget().shownOrder < b->Widget().shownOrder;
  });
}

}  // namespace qt

Window::Window() {
  if (QApplication::instance() == nullptr) {
    throw RuntimeException("Windows need the runtime: RuntimeInit has not run");
  }
  widget_ = std::make_unique<WindowWidget>();
  static_cast<MainWindow*>(widget_->window.data())->owner = this;
}

Window::~Window() = default;

void Window::Constructor() {
  std::shared_ptr<Window> self = shared_from_this();
  Lists().implicitWindows[RuntimeClassName()] = self;
  Lists().windows.push_back(self);
  open_ = true;
  try {
    Layout();
    CreateControls();
    std::vector<std::shared_ptr<RectControl>> byTabIndex = controls_;
    std::stable_sort(byTabIndex.begin(), byTabIndex.end(), [](const auto& a, const auto& b) {
      return a->Widget().tabIndex < b->Widget().tabIndex;
    });
    QWidget* previous = nullptr;
    for (const auto& control : byTabIndex) {
      QWidget* input = control->Widget().InputWidget();
      if (input == nullptr || (input->focusPolicy() & Qt::TabFocus) == 0)
        continue;
      if (previous != nullptr)
        QWidget::setTabOrder(previous, input);
      previous = input;
    }
    AddMenuHandlers(*this);
    std::shared_ptr<Application> application = GetAppObject();
    if (!menuBar_ && application && application->GetMenuBar()) {
      AddShortcutActions(*widget_, self, *application->GetMenuBar());
    }
    widget_->built = true;
    for (const auto& control : std::vector(controls_))
      qt::RaiseControlEvent(*control, "Open");
    for (const auto& [event, handler] : std::vector(windowEvents_)) {
      if (event == "Open")
        handler();
    }
    if (open_ && widget_->visible)
      Present(*widget_);
  } catch (...) {
    Close();
    throw;
  }
}

void Window::Show() {
  if (!open_)
    return;
  widget_->visible = true;
  Present(*widget_);
  Live(*widget_).raise();
  Live(*widget_).activateWindow();
}

void Window::Close() {
  if (!open_)
    return;
  std::shared_ptr<Window> keep = weak_from_this().lock();
  open_ = false;
  for (const auto& control : controls_)
    control->Widget().closed = true;
  auto& implicitWindows = Lists().implicitWindows;
  auto entry = implicitWindows.find(RuntimeClassName());
  if (entry != implicitWindows.end() && entry->second.get() == this)
    implicitWindows.erase(entry);
  auto& windows = Lists().windows;
  windows.erase(std::remove_if(windows.begin(), windows.end(),
                               [this](const auto& window) { return window.get() == this; }),
                windows.end());
  if (!widget_->window.isNull())
    widget_->window->hide();
}

bool Window::IsOpen() const {
  return open_;
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

void Window::SetMenuBar(std::shared_ptr<MenuBar> menuBar) {
  menuBar_ = std::move(menuBar);
  QMainWindow& window = Live(*widget_);
  widget_->actions.clear();
  if (!menuBar_) {
    window.setMenuWidget(nullptr);
    return;
  }
  auto* bar = new QMenuBar;
  std::weak_ptr<Window> weak = weak_from_this();
  auto addItem = [&](auto& self, QWidget* menu, const MenuItem& item) -> void {
    const QString text = QString::fromStdString(item.Text());
    if (item.Count() > 0) {
      auto* submenu = new QMenu(text, menu);
      QObject::connect(submenu, &QMenu::aboutToShow, submenu, [weak] {
        std::shared_ptr<Window> owner = weak.lock();
        if (!owner || !owner->open_)
          return;
        qt::Dispatch(owner, nullptr, [owner] {
          for (const auto& [event, handler] : std::vector(owner->windowEvents_)) {
            if (event == "EnableMenuItems")
              handler();
          }
        });
      });
      for (int i = 0; i < item.Count(); ++i)
        self(self, submenu, *item.Item(i));
      menu->addAction(submenu->menuAction());
      return;
    }
    if (item.Text() == "-") {
      auto* separator = new QAction(menu);
      separator->setSeparator(true);
      menu->addAction(separator);
      return;
    }
    QAction* action = NewItemAction(weak, item, menu);
    menu->addAction(action);
    widget_->actions[item.Name()] = action;
  };
  for (int i = 0; i < menuBar_->Count(); ++i)
    addItem(addItem, bar, *menuBar_->Item(i));
  window.setMenuBar(bar);
  ApplyMenuBarVisible(*widget_);
}

void Window::AddMenuHandler(const std::string& itemName, MenuHandler handler) {
  for (auto& [name, bound] : menuHandlers_) {
    if (name == itemName) {
      bound = std::move(handler);
      return;
    }
  }
  menuHandlers_.emplace_back(itemName, std::move(handler));
}

bool Window::HandleMenuCommand(const std::string& itemName) {
  for (const auto& [name, handler] : menuHandlers_) {
    if (name == itemName)
      return MenuHandler(handler)();
  }
  return false;
}

void Window::InstallWindowEventHandler(EventName event, EventHandler handler) {
  if (event != EventName("Open") && event != EventName("EnableMenuItems")) {
    throw RuntimeException("A window does not raise the event " + std::string(event.View()));
  }
  const std::string name(event.View());
  for (auto& [bound, existing] : windowEvents_) {
    if (bound == name) {
      existing = std::move(handler);
      return;
    }
  }
  windowEvents_.emplace_back(name, std::move(handler));
}

std::string Window::Title() const {
  return Live(*widget_).windowTitle().toStdString();
}

int32_t Window::Width() const {
  return widget_->width;
}

int32_t Window::Height() const {
  return widget_->height;
}

void Window::SetHeight(int32_t height) {
  widget_->height = height;
  ApplySize(*widget_);
}

bool Window::Visible() const {
  return open_ && Live(*widget_).isVisible();
}

void Window::SetProperty(const std::string& key, const PropertyValue& value) {
  if (!qt::WindowKeyKnown(key))
    throw RuntimeException("Window has no property " + key);
  WindowWidget& widget = *widget_;
  if (key == "Title") {
    Live(widget).setWindowTitle(QString::fromStdString(qt::ValueAs<std::string>(key, value)));
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
    ApplySize(widget);
  } else if (key == "Resizeable") {
    widget.resizeable = qt::ValueAs<bool>(key, value);
    ApplySize(widget);
    ApplyFlags(widget);
  } else if (key == "Placement") {
    widget.placement = qt::ValueAs<int32_t>(key, value);
  } else if (key == "Frame") {
    widget.frame = qt::ValueAs<int32_t>(key, value);
    ApplyFlags(widget);
  } else if (key == "CloseButton" || key == "MinimizeButton" || key == "MaximizeButton") {
    bool& target = key == "CloseButton"      ? widget.closeButton
                   : key == "MinimizeButton" ? widget.minimizeButton
                                             : widget.maximizeButton;
    target = qt::ValueAs<bool>(key, value);
    ApplyFlags(widget);
  } else if (key == "HasBackColor") {
    widget.hasBackColor = qt::ValueAs<bool>(key, value);
    ApplyBackColor(widget);
  } else if (key == "BackColor") {
    widget.backColor = qt::ValueAs<Color>(key, value);
    ApplyBackColor(widget);
  } else if (key == "MenuBarVisible") {
    widget.menuBarVisible = qt::ValueAs<bool>(key, value);
    ApplyMenuBarVisible(widget);
  } else if (key == "FullScreen") {
    widget.fullScreen = qt::ValueAs<bool>(key, value);
  } else if (key == "Visible") {
    widget.visible = qt::ValueAs<bool>(key, value);
    if (widget.built && open_) {
      if (widget.visible) {
        Present(widget);
      } else {
        Live(widget).hide();
      }
    }
  } else {
    widget.stored[key] = value;
  }
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

void SetProperties(Window& window, const std::string& block) {
  for (const Property& entry : DecodeBlock(block, "Window"))
    window.SetProperty(entry.key, entry.value);
}

void SetProperties(RectControl& control, const std::string& block) {
  for (const Property& entry : DecodeBlock(block, ControlClassName(control.Kind()))) {
    control.SetProperty(entry.key, entry.value);
  }
}

std::shared_ptr<Window> GetImplicitWindow(const std::string& runtimeClassName) {
  auto& implicitWindows = Lists().implicitWindows;
  auto found = implicitWindows.find(runtimeClassName);
  return found == implicitWindows.end() ? nullptr : found->second;
}

std::vector<std::shared_ptr<Window>> OpenWindows() {
  std::vector<std::shared_ptr<Window>> open;
  for (const auto& window : Lists().windows) {
    if (window->IsOpen())
      open.push_back(window);
  }
  return open;
}

void ReleaseImplicitWindowList() {
  NoteInJournal("Release implicit window list");
  Lists().implicitWindows.clear();
}

void ReleaseWindowSupportLists() {
  NoteInJournal("Release window lists");
  Lists().windows.clear();
}

}  // namespace platform
