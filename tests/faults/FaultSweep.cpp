#include "tests/faults/FaultSweep.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

#include "platform/Runtime.h"
#include "prefs/Prefs.h"

namespace tervix::test {
namespace {

namespace fs = std::filesystem;

// Every operation of the fault plan.
constexpr const char* kOperations[] = {"Open",   "Close", "Read",  "Write", "CopyFileRange",
                                       "Fsync",  "Stat",  "Lstat", "Fstat", "Rename",
                                       "Unlink", "Rmdir", "Mkdir", "Link"};
constexpr const char* kCallsPrefix = "calls ";

using CallCounts = std::map<std::string, int>;

std::string Describe(const Fault& fault) {
  const std::string call = fault.operation + " call " + std::to_string(fault.nth);
  switch (fault.kind) {
    case FaultKind::Fails:
      return call + " fails with " + strerrorname_np(fault.error);
    case FaultKind::ShortWrite:
      return call + " writes half";
    case FaultKind::ShortWriteOnFullDisk:
      return call + " writes half, then the disk is full";
    case FaultKind::Crash:
      return "the process stops at " + call;
  }
  return call;
}

void Arrange(FaultPlan& plan, const Fault& fault) {
  switch (fault.kind) {
    case FaultKind::Fails:
      plan.FailCall(fault.operation, fault.nth, fault.error);
      break;
    case FaultKind::ShortWriteOnFullDisk:
      plan.FailCall("Write", fault.nth + 1, ENOSPC);
      [[fallthrough]];
    case FaultKind::ShortWrite:
      plan.ShortWrite(fault.nth);
      break;
    case FaultKind::Crash:
      plan.CrashAt(fault.operation, fault.nth);
      break;
  }
}

std::vector<Fault> FaultsAt(const std::string& operation, int nth, FaultSet set) {
  if (set == FaultSet::Crashes)
    return {{operation, nth, FaultKind::Crash, 0}};
  std::vector<Fault> faults;
  for (int error : {ENOSPC, EACCES, EIO})
    faults.push_back({operation, nth, FaultKind::Fails, error});
  if (operation == "Write") {
    faults.push_back({operation, nth, FaultKind::ShortWrite, 0});
    faults.push_back({operation, nth, FaultKind::ShortWriteOnFullDisk, 0});
  }
  return faults;
}

CallCounts CallsOf(const Seen& seen) {
  CallCounts counts;
  for (const char* operation : kOperations) {
    const auto found = seen.find(kCallsPrefix + std::string(operation));
    counts[operation] = found == seen.end() ? 0 : std::stoi(found->second);
  }
  return counts;
}

std::string Value(const Seen& seen, const std::string& name) {
  const auto found = seen.find(name);
  return found == seen.end() ? std::string() : found->second;
}

// Runs one case in a child and checks it; nothing when the child itself went wrong.
std::optional<FaultCase> RunCase(const FlowRunner& run, const std::vector<Fault>& faults,
                                 std::optional<Fault> fault, const std::string& description,
                                 const CaseCheck& check) {
  if (!platform::RuntimeJournal().empty()) {
    ADD_FAILURE() << "this process has started the runtime, so its children would not start "
                     "afresh; run every test of this suite in a process of its own";
    return std::nullopt;
  }
  std::string pattern = (fs::temp_directory_path() / "tervix-fault-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    ADD_FAILURE() << "cannot make a temporary folder: " << std::strerror(errno);
    return std::nullopt;
  }
  FaultCase faultCase;
  faultCase.description = description;
  faultCase.fault = std::move(fault);
  faultCase.root = pattern;
  const ChildOutcome outcome =
      RunInChild([&] { return run(faults); }, faultCase.root, faultCase.root + "/child.log");
  std::optional<FaultCase> result;
  if (!outcome.trouble.empty()) {
    ADD_FAILURE() << "when " << description << ": " << outcome.trouble;
  } else {
    faultCase.seen = outcome.seen;
    faultCase.crashed = Value(outcome.seen, "crashed") == "yes";
    faultCase.home = Value(outcome.seen, "home");
    faultCase.configHome = Value(outcome.seen, "config home");
    SCOPED_TRACE("when " + description);
    check(faultCase);
    result = faultCase;
  }
  std::error_code ignored;
  fs::remove_all(faultCase.root, ignored);
  return result;
}

// A way through the flow: the calls refused all along it, with the errors a
// file system gives that cannot do what they ask.
struct Road {
  std::string name;
  std::vector<Fault> refusals;
  std::set<std::string> refused;
  size_t nextDetour = 0;
};

struct Detour {
  const char* operation;
  int error;
  const char* name;
};

// What a flow does where the file system offers less: copies when a file can
// get no second name, reads and writes when the kernel cannot copy.
constexpr Detour kDetours[] = {
    {"Link", EPERM, ", where files get no second name"},
    {"CopyFileRange", EXDEV, ", copying by read and write"},
};

Road Take(const Road& road, size_t detour, int calls) {
  Road next = road;
  const Detour& taken = kDetours[detour];
  next.name += taken.name;
  next.refused.insert(taken.operation);
  for (int nth = 1; nth <= calls; ++nth)
    next.refusals.push_back({taken.operation, nth, FaultKind::Fails, taken.error});
  next.nextDetour = detour + 1;
  return next;
}

// The faulted cases of one road; returns how many ran.
int SweepRoad(const FlowRunner& run, FaultSet set, const CaseCheck& check, const Road& road,
              const CallCounts& calls) {
  int cases = 0;
  for (const auto& [operation, count] : calls) {
    if (road.refused.count(operation))
      continue;
    for (int nth = 1; nth <= count; ++nth) {
      for (const Fault& fault : FaultsAt(operation, nth, set)) {
        std::vector<Fault> faults = road.refusals;
        faults.push_back(fault);
        RunCase(run, faults, fault, Describe(fault) + road.name, check);
        ++cases;
      }
    }
  }
  return cases;
}

}  // namespace

std::string FaultCase::Saw(const std::string& name) const {
  return Value(seen, name);
}

std::string FaultCase::PrefsFolder() const {
  return configHome + "/" + tervix::Prefs::kApplicationFolderName;
}

std::string FaultCase::Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return "<missing>";
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::vector<std::string> FaultCase::List(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
       entry.increment(error)) {
    names.push_back(entry->path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

Seen FaultedFlow::RunWith(const std::vector<Fault>& faults) {
  faults_ = faults;
  SetUp();
  Seen seen = Run();
  seen.merge(calls_);
  seen["crashed"] = crashed_ ? "yes" : "no";
  seen["home"] = Home();
  seen["config home"] = ConfigHome();
  return seen;
}

void FaultedFlow::StoreFromEarlierRun(const std::string& key, const std::string& value) const {
  fs::create_directories(PrefsFolderPath());
  WriteFile(PrefsFolderPath() + "/" + key, value);
}

bool FaultedFlow::Act(const std::function<void()>& action) {
  const std::shared_ptr<FaultPlan> plan = FaultPlan::Install();
  for (const Fault& fault : faults_)
    Arrange(*plan, fault);
  try {
    action();
  } catch (const SimulatedCrash&) {
    crashed_ = true;
  }
  for (const char* operation : kOperations)
    calls_[kCallsPrefix + std::string(operation)] = std::to_string(plan->Calls(operation));
  FaultPlan::Uninstall();
  return !crashed_;
}

int SweepFlow(const FlowRunner& run, FaultSet set, const CaseCheck& check) {
  int cases = 0;
  std::vector<Road> roads{Road{}};
  for (size_t next = 0; next < roads.size(); ++next) {
    const Road road = roads[next];
    const auto clean =
        RunCase(run, road.refusals, std::nullopt, "nothing fails" + road.name, check);
    if (!clean)
      continue;
    const CallCounts calls = CallsOf(clean->seen);
    cases += SweepRoad(run, set, check, road, calls);
    for (size_t detour = road.nextDetour; detour < std::size(kDetours); ++detour) {
      const int detoured = calls.at(kDetours[detour].operation);
      if (detoured > 0)
        roads.push_back(Take(road, detour, detoured));
    }
  }
  return cases;
}

void RunOnce(const FlowRunner& run, const std::string& description, const CaseCheck& check) {
  RunCase(run, {}, std::nullopt, description, check);
}

ChildOutcome RunBesideCase(const FaultCase& faultCase, const std::function<Seen()>& body) {
  return RunInChild(
      [&] {
        setenv("HOME", faultCase.home.c_str(), 1);
        setenv("XDG_CONFIG_HOME", faultCase.configHome.c_str(), 1);
        return body();
      },
      faultCase.root, faultCase.root + "/beside.log");
}

}  // namespace tervix::test
