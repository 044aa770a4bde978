#include "platform/design/PropertyBlock.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/core/Exceptions.h"
#include "platform/design/BlockKinds.h"

namespace platform {
namespace {

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

std::vector<Property> DecodeBlock(const std::string& block, const std::string& targetKind) {
  BlockReader reader(block, BlockKindNamed(targetKind));
  std::vector<Property> entries;
  while (!reader.AtEnd())
    entries.push_back(reader.Entry());
  return entries;
}

}  // namespace platform
