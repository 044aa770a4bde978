#pragma once

#include <memory>

#include "platform/ui/Picture.h"

namespace tervix {

// The banner of the login and restore windows: picture resource 168, cached.
std::shared_ptr<platform::Picture> tervix_logo1();
// The about box icon: picture resource 169, cached.
std::shared_ptr<platform::Picture> tervix_logo4();

// Shutdown: release the two caches.
void tervix_logo1_permapicExit();
void tervix_logo4_permapicExit();

}  // namespace tervix
