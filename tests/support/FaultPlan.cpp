#include "tests/support/FaultPlan.h"

#include <algorithm>
#include <cerrno>

namespace tervix::test {

int FaultPlan::Calls(Path operation) const {
  const auto found = calls_.find(operation);
  return found == calls_.end() ? 0 : found->second;
}

std::shared_ptr<FaultPlan> FaultPlan::Install() {
  auto plan = std::make_shared<FaultPlan>();
  platform::InstallFileSystem(plan);
  return plan;
}

void FaultPlan::Uninstall() {
  platform::InstallFileSystem(nullptr);
}

int FaultPlan::Fault(Path operation, Path changed, Path alsoChanged) {
  const auto found = faults_.find({operation, ++calls_[operation]});
  int fault = found == faults_.end() ? 0 : found->second;
  if (fault == kCrash)
    throw SimulatedCrash{operation};
  const auto inside = [&](Path folder) {
    return changed.starts_with(folder) || alsoChanged.starts_with(folder);
  };
  if (fault == 0 && std::any_of(readOnly_.begin(), readOnly_.end(), inside))
    fault = EACCES;
  if (fault > 0)
    errno = fault;
  return fault;
}

int FaultPlan::Close(int d) {
  const int fault = Fault("Close");
  // Like the system's close, a failed close still releases the descriptor.
  const int result = real_->Close(d);
  errno = fault > 0 ? fault : errno;
  return fault ? -1 : result;
}

ssize_t FaultPlan::Write(int d, const void* b, size_t n) {
  const int fault = Fault("Write");
  if (fault == kShortWrite)
    return real_->Write(d, b, n / 2);
  return fault ? -1 : real_->Write(d, b, n);
}

}  // namespace tervix::test
