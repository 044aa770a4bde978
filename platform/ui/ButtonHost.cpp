#include <QPushButton>

#include "platform/ui/qt/ControlStyle.h"
#include "platform/ui/qt/DesignKeys.h"
#include "platform/ui/qt/FocusWatcher.h"
#include "platform/ui/qt/Widgets.h"

namespace platform::qt {
namespace {

struct ButtonHost : ControlWidget {
  ButtonHost() : ControlWidget(new QPushButton), watcher(*this) {
    QPushButton& button = Button();
    button.setAutoDefault(false);
    button.setDefault(false);
    button.setFocusPolicy(Qt::NoFocus);
    button.installEventFilter(&watcher);
    Keep(QObject::connect(&button, &QPushButton::clicked,
                          [this] { DispatchControlEvent(*this, "Action"); }));
  }
  ~ButtonHost() override {
    if (!widget.isNull())
      Button().removeEventFilter(&watcher);
  }

  bool SetOwnProperty(const std::string& key, const PropertyValue& value) override {
    if (key == "Caption") {
      SetText(ValueAs<std::string>(key, value));
    } else if (SetFontKey(font, key, value)) {
      ApplyFont(Button(), font);
    } else {
      return false;
    }
    return true;
  }

  std::string Text() const override { return Button().text().toStdString(); }
  void SetText(const std::string& text) override { Button().setText(QString::fromStdString(text)); }

  QPushButton& Button() const { return LiveAs<QPushButton>(); }

  FontStyle font;
  FocusWatcher watcher;
};

}  // namespace

std::unique_ptr<ControlWidget> NewButtonHost() {
  return std::make_unique<ButtonHost>();
}

}  // namespace platform::qt
