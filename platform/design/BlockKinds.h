#pragma once

// Framework-internal: the keys each kind of property block holds, and their types.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/design/PropertyBlock.h"

namespace platform {

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

  // The type of the key's value; nothing when no block of this kind holds the key.
  std::optional<ValueType> TypeOf(std::string_view key) const;
  bool AlwaysHolds(std::string_view key) const;
};

const BlockKind& WindowBlockKind();
const BlockKind& ControlBlockKind(ControlClass control);
// The kind a block names as its target: "Window" or a control class name.
const BlockKind& BlockKindNamed(const std::string& name);

}  // namespace platform
