#include <QLabel>

#include "platform/ui/qt/ControlStyle.h"
#include "platform/ui/qt/DesignKeys.h"
#include "platform/ui/qt/Widgets.h"

namespace platform::qt {
namespace {

struct LabelSettings {
  int32_t textAlign = 0;
  bool multiline = false;
  std::optional<Color> textColor;
  FontStyle font;
};

bool SetLabelKey(LabelSettings& settings, const std::string& key, const PropertyValue& value) {
  if (key == "TextAlign") {
    settings.textAlign = ValueAs<int32_t>(key, value);
  } else if (key == "Multiline") {
    settings.multiline = ValueAs<bool>(key, value);
  } else if (key == "TextColor") {
    settings.textColor = ValueAs<Color>(key, value);
  } else {
    return SetFontKey(settings.font, key, value);
  }
  return true;
}

struct LabelHost : ControlWidget {
  LabelHost() : ControlWidget(new QLabel) {
    Label().setTextFormat(Qt::PlainText);
    Apply();
  }

  bool SetOwnProperty(const std::string& key, const PropertyValue& value) override {
    if (key == "Text") {
      SetText(ValueAs<std::string>(key, value));
    } else if (SetLabelKey(settings, key, value)) {
      Apply();
    } else {
      return false;
    }
    return true;
  }

  std::string Text() const override { return Label().text().toStdString(); }
  void SetText(const std::string& text) override { Label().setText(QString::fromStdString(text)); }

  QLabel& Label() const { return LiveAs<QLabel>(); }

  void Apply() {
    const Qt::Alignment horizontal = settings.textAlign == 1   ? Qt::AlignHCenter
                                     : settings.textAlign == 2 ? Qt::AlignRight
                                                               : Qt::AlignLeft;
    Label().setAlignment(horizontal | (settings.multiline ? Qt::AlignTop : Qt::AlignVCenter));
    Label().setWordWrap(settings.multiline);
    ApplyFont(Label(), settings.font);
    SetColorRole(Label(), QPalette::WindowText, settings.textColor);
  }

  LabelSettings settings;
};

}  // namespace

std::unique_ptr<ControlWidget> NewLabelHost() {
  return std::make_unique<LabelHost>();
}

}  // namespace platform::qt
