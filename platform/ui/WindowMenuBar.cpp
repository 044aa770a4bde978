#include "platform/ui/qt/WindowMenuBar.h"

#include <QMenu>
#include <QMenuBar>

#include "platform/core/NamedHandlers.h"
#include "platform/core/qt/Dispatcher.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Window.h"
#include "platform/ui/qt/WindowHost.h"

namespace platform {
namespace {

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

}  // namespace

namespace qt {

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

QAction* MenuAction(const Window& window, const std::string& itemName) {
  const auto& actions = window.Widget().actions;
  auto found = actions.find(itemName);
  return found == actions.end() ? nullptr : found->second.data();
}

}  // namespace qt

void Window::SetMenuBar(std::shared_ptr<MenuBar> menuBar) {
  menuBar_ = std::move(menuBar);
  QMainWindow& window = qt::LiveWindow(*widget_);
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
          if (auto handler = BoundHandler(owner->windowEvents_, "EnableMenuItems"))
            (*handler)();
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
  qt::ApplyMenuBarVisible(*widget_);
}

void Window::AddMenuHandler(const std::string& itemName, MenuHandler handler) {
  BindHandler(menuHandlers_, itemName, std::move(handler));
}

bool Window::HandleMenuCommand(const std::string& itemName) {
  std::optional<MenuHandler> handler = BoundHandler(menuHandlers_, itemName);
  return handler ? (*handler)() : false;
}

}  // namespace platform
