#pragma once

#include <functional>
#include <map>
#include <string>

namespace tervix::test {

// What a child process saw, by name.
using Seen = std::map<std::string, std::string>;

struct ChildOutcome {
  Seen seen;
  // Empty when the child ran its body to the end; else what became of it
  // (an exception, a signal, its own failed assertions) with its output.
  std::string trouble;
};

// Runs body in a child process, with its standard output and error going to
// logPath and TMPDIR set to temporaryFolder, and gives back what body returned.
// Process-wide state (the Qt application, the windows, the preference cache)
// thus starts fresh for every call, as long as the caller never creates it.
ChildOutcome RunInChild(const std::function<Seen()>& body, const std::string& temporaryFolder,
                        const std::string& logPath);

}  // namespace tervix::test
