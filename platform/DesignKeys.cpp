#include "platform/qt/DesignKeys.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace platform::qt {
namespace {

constexpr std::string_view kCommonKeys[] = {
    "Name",     "Index",   "Left",           "Top",        "Width",         "Height",
    "LockLeft", "LockTop", "LockRight",      "LockBottom", "TabPanelIndex", "TabIndex",
    "Visible",  "HelpTag", "AutoDeactivate", "Enabled",    "InitialParent"};

constexpr std::string_view kCanvasKeys[] = {"UseFocusRing", "AcceptFocus", "AcceptTabs",
                                            "EraseBackground"};

constexpr std::string_view kEditFieldKeys[] = {"Border",
                                               "Multiline",
                                               "ScrollbarHorizontal",
                                               "ScrollbarVertical",
                                               "Styled",
                                               "Password",
                                               "UseFocusRing",
                                               "TextColor",
                                               "BackColor",
                                               "Format",
                                               "TextFont",
                                               "TextSize",
                                               "Bold",
                                               "Italic",
                                               "Underline",
                                               "Text",
                                               "Mask",
                                               "ReadOnly",
                                               "LimitText",
                                               "AcceptTabs",
                                               "Alignment",
                                               "DataSource",
                                               "DataField"};

constexpr std::string_view kStaticTextKeys[] = {"Text",      "TextAlign",  "TextColor", "Multiline",
                                                "TextFont",  "TextSize",   "Bold",      "Italic",
                                                "Underline", "DataSource", "DataField"};

constexpr std::string_view kBevelButtonKeys[] = {
    "Caption",     "CaptionAlign", "CaptionPlacement", "CaptionDelta", "IconAlign", "IconDX",
    "IconDY",      "Bevel",        "HasMenu",          "Value",        "MenuValue", "ButtonType",
    "AcceptFocus", "TextFont",     "TextSize",         "Bold",         "Italic",    "Underline"};

constexpr std::string_view kWindowKeys[] = {
    "Placement",   "Width",      "Height",     "MinWidth",       "MinHeight",
    "MaxWidth",    "MaxHeight",  "Frame",      "Composite",      "HasBackColor",
    "BackColor",   "Title",      "Visible",    "FullScreen",     "MenuBarVisible",
    "CloseButton", "Resizeable", "LiveResize", "MaximizeButton", "MinimizeButton",
    "MacProcID",   "MacProcId",  "BalloonHelp"};

template <std::size_t N>
bool Holds(const std::string_view (&keys)[N], const std::string& key) {
  return std::find(std::begin(keys), std::end(keys), key) != std::end(keys);
}

}  // namespace

bool ControlKeyKnown(ControlClass kind, const std::string& key) {
  if (Holds(kCommonKeys, key))
    return true;
  switch (kind) {
    case ControlClass::Canvas:
      return Holds(kCanvasKeys, key);
    case ControlClass::EditField:
      return Holds(kEditFieldKeys, key);
    case ControlClass::StaticText:
      return Holds(kStaticTextKeys, key);
    case ControlClass::BevelButton:
      return Holds(kBevelButtonKeys, key);
  }
  return false;
}

bool WindowKeyKnown(const std::string& key) {
  return Holds(kWindowKeys, key);
}

}  // namespace platform::qt
