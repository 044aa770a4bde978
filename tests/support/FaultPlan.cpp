#include "tests/support/FaultPlan.h"

#include <algorithm>
#include <cerrno>

namespace tervix::test {

std::shared_ptr<FaultPlan> FaultPlan::Install() {
  auto plan = std::make_shared<FaultPlan>();
  platform::InstallFileSystem(plan);
  return plan;
}

int FaultPlan::Fault(Path operation, Path changed, Path alsoChanged) {
  int fault = faults_[{operation, ++calls_[operation]}];
  if (fault == kCrash)
    throw SimulatedCrash{operation};
  const auto inside = [&](Path folder) {
    return changed.starts_with(folder) || alsoChanged.starts_with(folder);
  };
  if (fault == 0 && std::ranges::any_of(readOnly_, inside))
    fault = EACCES;
  if (fault > 0)
    errno = fault;
  return fault;
}

// Like the system's close, a failed close still releases the descriptor.
int FaultPlan::Close(int d) {
  const int result = real_->Close(d);
  return Fault("Close") ? -1 : result;
}

ssize_t FaultPlan::Write(int d, const void* b, size_t n) {
  const int fault = Fault("Write");
  return fault > 0 ? -1 : real_->Write(d, b, fault == kShortWrite ? n / 2 : n);
}

}  // namespace tervix::test
