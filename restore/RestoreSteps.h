#pragma once

#include <cstdint>
#include <string>

#include "platform/ui/Window.h"

// The steps that the restore window's two buttons share.
namespace tervix::RestoreSteps {

// The last line both buttons write before the return to the login window.
inline constexpr const char* kPleaseWait = "Please wait...";

// Adds one piece of text at the end of the window's terminal.
void AppendToTerminal(const platform::Window& window, const std::string& text);
void Disable(const platform::Window& window, const std::string& buttonName);
// Repaints the pressed button, waits the given ticks, closes the restore
// window and shows a new login window.
void ReturnToLogin(const platform::Window& window, const std::string& pressedButton, int32_t ticks);

}  // namespace tervix::RestoreSteps
