#pragma once

// Framework-internal: the handler lists of the application and of windows.

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform {

// Handlers bound by name, in the order each name was first bound.
template <class Handler>
using NamedHandlers = std::vector<std::pair<std::string, Handler>>;

// Binds the handler to the name; a later binding of the name replaces the earlier one.
template <class Handler>
void BindHandler(NamedHandlers<Handler>& handlers, const std::string& name, Handler handler) {
  for (auto& [bound, existing] : handlers) {
    if (bound == name) {
      existing = std::move(handler);
      return;
    }
  }
  handlers.emplace_back(name, std::move(handler));
}

// A copy of the handler bound to the name, so that the handler may rebind the
// name while it runs; nothing when the name is not bound.
template <class Handler>
std::optional<Handler> BoundHandler(const NamedHandlers<Handler>& handlers,
                                    const std::string& name) {
  for (const auto& [bound, handler] : handlers) {
    if (bound == name)
      return handler;
  }
  return std::nullopt;
}

}  // namespace platform
