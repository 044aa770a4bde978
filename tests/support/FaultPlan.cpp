#include "tests/support/FaultPlan.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <optional>

namespace tervix::test {
namespace {

// Looks at the disk directly, so that the journal's looks are neither counted nor faulted.
ino_t InodeOf(const std::string& path) {
  struct stat status {};
  return ::lstat(path.c_str(), &status) == 0 ? status.st_ino : 0;
}

}  // namespace

int FaultPlan::Fault(Path operation, Path path, bool changes, Path from) {
  const int nth = ++calls_[operation];
  if (hook_)
    hook_(operation, path);
  int fault = faults_[{operation, nth}];
  if (fault == kCrash)
    throw SimulatedCrash{operation};
  const auto inside = [&](Path folder) {
    return (changes && path.starts_with(folder)) || from.starts_with(folder);
  };
  if (fault == 0 && std::ranges::any_of(readOnly_, inside))
    fault = EACCES;
  if (fault > 0)
    errno = fault;
  return fault;
}

ssize_t FaultPlan::Write(int d, const void* b, size_t n) {
  const int fault = Fault("Write");
  return Noted("Write", d, fault > 0 ? -1 : real_->Write(d, b, fault == kShortWrite ? n / 2 : n));
}

int FaultPlan::Rename(Path from, Path to) {
  const ino_t file = InodeOf(from);
  if (Fault("Rename", to, true, from) || real_->Rename(from, to) != 0)
    return -1;
  journal_.push_back({"Rename", from, to, file});
  return 0;
}

void FaultPlan::Note(Path operation, int descriptor) {
  struct stat status {};
  ::fstat(descriptor, &status);
  std::error_code unknown;
  const auto path =
      std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(descriptor), unknown);
  journal_.push_back({operation, path.string(), "", status.st_ino});
}

FaultPlan::Hook NoteLooks(std::string folder, std::function<std::string()> look,
                          std::vector<std::string>& seen) {
  return [folder, look, &seen, lastLook = std::string()](FaultPlan::Path,
                                                         FaultPlan::Path path) mutable {
    if (path.size() <= folder.size() || !path.starts_with(folder) ||
        path.find('/', folder.size()) != std::string::npos)
      return;
    if (std::string now = look(); now != lastLook)
      seen.push_back(path.substr(folder.size()) + ": " + (lastLook = now));
  };
}

void PrintTo(const JournalEntry& entry, std::ostream* out) {
  *out << entry.operation << "(" << entry.path << (entry.to.empty() ? "" : " -> ") << entry.to
       << ", inode " << entry.file << ")";
}

testing::AssertionResult ReplacedDurably(std::span<const JournalEntry> journal,
                                         const std::vector<std::string>& paths) {
  size_t start = 0;
  for (const std::string& path : paths) {
    const auto failure = [&](const std::string& what) {
      auto result = testing::AssertionFailure() << path << ": " << what << "; the journal:";
      for (const JournalEntry& entry : journal)
        result << "\n  " << testing::PrintToString(entry);
      return result;
    };
    const ino_t file = InodeOf(path), folder = InodeOf(platform::FolderOf(path));
    bool written = false, flushed = false;
    std::optional<size_t> renamed;
    size_t i = 0;
    for (; i < journal.size(); ++i) {
      const JournalEntry& entry = journal[i];
      if (renamed && entry.operation == "Fsync" && entry.file == folder)
        break;
      if (renamed || entry.file != file)
        continue;
      if (entry.operation == "Write" || entry.operation == "CopyFileRange") {
        written = true;
        flushed = false;
      }
      if (entry.operation == "Fsync")
        flushed = written;
      if (entry.operation == "LinkAt" && !flushed)
        return failure("the file got a name before its data was flushed");
      if (entry.operation == "Rename")
        renamed = i;
    }
    if (!renamed)
      return failure("no rename put the file now there in place");
    if (*renamed < start)
      return failure("renamed before the folder of the path before it was flushed");
    if (!flushed)
      return failure(written ? "the file was not flushed between its last write and its rename"
                             : "nothing was written to the file renamed there");
    if (i == journal.size())
      return failure("the folder was not flushed after the rename");
    start = i + 1;
  }
  return testing::AssertionSuccess();
}

}  // namespace tervix::test
