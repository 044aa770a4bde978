#pragma once

#include <string>

#include "platform/PropertyBlock.h"

namespace platform::qt {

// Whether design blocks of that kind of control hold the key.
bool ControlKeyKnown(ControlClass kind, const std::string& key);
// Whether window design blocks hold the key.
bool WindowKeyKnown(const std::string& key);

}  // namespace platform::qt
