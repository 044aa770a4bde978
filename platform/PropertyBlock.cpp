#include "platform/PropertyBlock.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <map>
#include <optional>
#include <string_view>

#include "platform/Exceptions.h"

namespace platform {
namespace {

enum class ValueType { Integer, Boolean, String, Colour };

struct KeyType {
  std::string_view key;
  ValueType type;
};

// What a block of one kind holds: every one of `keys`, in this order, and
// after them any of `extraKeys` that the design gives.
struct BlockKind {
  std::string_view name;
  std::vector<KeyType> keys;
  std::vector<KeyType> extraKeys;

  std::optional<ValueType> TypeOf(std::string_view key) const {
    for (const auto* table : {&keys, &extraKeys}) {
      auto found = std::find_if(table->begin(), table->end(),
                                [key](const KeyType& entry) { return entry.key == key; });
      if (found != table->end())
        return found->type;
    }
    return std::nullopt;
  }
  bool AlwaysHolds(std::string_view key) const {
    return std::any_of(keys.begin(), keys.end(),
                       [key](const KeyType& entry) { return entry.key == key; });
  }
};

constexpr ValueType kInteger = ValueType::Integer;
constexpr ValueType kBoolean = ValueType::Boolean;
constexpr ValueType kString = ValueType::String;
constexpr ValueType kColour = ValueType::Colour;

// The words of a space-separated list.
std::vector<std::string_view> Words(std::string_view list) {
  std::vector<std::string_view> words;
  while (!list.empty()) {
    const size_t blank = std::min(list.find(' '), list.size());
    if (blank > 0)
      words.push_back(list.substr(0, blank));
    list.remove_prefix(std::min(blank + 1, list.size()));
  }
  return words;
}

using TypeTable = std::map<std::string_view, ValueType>;

TypeTable Types(std::initializer_list<std::pair<ValueType, std::string_view>> listsByType) {
  TypeTable types;
  for (const auto& [type, list] : listsByType) {
    for (std::string_view key : Words(list))
      types.emplace(key, type);
  }
  return types;
}

BlockKind Kind(std::string_view name, const TypeTable& types, std::string_view order,
               std::string_view extraKeys = {}) {
  BlockKind kind{name, {}, {}};
  for (std::string_view key : Words(order))
    kind.keys.push_back({key, types.at(key)});
  for (std::string_view key : Words(extraKeys))
    kind.extraKeys.push_back({key, types.at(key)});
  return kind;
}

const BlockKind& WindowKind() {
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
           "Placement Width Height MinWidth MinHeight MaxWidth MaxHeight Frame Composite "
           "HasBackColor BackColor Title Visible FullScreen MenuBarVisible CloseButton Resizeable "
           "LiveResize MaximizeButton MinimizeButton MacProcID",
           "BalloonHelp");
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

const BlockKind& KindOf(ControlClass control) {
  static const BlockKind canvas =
      Kind("Canvas", ControlTypes(),
           "Name Index Left Top Width Height LockLeft LockTop LockRight LockBottom TabPanelIndex "
           "TabIndex Visible HelpTag AutoDeactivate Enabled UseFocusRing AcceptFocus AcceptTabs "
           "EraseBackground InitialParent");
  static const BlockKind editField =
      Kind("EditField", ControlTypes(),
           "Name Index Left Top Width Height LockLeft LockTop LockRight LockBottom TabPanelIndex "
           "TabIndex Border Multiline ScrollbarHorizontal ScrollbarVertical Styled Password "
           "UseFocusRing TextColor BackColor Enabled Format Visible HelpTag AutoDeactivate "
           "TextFont TextSize Bold Italic Underline Text Mask ReadOnly LimitText AcceptTabs "
           "Alignment DataSource DataField InitialParent");
  static const BlockKind staticText =
      Kind("StaticText", ControlTypes(),
           "Name Index Left Top Width Height LockLeft LockTop LockRight LockBottom TabPanelIndex "
           "TabIndex Text TextAlign TextColor Multiline Enabled Visible HelpTag AutoDeactivate "
           "TextFont TextSize Bold Italic Underline DataSource DataField InitialParent");
  static const BlockKind bevelButton =
      Kind("BevelButton", ControlTypes(),
           "Name Index Left Top Width Height LockLeft LockTop LockRight LockBottom TabPanelIndex "
           "TabIndex InitialParent Visible HelpTag AutoDeactivate Enabled Caption CaptionAlign "
           "CaptionPlacement CaptionDelta IconAlign IconDX IconDY Bevel HasMenu Value MenuValue "
           "ButtonType AcceptFocus TextFont TextSize Bold Italic Underline");
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

const BlockKind& KindNamed(const std::string& name) {
  if (name == WindowKind().name)
    return WindowKind();
  for (ControlClass control : {ControlClass::Canvas, ControlClass::EditField,
                               ControlClass::StaticText, ControlClass::BevelButton}) {
    if (name == KindOf(control).name)
      return KindOf(control);
  }
  throw RuntimeException("Property block for an unknown target kind \"" + name + "\"");
}

// The value of each key a block will hold, before the block is laid out.
using Values = std::map<std::string, PropertyValue, std::less<>>;

Values WindowDefaults() {
  return {{"MinWidth", 64},
          {"MinHeight", 64},
          {"MaxWidth", 32000},
          {"MaxHeight", 32000},
          {"Composite", false},
          {"HasBackColor", false},
          {"BackColor", Color{255, 255, 255}},
          {"Visible", true},
          {"FullScreen", false},
          {"MenuBarVisible", true},
          {"CloseButton", true},
          {"Resizeable", false},
          {"MaximizeButton", false},
          {"MacProcID", 0}};
}

Values ControlDefaults(ControlClass control) {
  Values values{{"Index", std::numeric_limits<int32_t>::min()},
                {"TabPanelIndex", 0},
                {"InitialParent", std::string()},
                {"HelpTag", std::string()},
                {"Visible", true},
                {"Enabled", true},
                {"AutoDeactivate", true},
                {"LockLeft", false},
                {"LockTop", false},
                {"LockRight", false},
                {"LockBottom", false}};
  auto add = [&values](const Values& more) { values.insert(more.begin(), more.end()); };
  if (control != ControlClass::Canvas) {
    add({{"TextFont", std::string("System")},
         {"TextSize", 0},
         {"Bold", false},
         {"Italic", false},
         {"Underline", false}});
  }
  if (control == ControlClass::EditField || control == ControlClass::StaticText) {
    add({{"DataSource", std::string()}, {"DataField", std::string()}});
  }
  const Color black{0, 0, 0};
  switch (control) {
    case ControlClass::Canvas:
      add({{"AcceptFocus", false}, {"AcceptTabs", false}, {"EraseBackground", true}});
      break;
    case ControlClass::EditField:
      add({{"Border", true},
           {"Multiline", false},
           {"ScrollbarHorizontal", false},
           {"ScrollbarVertical", true},
           {"Styled", false},
           {"Password", false},
           {"ReadOnly", false},
           {"UseFocusRing", true},
           {"TextColor", black},
           {"BackColor", Color{255, 255, 255}},
           {"Text", std::string()},
           {"Mask", std::string()},
           {"Format", std::string()},
           {"LimitText", 0},
           {"AcceptTabs", false},
           {"Alignment", 0}});
      break;
    case ControlClass::StaticText:
      add({{"Multiline", false}, {"TextColor", black}, {"TextAlign", 0}});
      break;
    case ControlClass::BevelButton:
      add({{"Bevel", 3},
           {"ButtonType", 0},
           {"CaptionAlign", 3},
           {"CaptionPlacement", 1},
           {"CaptionDelta", 0},
           {"IconAlign", 0},
           {"IconDX", 0},
           {"IconDY", 0},
           {"HasMenu", 0},
           {"MenuValue", 0},
           {"Value", false},
           {"AcceptFocus", false}});
      break;
  }
  return values;
}

ValueType TypeOfValue(const PropertyValue& value) {
  // In the order of PropertyValue's alternatives.
  constexpr ValueType kByIndex[] = {kInteger, kBoolean, kString, kColour};
  return kByIndex[value.index()];
}

// Sets a design's differing value, after checking that its kind of block has
// that key and that the value has the key's type.
void Override(Values& values, const BlockKind& kind, const Property& property,
              const std::string& designName) {
  std::optional<ValueType> type = kind.TypeOf(property.key);
  if (!type) {
    throw RuntimeException("The design of " + designName + " sets \"" + property.key +
                           "\", which no " + std::string(kind.name) + " block holds");
  }
  if (*type != TypeOfValue(property.value)) {
    throw RuntimeException("The design of " + designName + " gives \"" + property.key +
                           "\" a value of the wrong type");
  }
  values.insert_or_assign(property.key, property.value);
}

void AppendUnsigned32(std::string& block, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    block.push_back(static_cast<char>((value >> shift) & 0xFF));
  }
}

struct ValueWriter {
  std::string& block;
  void operator()(int32_t value) const { AppendUnsigned32(block, static_cast<uint32_t>(value)); }
  void operator()(bool value) const { block.push_back(value ? '\x01' : '\x00'); }
  void operator()(const std::string& value) const {
    if (value.size() > std::numeric_limits<uint32_t>::max()) {
      throw RuntimeException("A design string is too long for a property block");
    }
    AppendUnsigned32(block, static_cast<uint32_t>(value.size()));
    block += value;
  }
  void operator()(const Color& value) const {
    block.push_back(static_cast<char>(value.red));
    block.push_back(static_cast<char>(value.green));
    block.push_back(static_cast<char>(value.blue));
  }
};

void AppendEntry(std::string& block, const Values& values, std::string_view key,
                 const std::string& designName) {
  auto found = values.find(key);
  if (found == values.end()) {
    throw RuntimeException("The design of " + designName + " gives no value for \"" +
                           std::string(key) + "\"");
  }
  block += key;
  block.push_back(' ');
  std::visit(ValueWriter{block}, found->second);
}

// Reads the entries of one block, front to back; every fault names the byte
// where it lies.
class BlockReader {
 public:
  BlockReader(const std::string& block, const BlockKind& kind) : block_(block), kind_(kind) {}

