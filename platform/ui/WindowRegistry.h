#pragma once

// Framework-internal: how a window enters and leaves the window lists.

#include <cstdint>
#include <memory>

namespace platform {

class Window;

// Enters a window being built into the registry under its run-time class
// name and into the list of windows.
void RegisterWindow(const std::shared_ptr<Window>& window);
// Takes a closing window out of the list of windows, and out of the registry
// when the entry of its run-time class name holds it.
void ForgetWindow(const Window& window);
// Numbers the windows in the order they are shown, so that the front one is known.
uint64_t NextShownOrder();

}  // namespace platform
