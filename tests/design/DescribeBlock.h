#pragma once

#include <cstdio>
#include <string>
#include <variant>
#include <vector>

#include "platform/design/PropertyBlock.h"

namespace tervix::test {

// The entries of a decoded block, one "Key=value" a line, so that a mismatch
// prints as a diff: integers in decimal, booleans as true or false, strings in
// quotes, colours as #RRGGBB.
inline std::string Describe(const std::vector<platform::Property>& entries) {
  struct Value {
    std::string operator()(int32_t value) const { return std::to_string(value); }
    std::string operator()(bool value) const { return value ? "true" : "false"; }
    std::string operator()(const std::string& value) const { return '"' + value + '"'; }
    std::string operator()(const platform::Color& value) const {
      char text[8];
      std::snprintf(text, sizeof text, "#%02X%02X%02X", value.red, value.green, value.blue);
      return text;
    }
  };
  std::string lines;
  for (const platform::Property& entry : entries)
    lines += entry.key + "=" + std::visit(Value{}, entry.value) + "\n";
  return lines;
}

}  // namespace tervix::test
