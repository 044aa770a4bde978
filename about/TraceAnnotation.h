#pragma once

#include <string>

#include "platform/core/Exceptions.h"
#include "platform/core/Values.h"

namespace tervix {

// Runs body; a runtime exception that leaves it gets a carriage return and the
// trace name appended to its message and is thrown on as the same object, so
// whoever handles it can tell which handler it came through. Other exceptions
// pass unchanged.
template <class Body>
auto WithTraceName(const std::string& traceName, Body&& body) -> decltype(body()) {
  try {
    return body();
  } catch (platform::RuntimeException& e) {
    e.SetMessage(e.Message() + platform::Chr(13) + traceName);
    throw;
  }
}

}  // namespace tervix
