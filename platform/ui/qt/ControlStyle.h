#pragma once

#include <QPalette>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/design/PropertyBlock.h"

// The font and colour keys that text-bearing controls share.
namespace platform::qt {

struct FontStyle {
  std::string family = "System";
  int32_t size = 0;
  bool bold = false;
  bool italic = false;
  bool underline = false;
};

// Sets one of the font keys; false when the key is not a font key.
bool SetFontKey(FontStyle& font, const std::string& key, const PropertyValue& value);
void ApplyFont(QWidget& widget, const FontStyle& font);
// Gives the widget's palette the colour in that role; no colour leaves the palette as it is.
void SetColorRole(QWidget& widget, QPalette::ColorRole role, const std::optional<Color>& color);

}  // namespace platform::qt
