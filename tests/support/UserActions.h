#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/core/Exceptions.h"
#include "platform/ui/Window.h"

// Player actions on the real widgets, so that the framework's own event path raises the handlers.
namespace tervix::test {

// A mouse click on a button or canvas (a disabled control ignores it).
void Click(platform::Window& window, const std::string& controlName);
// Gives an edit field the keyboard focus, then types text into it at its end.
void Type(platform::Window& window, const std::string& controlName, const std::string& text);
// Moves the keyboard focus to the named control, as a click into it would.
void Focus(platform::Window& window, const std::string& controlName);
void ChooseMenu(const std::string& itemName);
void CloseBox(platform::Window& window);
// Chooses the file at the path in the next toolkit open-file dialog, or cancels when there is none.
void AnswerOpenFileDialog(std::optional<std::string> path);
const std::vector<std::string>& AnsweredOpenFileDialogs();
void ProcessEvents();
inline platform::Window& Shown(const std::string& runtimeClassName) {
  return platform::NotNil(platform::GetImplicitWindow(runtimeClassName));
}

}  // namespace tervix::test
