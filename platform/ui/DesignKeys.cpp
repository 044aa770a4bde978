#include "platform/ui/qt/DesignKeys.h"

#include "platform/design/BlockKinds.h"

namespace platform::qt {

bool ControlKeyKnown(ControlClass kind, const std::string& key) {
  return ControlBlockKind(kind).TypeOf(key).has_value();
}

bool WindowKeyKnown(const std::string& key) {
  return WindowBlockKind().TypeOf(key).has_value();
}

}  // namespace platform::qt