  bool AtEnd() const { return position_ == block_.size(); }

  Property Entry() {
    const size_t start = position_;
    const size_t blank = block_.find(' ', start);
    if (blank == std::string::npos)
      Fail("ends inside the key at byte " + std::to_string(start));
    std::string key = block_.substr(start, blank - start);
    if (!IsKey(key))
      Fail("has a malformed key at byte " + std::to_string(start));
    std::optional<ValueType> type = kind_.TypeOf(key);
    if (!type)
      Fail("has the unknown key \"" + key + "\" at byte " + std::to_string(start));
    position_ = blank + 1;
    return {key, Value(key, *type)};
  }

 private:
  static bool IsKey(const std::string& key) {
    auto isAsciiAlnum = [](char c) {
      return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    };
    return !key.empty() && !(key[0] >= '0' && key[0] <= '9') &&
           std::all_of(key.begin(), key.end(), isAsciiAlnum);
  }

  PropertyValue Value(const std::string& key, ValueType type) {
    switch (type) {
      case ValueType::Integer:
        return static_cast<int32_t>(Unsigned32(key));
      case ValueType::Boolean: {
        const auto byte = static_cast<unsigned char>(Bytes(key, 1)[0]);
        if (byte > 1)
          Fail("gives \"" + key + "\" the boolean byte " + std::to_string(byte));
        return byte == 1;
      }
      case ValueType::String: {
        const uint32_t count = Unsigned32(key);
        return std::string(Bytes(key, count));
      }
      case ValueType::Colour: {
        const std::string_view rgb = Bytes(key, 3);
        return Color{static_cast<uint8_t>(rgb[0]), static_cast<uint8_t>(rgb[1]),
                     static_cast<uint8_t>(rgb[2])};
      }
    }
    Fail("has a key of no known type");
  }

