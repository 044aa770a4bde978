#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/faults/ChildProcess.h"
#include "tests/support/FaultPlan.h"
#include "tests/support/TestRuntime.h"

namespace tervix::test {

// How a planned file-system call goes wrong.
enum class FaultKind { Fails, ShortWrite, ShortWriteOnFullDisk, Crash };

struct Fault {
  std::string operation;
  int nth = 1;
  FaultKind kind = FaultKind::Fails;
  int error = 0;
};

// What a sweep makes of each call that a clean run of the flow makes.
enum class FaultSet {
  // Fails with ENOSPC, EACCES and EIO, and each write is also cut short.
  FailedCalls,
  // The process stops there, as a crash or a power cut would.
  Crashes,
};

// One case of a sweep, as the parent sees it once the child has ended.
struct FaultCase {
  std::string description;
  std::optional<Fault> fault;  // none for the clean runs
  Seen seen;
  bool crashed = false;
  std::string root;  // the case's own temporary folder
  std::string home;
  std::string configHome;

  // What the child saw under that name, or the empty string.
  std::string Saw(const std::string& name) const;
  std::string ProfileFolder() const { return home + "/Library/Application Support/Tervix/"; }
  std::string PrefsFolder() const;
  // The file's whole content, or "<missing>".
  static std::string Read(const std::string& path);
  static std::vector<std::string> List(const std::string& folder);
};

// A flow of the launcher run in a child process of its own, on the harness:
// a fresh HOME and config home, the fake clock, scripted dialogs (which
// cancel every open-file dialog) and the launch recorder. The process that
// starts the children must never start the runtime itself, or every child
// would share its windows and preference cache.
class FaultedFlow : public RuntimeTest {
 public:
  // Starts the harness, runs the flow with the faults and adds where its files are.
  Seen RunWith(const std::vector<Fault>& faults);

 protected:
  // Sets the scene, calls Act with the player's action and says what the player saw.
  virtual Seen Run() = 0;
  // Leaves a preference file as an earlier run of the launcher would have.
  void StoreFromEarlierRun(const std::string& key, const std::string& value) const;
  // Installs the fault plan, performs the action and puts the real file system
  // back; false when the action stopped at a planned crash.
  bool Act(const std::function<void()>& action);
  void TestBody() override {}

 private:
  std::vector<Fault> faults_;
  Seen calls_;
  bool crashed_ = false;
};

using FlowRunner = std::function<Seen(const std::vector<Fault>&)>;
using CaseCheck = std::function<void(const FaultCase&)>;

// Runs the flow without faults to count its file-system calls, then once for
// every fault the set gives for every one of those calls, each run in a child
// process of its own, and hands each case to check. Where the flow gives a file
// a second name or copies in the kernel, it is swept again on a file system
// that cannot, so that the copy and the read-and-write fallback are swept too.
// Returns the faulted cases run.
int SweepFlow(const FlowRunner& run, FaultSet set, const CaseCheck& check);

// Runs the flow once, without planned faults, in a child process of its own.
void RunOnce(const FlowRunner& run, const std::string& description, const CaseCheck& check);

template <class Flow>
void RunOnce(const std::string& description, const CaseCheck& check) {
  RunOnce([](const std::vector<Fault>& faults) { return Flow().RunWith(faults); }, description,
          check);
}

template <class Flow>
int Sweep(FaultSet set, const CaseCheck& check) {
  return SweepFlow([](const std::vector<Fault>& faults) { return Flow().RunWith(faults); }, set,
                   check);
}

// Runs body in a child process of its own with the case's HOME and config home.
ChildOutcome RunBesideCase(const FaultCase& faultCase, const std::function<Seen()>& body);

}  // namespace tervix::test
