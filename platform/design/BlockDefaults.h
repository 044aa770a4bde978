#pragma once

// Framework-internal: the values a design leaves unsaid.

#include <functional>
#include <map>
#include <string>

#include "platform/design/PropertyBlock.h"

namespace platform {

// The value of each key a block will hold, before the block is laid out.
using BlockValues = std::map<std::string, PropertyValue, std::less<>>;

// The values every window shares until its design says otherwise.
BlockValues WindowDefaults();
// The values every control of the class shares until its design says otherwise.
BlockValues ControlDefaults(ControlClass control);

}  // namespace platform
