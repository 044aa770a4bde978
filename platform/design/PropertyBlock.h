#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace platform {

struct Color {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  bool operator==(const Color&) const = default;
};

// A design value: integer, boolean, string or colour, by the property's type.
using PropertyValue = std::variant<int32_t, bool, std::string, Color>;

struct Property {
  std::string key;
  PropertyValue value;
};

enum class ControlClass { Canvas, EditField, StaticText, BevelButton };
// The class's name as blocks name their target kind: "Canvas", "EditField", ...
std::string ControlClassName(ControlClass kind);
enum class KeyOrder { Forward, Reversed };

// A window's design: what the window differs in from the shared window defaults.
struct WindowDesign {
  std::string title;
  int32_t width = 0;
  int32_t height = 0;
  int32_t placement = 0;
  int32_t frame = 0;
  bool liveResize = false;
  bool minimizeButton = false;
  // Further keys that differ from the defaults; a key no window block holds
  // by default (BalloonHelp) is added after the last.
  std::vector<Property> differs;
};

// One row of a window's control table.
struct ControlDesign {
  std::string name;
  ControlClass kind = ControlClass::Canvas;
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  // Text of a label or edit field, caption of a button; unused for a canvas.
  std::string text;
  int32_t tabIndex = 0;
  std::vector<Property> differs;
};

// The byte encodings of design blocks: every key of the kind, in the kind's
// fixed order, each as key, blank, value (integers 4 bytes big-endian, booleans
// one byte, strings a 4-byte big-endian count then the bytes, colours 3 bytes).
std::string EncodeWindowBlock(const WindowDesign& design);
std::string EncodeControlBlock(const ControlDesign& design, KeyOrder order);

// The entries of a block, in block order. The key's type comes from the
// table of the target kind ("Window" or a ControlClass name); a malformed
// block or an unknown key throws RuntimeException.
std::vector<Property> DecodeBlock(const std::string& block, const std::string& targetKind);

}  // namespace platform
