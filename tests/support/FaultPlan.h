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

// Thrown where a plan stops the flow: as in a crash, nothing after it runs.
struct SimulatedCrash {
  std::string operation;
};

// A call that changed a file, which the inode names since the file may have no name.
struct JournalEntry {
  std::string operation, path, to;
  ino_t file = 0;
};
void PrintTo(const JournalEntry& entry, std::ostream* out);

// Passes every call to the real file system except the Nth (from 1) of an operation named in a
// plan, which fails with an errno, writes short (kShortWrite) or stops as a crash (kCrash).
class FaultPlan : public platform::FileSystem {
 public:
  using Path = const std::string&;
  enum : int { kShortWrite = -1, kCrash = -2 };
  // Gets the operation and the path it names (a rename's new one; none for a descriptor's).
  using Hook = std::function<void(Path operation, Path path)>;

  void FailCall(Path operation, int nth, int fault) { faults_[{operation, nth}] = fault; }
  // Runs hook before each counted call (after a Close has released the descriptor).
  void OnCall(Hook hook) { hook_ = std::move(hook); }
  // Whatever would change the folder's content fails with EACCES, as without write permission.
  void ReadOnly(Path folder) { readOnly_.push_back(folder.ends_with('/') ? folder : folder + "/"); }
  // Opening the file to read fails with EACCES, as for mode 000 (root reads any file).
  void Unreadable(Path file) { unreadable_.insert(file); }
  int Calls(Path operation) const { return calls_.contains(operation) ? calls_.at(operation) : 0; }
  const std::map<std::string, int>& AllCalls() const { return calls_; }
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
  // A failed flush may have lost data that a second one would not write again.
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
  // Counts the call and gives its planned fault: 0 for none, else an errno (set) or kShortWrite.
  int Fault(Path operation, Path path = "", bool changes = false, Path from = "");
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

// Notes "<file name>: <look>" at the first call on a file in folder made while look is new.
FaultPlan::Hook NoteLooks(std::string folder, std::function<std::string()> look,
                          std::vector<std::string>& seen);

// Succeeds when each path in turn was replaced so that a power cut cannot undo it: the new
// file written and flushed before any name, renamed onto the path, then its folder flushed.
testing::AssertionResult ReplacedDurably(std::span<const JournalEntry> journal,
                                         const std::vector<std::string>& paths);

}  // namespace tervix::test
