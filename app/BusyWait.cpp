#include "app/BusyWait.h"

#include "platform/core/Runtime.h"

namespace tervix {

void BusyWait(int32_t ticks) {
  const int32_t start = platform::Ticks();
  while (platform::TicksSince(start) < ticks)
    platform::RuntimeBackgroundTask();
}

}  // namespace tervix
