#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <map>
#include <set>
#include <span>
#include <vector>

#include "platform/files/FileSystem.h"

namespace tervix::test {

// Thrown by the file system where a plan says the process stops, as a crash
// would: nothing after it runs, and what is on disk stays as it is.
struct SimulatedCrash {
  std::string operation;
};

// A call that wrote, flushed, named or renamed a file, which the inode names
// under any name or none.
struct JournalEntry {
  std::string operation, path, to;
  ino_t file = 0;
};
void PrintTo(const JournalEntry& entry, std::ostream* out);

// A file system that passes every call to the real one, except those a plan
// names: the Nth call (counted from 1) of an operation fails with an errno,
// writes half the bytes asked (kShortWrite), or stops the flow as a crash (kCrash).
// Operations are named as the interface's calls ("Open", "Write", "Rename", ...).
// A hook can run at every call, to watch, act or wait there.
class FaultPlan : public platform::FileSystem {
 public:
  using Path = const std::string&;
  enum : int { kShortWrite = -1, kCrash = -2 };
  // Gets the operation and the path it names (a rename's new one; none for a descriptor's).
  using Hook = std::function<void(Path operation, Path path)>;

  void FailCall(Path operation, int nth, int fault) { faults_[{operation, nth}] = fault; }
  // Runs hook at each call once it is counted, before the call (a Close, just
  // after the descriptor is released).
  void OnCall(Hook hook) { hook_ = std::move(hook); }
  // Whatever would create, change, rename or remove something inside the
  // folder fails with EACCES, as for a player without write permission there.
  void ReadOnly(Path folder) { readOnly_.push_back(folder.ends_with('/') ? folder : folder + "/"); }
  // Opening the file for reading fails with EACCES, as for a player who owns
  // it with mode 000 (root reads any file).
  void Unreadable(Path file) { unreadable_.insert(file); }
  int Calls(Path operation) const { return calls_.contains(operation) ? calls_.at(operation) : 0; }
  const std::map<std::string, int>& AllCalls() const { return calls_; }
  // Each call that succeeded in writing, flushing, naming or renaming a file, in order.
  const std::vector<JournalEntry>& Journal() const { return journal_; }

  static std::shared_ptr<FaultPlan> Install() {
    auto plan = std::make_shared<FaultPlan>();
    platform::InstallFileSystem(plan);
    return plan;
  }
  static void Uninstall() { platform::InstallFileSystem(nullptr); }

  int Open(Path p, int flags, mode_t m) override {
    if (Fault("Open", p, (flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC)) != 0))
      return -1;
    if ((flags & O_ACCMODE) != O_WRONLY && unreadable_.contains(p)) {
      errno = EACCES;
      return -1;
    }
    return real_->Open(p, flags, m);
  }
  // Like the system's close, a failed close still releases the descriptor.
  int Close(int d) override {
    failedFsyncs_.erase(d);
    const int result = real_->Close(d);
    return Fault("Close") ? -1 : result;
  }
  ssize_t Read(int d, void* b, size_t n) override {
    return Fault("Read") ? -1 : real_->Read(d, b, n);
  }
  ssize_t Write(int d, const void* b, size_t n) override;
  ssize_t CopyFileRange(int from, int to, size_t n) override {
    return Noted("CopyFileRange", to,
                 Fault("CopyFileRange") ? -1 : real_->CopyFileRange(from, to, n));
  }
  // A flush that failed may have lost data that a second one would not write
  // again, so trying again would claim a safety the file does not have.
  int Fsync(int d) override {
    EXPECT_FALSE(failedFsyncs_.contains(d)) << "a failed fsync was tried again";
    const int result = Noted("Fsync", d, Fault("Fsync") ? -1 : real_->Fsync(d));
    if (result != 0)
      failedFsyncs_.insert(d);
    return result;
  }
  int Fchmod(int d, mode_t m) override { return Fault("Fchmod") ? -1 : real_->Fchmod(d, m); }
  int Stat(Path p, struct stat* s) override { return Fault("Stat", p) ? -1 : real_->Stat(p, s); }
  int Lstat(Path p, struct stat* s) override { return Fault("Lstat", p) ? -1 : real_->Lstat(p, s); }
  int Fstat(int d, struct stat* s) override { return Fault("Fstat") ? -1 : real_->Fstat(d, s); }
  int Rename(Path from, Path to) override;
  int Unlink(Path p) override { return Fault("Unlink", p, true) ? -1 : real_->Unlink(p); }
  int Rmdir(Path p) override { return Fault("Rmdir", p, true) ? -1 : real_->Rmdir(p); }
  int Mkdir(Path p, mode_t m) override { return Fault("Mkdir", p, true) ? -1 : real_->Mkdir(p, m); }
  int Link(Path from, Path to) override {
    return Fault("Link", to, true) ? -1 : real_->Link(from, to);
  }
  int OpenTemporary(Path folder, mode_t m) override {
    return Fault("OpenTemporary", folder + "/", true) ? -1 : real_->OpenTemporary(folder, m);
  }
  int LinkAt(int d, Path to) override {
    return Noted("LinkAt", d, Fault("LinkAt", to, true) ? -1 : real_->LinkAt(d, to));
  }
  int ClearNonBlocking(int d) override {
    return Fault("ClearNonBlocking") ? -1 : real_->ClearNonBlocking(d);
  }
  int Flock(int d, int operation) override {
    return Fault("Flock") ? -1 : real_->Flock(d, operation);
  }

 private:
  // Counts the call on path, which it changes or not (nor from, a rename's
  // old name), and gives the planned fault: 0 for none, else an errno (set)
  // or kShortWrite. Throws SimulatedCrash where the plan stops the flow.
  int Fault(Path operation, Path path = "", bool changes = false, Path from = "");
  // Journals a call on a descriptor that succeeded and gives its result.
  template <class Result>
  Result Noted(Path operation, int descriptor, Result result) {
    if (result >= 0)
      Note(operation, descriptor);
    return result;
  }
  void Note(Path operation, int descriptor);
  std::shared_ptr<platform::FileSystem> real_ = platform::RealFileSystem();
  std::map<std::string, int> calls_;
  std::map<std::pair<std::string, int>, int> faults_;
  Hook hook_;
  std::vector<std::string> readOnly_;
  std::set<std::string> unreadable_;
  std::set<int> failedFsyncs_;
  std::vector<JournalEntry> journal_;
};

// A hook noting what the player sees while a flow uses the files right inside
// folder: at the first call on one made while look shows a new text,
// "<file name>: <look>". Calls on the folder itself (its lock) are not noted.
FaultPlan::Hook NoteLooks(std::string folder, std::function<std::string()> look,
                          std::vector<std::string>& seen);

// Succeeds when each path in turn was replaced in a way a power cut cannot
// undo: the data of the file now at the path written, that file flushed
// before it got any name (an unnamed file's first, or the path), then renamed
// onto the path, then the path's folder flushed, all before the next path's
// rename. Other calls in between do not matter.
testing::AssertionResult ReplacedDurably(std::span<const JournalEntry> journal,
                                         const std::vector<std::string>& paths);

}  // namespace tervix::test
