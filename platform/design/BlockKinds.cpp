#include "platform/design/BlockKinds.h"

#include <algorithm>
#include <initializer_list>
#include <map>
#include <utility>

#include "platform/core/Exceptions.h"

namespace platform {
namespace {

constexpr ValueType kInteger = ValueType::Integer;
constexpr ValueType kBoolean = ValueType::Boolean;
constexpr ValueType kString = ValueType::String;
constexpr ValueType kColour = ValueType::Colour;

// Every control block starts with these keys, in this order.
constexpr std::string_view kControlLeadKeys =
    "Name Index Left Top Width Height LockLeft LockTop LockRight LockBottom TabPanelIndex "
    "TabIndex";

// The words of space-separated lists, list after list.
std::vector<std::string_view> Words(std::initializer_list<std::string_view> lists) {
  std::vector<std::string_view> words;
  for (std::string_view list : lists) {
    while (!list.empty()) {
      const size_t blank = std::min(list.find(' '), list.size());
      if (blank > 0)
        words.push_back(list.substr(0, blank));
      list.remove_prefix(std::min(blank + 1, list.size()));
    }
  }
  return words;
}

using TypeTable = std::map<std::string_view, ValueType>;

TypeTable Types(std::initializer_list<std::pair<ValueType, std::string_view>> listsByType) {
  TypeTable types;
  for (const auto& [type, list] : listsByType) {
    for (std::string_view key : Words({list}))
      types.emplace(key, type);
  }
  return types;
}

BlockKind Kind(std::string_view name, const TypeTable& types,
               std::initializer_list<std::string_view> order, std::string_view extraKeys = {}) {
  BlockKind kind{name, {}, {}};
  for (std::string_view key : Words(order))
    kind.keys.push_back({key, types.at(key)});
  for (std::string_view key : Words({extraKeys}))
    kind.extraKeys.push_back({key, types.at(key)});
  return kind;
}

const TypeTable& ControlTypes() {
  static const TypeTable types = Types({
      {kInteger,
       "Index Left Top Width Height TabPanelIndex TabIndex TextSize LimitText Alignment "
       "TextAlign CaptionAlign CaptionPlacement CaptionDelta IconAlign IconDX IconDY Bevel "
       "HasMenu MenuValue ButtonType"},
      {kBoolean,
       "LockLeft LockTop LockRight LockBottom Visible AutoDeactivate Enabled UseFocusRing "
       "AcceptFocus AcceptTabs EraseBackground Border Multiline ScrollbarHorizontal "
       "ScrollbarVertical Styled Password ReadOnly Bold Italic Underline Value"},
      {kString,
       "Name HelpTag InitialParent TextFont Text Caption Format Mask DataSource DataField"},
      {kColour, "TextColor BackColor"},
  });
  return types;
}

}  // namespace

std::optional<ValueType> BlockKind::TypeOf(std::string_view key) const {
  for (const auto* table : {&keys, &extraKeys}) {
    auto found = std::find_if(table->begin(), table->end(),
                              [key](const KeyType& entry) { return entry.key == key; });
    if (found != table->end())
      return found->type;
  }
  return std::nullopt;
}

bool BlockKind::AlwaysHolds(std::string_view key) const {
  return std::any_of(keys.begin(), keys.end(),
                     [key](const KeyType& entry) { return entry.key == key; });
}

const BlockKind& WindowBlockKind() {
  static const TypeTable types = Types({
      {kInteger, "Placement Width Height MinWidth MinHeight MaxWidth MaxHeight Frame MacProcID"},
      {kBoolean,
       "Composite HasBackColor Visible FullScreen MenuBarVisible CloseButton Resizeable "
       "LiveResize MaximizeButton MinimizeButton"},
      {kString, "Title BalloonHelp"},
      {kColour, "BackColor"},
  });
  static const BlockKind kind =
      Kind("Window", types,
           {"Placement Width Height MinWidth MinHeight MaxWidth MaxHeight Frame Composite "
            "HasBackColor BackColor Title Visible FullScreen MenuBarVisible CloseButton "
            "Resizeable LiveResize MaximizeButton MinimizeButton MacProcID"},
           "BalloonHelp");
  return kind;
}

const BlockKind& ControlBlockKind(ControlClass control) {
  static const BlockKind canvas =
      Kind("Canvas", ControlTypes(),
           {kControlLeadKeys,
            "Visible HelpTag AutoDeactivate Enabled UseFocusRing AcceptFocus AcceptTabs "
            "EraseBackground InitialParent"});
  static const BlockKind editField =
      Kind("EditField", ControlTypes(),
           {kControlLeadKeys,
            "Border Multiline ScrollbarHorizontal ScrollbarVertical Styled Password "
            "UseFocusRing TextColor BackColor Enabled Format Visible HelpTag AutoDeactivate "
            "TextFont TextSize Bold Italic Underline Text Mask ReadOnly LimitText AcceptTabs "
            "Alignment DataSource DataField InitialParent"});
  static const BlockKind staticText =
      Kind("StaticText", ControlTypes(),
           {kControlLeadKeys,
            "Text TextAlign TextColor Multiline Enabled Visible HelpTag AutoDeactivate "
            "TextFont TextSize Bold Italic Underline DataSource DataField InitialParent"});
  static const BlockKind bevelButton =
      Kind("BevelButton", ControlTypes(),
           {kControlLeadKeys,
            "InitialParent Visible HelpTag AutoDeactivate Enabled Caption CaptionAlign "
            "CaptionPlacement CaptionDelta IconAlign IconDX IconDY Bevel HasMenu Value "
            "MenuValue ButtonType AcceptFocus TextFont TextSize Bold Italic Underline"});
  switch (control) {
    case ControlClass::Canvas:
      return canvas;
    case ControlClass::EditField:
      return editField;
    case ControlClass::StaticText:
      return staticText;
    case ControlClass::BevelButton:
      return bevelButton;
  }
  throw RuntimeException("Unknown control class in a design");
}

const BlockKind& BlockKindNamed(const std::string& name) {
  if (name == WindowBlockKind().name)
    return WindowBlockKind();
  for (ControlClass control : {ControlClass::Canvas, ControlClass::EditField,
                               ControlClass::StaticText, ControlClass::BevelButton}) {
    if (name == ControlBlockKind(control).name)
      return ControlBlockKind(control);
  }
  throw RuntimeException("Property block for an unknown target kind \"" + name + "\"");
}

std::string ControlClassName(ControlClass kind) {
  return std::string(ControlBlockKind(kind).name);
}

}  // namespace platform
