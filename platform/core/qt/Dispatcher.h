#pragma once

#include <functional>
#include <memory>

namespace platform {
class Window;
class RectControl;
}  // namespace platform

namespace platform::qt {

// Every Qt signal or event that reaches a program handler comes through here.
// The window and control are held for the whole call, so a window that closes
// itself from its own handler stays valid until the handler returns. An
// exception that leaves the handler is kept for TakeHandlerException (Qt is
// not exception safe) and ends the event loop. When the outermost handler
// returns, a pending quit ends the loop, and so does having no window open.
void Dispatch(std::shared_ptr<Window> window, std::shared_ptr<RectControl> control,
              const std::function<void()>& handler);

}  // namespace platform::qt
