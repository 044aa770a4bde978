#pragma once

#include <fcntl.h>

#include <map>
#include <vector>

#include "platform/files/FileSystem.h"

namespace tervix::test {

// Thrown by the file system where a plan says the process stops, as a crash
// would: nothing after it runs, and what is on disk stays as it is.
struct SimulatedCrash {
  std::string operation;
};

// A file system that passes every call to the real one, except those a plan
// names: the Nth call (counted from 1) of an operation fails with an errno,
// writes fewer bytes than asked, or stops the flow as a crash.
// Operations are named as the interface's calls ("Open", "Write", "Rename", ...).
class FaultPlan : public platform::FileSystem {
 public:
  using Path = const std::string&;

  void FailCall(Path operation, int nth, int error) { faults_[{operation, nth}] = error; }
  void ShortWrite(int nth) { faults_[{"Write", nth}] = kShortWrite; }
  void CrashAt(Path operation, int nth) { faults_[{operation, nth}] = kCrash; }
  // Whatever would create, change, rename or remove something inside the
  // folder fails with EACCES, as for a player without write permission there.
  void ReadOnly(Path folder) { readOnly_.push_back(folder.ends_with('/') ? folder : folder + "/"); }
  // How many calls of the operation were made since installation.
  int Calls(Path operation) const { return calls_.contains(operation) ? calls_.at(operation) : 0; }
  // The same for every operation called.
  const std::map<std::string, int>& AllCalls() const { return calls_; }

  // Installs a new plan as the process's file system; Uninstall() puts the real one back.
  static std::shared_ptr<FaultPlan> Install();
  static void Uninstall() { platform::InstallFileSystem(nullptr); }

  int Open(Path p, int flags, mode_t m) override {
    const bool changes = (flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC)) != 0;
    return Fault("Open", changes ? p : "") ? -1 : real_->Open(p, flags, m);
  }
  int Close(int d) override;
  ssize_t Read(int d, void* b, size_t n) override {
    return Fault("Read") ? -1 : real_->Read(d, b, n);
  }
  ssize_t Write(int d, const void* b, size_t n) override;
  ssize_t CopyFileRange(int from, int to, size_t n) override {
    return Fault("CopyFileRange") ? -1 : real_->CopyFileRange(from, to, n);
  }
  int Fsync(int d) override { return Fault("Fsync") ? -1 : real_->Fsync(d); }
  int Fchmod(int d, mode_t m) override { return Fault("Fchmod") ? -1 : real_->Fchmod(d, m); }
  int Stat(Path p, struct stat* s) override { return Fault("Stat") ? -1 : real_->Stat(p, s); }
  int Lstat(Path p, struct stat* s) override { return Fault("Lstat") ? -1 : real_->Lstat(p, s); }
  int Fstat(int d, struct stat* s) override { return Fault("Fstat") ? -1 : real_->Fstat(d, s); }
  int Rename(Path from, Path to) override {
    return Fault("Rename", from, to) ? -1 : real_->Rename(from, to);
  }
  int Unlink(Path p) override { return Fault("Unlink", p) ? -1 : real_->Unlink(p); }
  int Rmdir(Path p) override { return Fault("Rmdir", p) ? -1 : real_->Rmdir(p); }
  int Mkdir(Path p, mode_t m) override { return Fault("Mkdir", p) ? -1 : real_->Mkdir(p, m); }
  int Link(Path from, Path to) override { return Fault("Link", to) ? -1 : real_->Link(from, to); }
  int OpenTemporary(Path folder, mode_t m) override {
    return Fault("OpenTemporary", folder + "/") ? -1 : real_->OpenTemporary(folder, m);
  }
  int LinkAt(int d, Path to) override { return Fault("LinkAt", to) ? -1 : real_->LinkAt(d, to); }
  int ClearNonBlocking(int d) override {
    return Fault("ClearNonBlocking") ? -1 : real_->ClearNonBlocking(d);
  }

 private:
  enum : int { kShortWrite = -1, kCrash = -2 };
  // Counts the call and gives the planned fault: 0 for none, else an errno
  // (set) or kShortWrite. Throws SimulatedCrash where the plan stops the flow.
  int Fault(Path operation, Path changed = "", Path alsoChanged = "");
  std::shared_ptr<platform::FileSystem> real_ = platform::RealFileSystem();
  std::map<std::string, int> calls_;
  std::map<std::pair<std::string, int>, int> faults_;
  std::vector<std::string> readOnly_;
};

}  // namespace tervix::test
