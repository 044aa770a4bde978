#include "platform/ui/qt/ControlStyle.h"

#include <QFont>

#include "platform/ui/qt/DesignKeys.h"

namespace platform::qt {

bool SetFontKey(FontStyle& font, const std::string& key, const PropertyValue& value) {
  if (key == "TextFont") {
    font.family = ValueAs<std::string>(key, value);
  } else if (key == "TextSize") {
    font.size = ValueAs<int32_t>(key, value);
  } else if (key == "Bold") {
    font.bold = ValueAs<bool>(key, value);
  } else if (key == "Italic") {
    font.italic = ValueAs<bool>(key, value);
  } else if (key == "Underline") {
    font.underline = ValueAs<bool>(key, value);
  } else {
    return false;
  }
  return true;
}

// "System" and a size of 0 mean the desktop's own font and size. Sizes are
// pixels, as the designs were laid out for a 72-dpi screen: in points a
// 10-size label would not fit its 12-pixel height on a 96-dpi desktop.
void ApplyFont(QWidget& widget, const FontStyle& font) {
  QFont qfont;
  if (!font.family.empty() && font.family != "System")
    qfont.setFamily(QString::fromStdString(font.family));
  if (font.size > 0)
    qfont.setPixelSize(font.size);
  qfont.setBold(font.bold);
  qfont.setItalic(font.italic);
  qfont.setUnderline(font.underline);
  widget.setFont(qfont);
}

void SetColorRole(QWidget& widget, QPalette::ColorRole role, const std::optional<Color>& color) {
  if (!color)
    return;
  QPalette palette = widget.palette();
  palette.setColor(role, QColor(color->red, color->green, color->blue));
  widget.setPalette(palette);
}

}  // namespace platform::qt
