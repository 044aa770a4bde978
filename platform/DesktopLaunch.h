#pragma once

#include "platform/Seams.h"

namespace platform {

// The installed launch service: the desktop's own unless a test installed another.
LaunchService& CurrentLaunchService();

}  // namespace platform
