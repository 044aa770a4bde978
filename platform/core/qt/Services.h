#pragma once

#include <memory>
#include <string>

#include "platform/core/Seams.h"

// The services in use: what a test installed, else the real ones.
namespace platform::qt {

TickClock& CurrentTickClock();
DialogHost& CurrentDialogHost();
// The path of the application's resource file.
std::string ResourceFilePath();

// The real services.
std::shared_ptr<TickClock> NewRealTickClock();
std::shared_ptr<DialogHost> NewRealDialogHost();

}  // namespace platform::qt
