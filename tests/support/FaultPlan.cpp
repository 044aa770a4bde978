#include "tests/support/FaultPlan.h"

#include <cerrno>

namespace tervix::test {
namespace {

platform::FileSystem& Real() {
  return *platform::RealFileSystem();
}

}  // namespace

void FaultPlan::FailCall(const std::string& operation, int nth, int error) {
  faults_[{operation, nth}] = Fault{Fault::Kind::Fail, error};
}

void FaultPlan::ShortWrite(int nth) {
  faults_[{"Write", nth}] = Fault{Fault::Kind::ShortWrite};
}

void FaultPlan::CrashAt(const std::string& operation, int nth) {
  faults_[{operation, nth}] = Fault{Fault::Kind::Crash};
}

int FaultPlan::Calls(const std::string& operation) const {
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

const FaultPlan::Fault* FaultPlan::Next(const std::string& operation) {
  const int nth = ++calls_[operation];
  const auto found = faults_.find({operation, nth});
  if (found == faults_.end())
    return nullptr;
  if (found->second.kind == Fault::Kind::Crash)
    throw SimulatedCrash{operation};
  errno = found->second.error;
  return &found->second;
}

int FaultPlan::Open(const std::string& path, int flags, mode_t mode) {
  return Next("Open") ? -1 : Real().Open(path, flags, mode);
}

int FaultPlan::Close(int descriptor) {
  if (Next("Close")) {
    // Like the system's close, a failed close still releases the descriptor.
    const int error = errno;
    Real().Close(descriptor);
    errno = error;
    return -1;
  }
  return Real().Close(descriptor);
}

ssize_t FaultPlan::Read(int descriptor, void* buffer, size_t count) {
  return Next("Read") ? -1 : Real().Read(descriptor, buffer, count);
}

ssize_t FaultPlan::Write(int descriptor, const void* buffer, size_t count) {
  const Fault* fault = Next("Write");
  if (!fault)
    return Real().Write(descriptor, buffer, count);
  if (fault->kind == Fault::Kind::ShortWrite)
    return Real().Write(descriptor, buffer, count / 2);
  return -1;
}

ssize_t FaultPlan::CopyFileRange(int from, int to, size_t count) {
  return Next("CopyFileRange") ? -1 : Real().CopyFileRange(from, to, count);
}

int FaultPlan::Fsync(int descriptor) {
  return Next("Fsync") ? -1 : Real().Fsync(descriptor);
}

int FaultPlan::Stat(const std::string& path, struct stat* status) {
  return Next("Stat") ? -1 : Real().Stat(path, status);
}

int FaultPlan::Lstat(const std::string& path, struct stat* status) {
  return Next("Lstat") ? -1 : Real().Lstat(path, status);
}

int FaultPlan::Fstat(int descriptor, struct stat* status) {
  return Next("Fstat") ? -1 : Real().Fstat(descriptor, status);
}

int FaultPlan::Rename(const std::string& from, const std::string& to) {
  return Next("Rename") ? -1 : Real().Rename(from, to);
}

int FaultPlan::Unlink(const std::string& path) {
  return Next("Unlink") ? -1 : Real().Unlink(path);
}

int FaultPlan::Rmdir(const std::string& path) {
  return Next("Rmdir") ? -1 : Real().Rmdir(path);
}

int FaultPlan::Mkdir(const std::string& path, mode_t mode) {
  return Next("Mkdir") ? -1 : Real().Mkdir(path, mode);
}

int FaultPlan::Link(const std::string& from, const std::string& to) {
  return Next("Link") ? -1 : Real().Link(from, to);
}

}  // namespace tervix::test
