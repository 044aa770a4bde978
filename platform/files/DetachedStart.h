#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// A program to start detached, with every path already resolved: between the
// fork and the exec only async-signal-safe calls may run, so nothing there
// searches, allocates or builds a string.
struct DetachedProgram {
  std::string file;  // the path that execv is given
  std::vector<std::string> arguments;
  std::string folder;  // where it runs; empty for the launcher's own folder
  // A file the kernel refuses as no program (ENOEXEC) runs through /bin/sh, as a shell would.
  bool shellFallback = false;
  // How long to wait for the program's exit status; nothing for not at all.
  std::optional<std::chrono::milliseconds> verdictWait;
};

// What became of a detached start.
struct DetachedOutcome {
  enum class Kind {
    kStarted,     // it runs, or ran, its program
    kNotStarted,  // value: the errno that kept it from running the program
    kEndedEarly,  // the new process ended before it could run the program
    kExited,      // within the verdict wait, with value as its exit status
    kKilled,      // within the verdict wait, by the signal in value
  };
  Kind kind = Kind::kStarted;
  int value = 0;
};

// Starts the program in its own session, detached from the launcher so that it
// outlives it, with default signal dispositions, an empty signal mask, stdin
// from /dev/null and no descriptor open but 0, 1 and 2. Returns once the exec
// has happened or failed, and, with a verdict wait, once the program has ended
// or the wait is over.
[[nodiscard]] DetachedOutcome StartDetached(DetachedProgram program);

}  // namespace platform
