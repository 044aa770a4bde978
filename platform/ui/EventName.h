#pragma once

#include <string_view>

namespace platform {

// The name of an event a control or window can raise. Only the framework's
// own event names compile: a misspelt name is a build error.
class EventName {
 public:
  consteval EventName(const char* name) : name_(name) {  // NOLINT: built from a literal
    if (!IsKnown(name_))
      throw "unknown event name";
  }
  std::string_view View() const { return name_; }
  bool operator==(const EventName&) const = default;

 private:
  static constexpr bool IsKnown(std::string_view name) {
    return name == "Open" || name == "Action" || name == "LostFocus" || name == "MouseDown" ||
           name == "EnableMenuItems";
  }
  std::string_view name_;
};

}  // namespace platform
