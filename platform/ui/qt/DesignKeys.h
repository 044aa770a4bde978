#pragma once

#include <string>

#include "platform/core/Exceptions.h"
#include "platform/design/PropertyBlock.h"

namespace platform::qt {

// Whether design blocks of that kind of control hold the key.
bool ControlKeyKnown(ControlClass kind, const std::string& key);
// Whether window design blocks hold the key.
bool WindowKeyKnown(const std::string& key);

// The design value as the type its key needs; a value of another type throws.
template <class T>
const T& ValueAs(const std::string& key, const PropertyValue& value) {
  if (const T* typed = std::get_if<T>(&value))
    return *typed;
  throw RuntimeException("The property " + key + " was given a value of the wrong type");
}

}  // namespace platform::qt
