#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/files/DesktopLaunch.h"

// The services the framework takes from its surroundings. The application uses
// the real ones; a test installs its own before it starts the runtime. The
// launch service belongs to the file layer, which includes it.
namespace platform {

// The tick counter and the busy-wait yield.
class TickClock {
 public:
  virtual ~TickClock() = default;
  // Sixtieths of a second since some fixed start, wrapping as a signed 32-bit number.
  virtual int32_t Ticks() = 0;
  // One yield of a busy wait: serves paint and timer events, never user
  // input, and blocks up to one tick waiting for them.
  virtual void BackgroundTask() = 0;
};

// Answers the modal dialogs.
class DialogHost {
 public:
  virtual ~DialogHost() = default;
  // The chosen file's shell path, or nothing when the user cancels.
  virtual std::optional<std::string> ChooseFile(const std::string& title,
                                                const std::string& initialDirectory) = 0;
  // Shows a message box; returns the button pressed (1 for OK).
  virtual int ShowMessage(const std::string& text, int style, const std::string& title) = 0;
};

// nullptr puts the real service back.
void InstallTickClock(std::shared_ptr<TickClock> clock);
void InstallDialogHost(std::shared_ptr<DialogHost> host);
// The application's resource file; by default "tervix.rcc" beside the executable.
void SetResourceFilePath(std::string path);

}  // namespace platform
