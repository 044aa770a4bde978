#pragma once

#include <cstdint>

namespace tervix {

// Busy-waits the given number of ticks: reads Ticks once, then yields to the
// framework's background task once per pass while fewer ticks have passed.
void BusyWait(int32_t ticks);

}  // namespace tervix
