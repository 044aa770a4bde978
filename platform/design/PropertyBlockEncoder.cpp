#include "platform/design/PropertyBlock.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>
#include <variant>

#include "platform/core/Exceptions.h"
#include "platform/design/BlockDefaults.h"
#include "platform/design/BlockKinds.h"

namespace platform {
namespace {

ValueType TypeOfValue(const PropertyValue& value) {
  // In the order of PropertyValue's alternatives.
  constexpr ValueType kByIndex[] = {ValueType::Integer, ValueType::Boolean, ValueType::String,
                                    ValueType::Colour};
  return kByIndex[value.index()];
}

// Sets a design's differing value, after checking that its kind of block has
// that key and that the value has the key's type.
void Override(BlockValues& values, const BlockKind& kind, const Property& property,
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

void AppendEntry(std::string& block, const BlockValues& values, std::string_view key,
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

}  // namespace

std::string EncodeWindowBlock(const WindowDesign& design) {
  const BlockKind& kind = WindowBlockKind();
  const std::string designName = "window \"" + design.title + "\"";
  BlockValues values = WindowDefaults();
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
  const BlockKind& kind = ControlBlockKind(design.kind);
  const std::string designName = "control \"" + design.name + "\"";
  BlockValues values = ControlDefaults(design.kind);
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

}  // namespace platform