  uint32_t Unsigned32(const std::string& key) {
    const std::string_view bytes = Bytes(key, 4);
    uint32_t value = 0;
    for (char byte : bytes)
      value = (value << 8) | static_cast<unsigned char>(byte);
    return value;
  }

  // The next count bytes of the value of key, which the reader then passes.
  std::string_view Bytes(const std::string& key, size_t count) {
    const size_t left = block_.size() - position_;
    if (count > left) {
      Fail("ends inside the value of \"" + key + "\" at byte " + std::to_string(position_) +
           ": it needs " + std::to_string(count) + " bytes and " + std::to_string(left) +
           " are left");
    }
    const std::string_view bytes(block_.data() + position_, count);
    position_ += count;
    return bytes;
  }

  [[noreturn]] void Fail(const std::string& what) const {
    throw RuntimeException("The " + std::string(kind_.name) + " property block " + what);
  }

  const std::string& block_;
  const BlockKind& kind_;
  size_t position_ = 0;
};

}  // namespace

std::string ControlClassName(ControlClass kind) {
  return std::string(KindOf(kind).name);
}

std::string EncodeWindowBlock(const WindowDesign& design) {
  const BlockKind& kind = WindowKind();
  const std::string designName = "window \"" + design.title + "\"";
  Values values = WindowDefaults();
  values.insert_or_assign("Placement", design.placement);
  values.insert_or_assign("Width", design.width);
  values.insert_or_assign("Height", design.height);
  values.insert_or_assign("Frame", design.frame);
  values.insert_or_assign("Title", design.title);
  values.insert_or_assign("LiveResize", design.liveResize);
  values.insert_or_assign("MinimizeButton", design.minimizeButton);
  std::vector<std::string> extraKeys;
  for (const Property& property : design.differs) {
    Override(values, kind, property, designName);
    if (!kind.AlwaysHolds(property.key) &&
        std::find(extraKeys.begin(), extraKeys.end(), property.key) == extraKeys.end()) {
      extraKeys.push_back(property.key);
    }
  }
  std::string block;
  for (const KeyType& entry : kind.keys)
    AppendEntry(block, values, entry.key, designName);
  for (const std::string& key : extraKeys)
    AppendEntry(block, values, key, designName);
  return block;
}

std::string EncodeControlBlock(const ControlDesign& design, KeyOrder order) {
  const BlockKind& kind = KindOf(design.kind);
  const std::string designName = "control \"" + design.name + "\"";
  Values values = ControlDefaults(design.kind);
  values.insert_or_assign("Name", design.name);
  values.insert_or_assign("Left", design.left);
  values.insert_or_assign("Top", design.top);
  values.insert_or_assign("Width", design.width);
  values.insert_or_assign("Height", design.height);
  values.insert_or_assign("TabIndex", design.tabIndex);
  switch (design.kind) {
    case ControlClass::Canvas:
      if (!design.text.empty()) {
        throw RuntimeException("The design of " + designName + " gives a canvas a text");
      }
      break;
    case ControlClass::EditField:
    case ControlClass::StaticText:
      values.insert_or_assign("Text", design.text);
      break;
    case ControlClass::BevelButton:
      values.insert_or_assign("Caption", design.text);
      break;
  }
  for (const Property& property : design.differs)
    Override(values, kind, property, designName);
  std::string block;
  if (order == KeyOrder::Forward) {
    for (const KeyType& entry : kind.keys)
      AppendEntry(block, values, entry.key, designName);
  } else {
    for (auto entry = kind.keys.rbegin(); entry != kind.keys.rend(); ++entry) {
      AppendEntry(block, values, entry->key, designName);
    }
  }
  return block;
}

std::vector<Property> DecodeBlock(const std::string& block, const std::string& targetKind) {
  BlockReader reader(block, KindNamed(targetKind));
  std::vector<Property> entries;
  while (!reader.AtEnd())
    entries.push_back(reader.Entry());
  return entries;
}

}  // namespace platform
