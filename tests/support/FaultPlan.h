#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace tervix::test {

// Thrown by the file system where a plan says the process stops, as a crash
// would: nothing after it runs, and what is on disk stays as it is.
struct SimulatedCrash {
  std::string operation;
};

// A file system that passes every call to the real one, except those a plan
// names: the Nth call (counted from 1) of an operation fails with an errno,
// writes fewer bytes than asked, or stops the flow as a crash.
// Operation names: "Open", "Close", "Read", "Write", "CopyFileRange", "Fsync",
// "Stat", "Lstat", "Fstat", "Rename", "Unlink", "Rmdir", "Mkdir", "Link".
class FaultPlan : public platform::FileSystem {
 public:
  void FailCall(const std::string& operation, int nth, int error);
  void ShortWrite(int nth);
  void CrashAt(const std::string& operation, int nth);
  // How many calls of the operation were made since installation.
  int Calls(const std::string& operation) const;

  // Installs a new plan as the process's file system; Uninstall() puts the real one back.
  static std::shared_ptr<FaultPlan> Install();
  static void Uninstall();
  int Open(const std::string& path, int flags, mode_t mode) override;
  int Close(int descriptor) override;
  ssize_t Read(int descriptor, void* buffer, size_t count) override;
  ssize_t Write(int descriptor, const void* buffer, size_t count) override;
  ssize_t CopyFileRange(int from, int to, size_t count) override;
  int Fsync(int descriptor) override;
  int Stat(const std::string& path, struct stat* status) override;
  int Lstat(const std::string& path, struct stat* status) override;
  int Fstat(int descriptor, struct stat* status) override;
  int Rename(const std::string& from, const std::string& to) override;
  int Unlink(const std::string& path) override;
  int Rmdir(const std::string& path) override;
  int Mkdir(const std::string& path, mode_t mode) override;
  int Link(const std::string& from, const std::string& to) override;

 private:
  struct Fault {
    enum class Kind { Fail, ShortWrite, Crash } kind;
    int error = 0;
  };
  // Counts the call; the fault to apply when the plan names this call, else nullptr.
  const Fault* Next(const std::string& operation);
  std::map<std::string, int> calls_;
  std::map<std::pair<std::string, int>, Fault> faults_;
};

}  // namespace tervix::test
