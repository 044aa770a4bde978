#include "platform/files/DetachedStart.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>

#include "platform/files/FileSystem.h"

namespace platform {
namespace {

// What the new processes tell the launcher through the report pipe. Each
// message goes in one write, which a pipe keeps whole.
struct Message {
  int32_t step;
  int32_t value;
};
enum Step : int32_t { kExecuting = 1, kFailed, kExited, kKilled };

// Everything the new processes use, made before the fork.
struct Prepared {
  const char* file;
  char* const* argv;
  char* const* shellArgv;
  const char* folder;  // nullptr to stay where the launcher is
  int devNull;
  int report;  // the pipe's write end
  int highestDescriptor;
  int verdictWaitMs;  // negative for no wait
};

void Tell(int report, int32_t step, int32_t value) {
  const Message message{step, value};
  while (write(report, &message, sizeof message) < 0 && errno == EINTR) {
  }
}

[[noreturn]] void Fail(const Prepared& prepared, int error) {
  Tell(prepared.report, kFailed, error);
  _exit(127);
}

// An ignored signal and a blocked one survive exec: a launcher started in the
// background by a shell, with SIGINT ignored, would hand that on to the game.
// SIGKILL, SIGSTOP and the C library's own signals refuse the change, and need none.
void ResetSignals() {
  struct sigaction byDefault {};
  byDefault.sa_handler = SIG_DFL;
  sigemptyset(&byDefault.sa_mask);
  for (int signal = 1; signal < NSIG; ++signal)
    sigaction(signal, &byDefault, nullptr);
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
}

// Close-on-exec rather than closed, so that the report pipe works until the exec.
void CloseOthersAtExec(int highestDescriptor) {
  if (close_range(3, ~0U, CLOSE_RANGE_CLOEXEC) == 0)
    return;
  for (int descriptor = 3; descriptor <= highestDescriptor; ++descriptor)
    fcntl(descriptor, F_SETFD, FD_CLOEXEC);
}

// Stdin reads nothing, and a stdout or stderr the launcher did not have goes
// nowhere, so that none of the three is missing in the program: its first
// opened file would take that number and get what it writes to the terminal.
// Where the launcher lacked one, /dev/null may already have its number.
void GiveStandardDescriptors(const Prepared& prepared) {
  for (int standard = 0; standard <= 2; ++standard) {
    if (standard == prepared.devNull) {
      if (fcntl(standard, F_SETFD, 0) != 0)
        Fail(prepared, errno);
    } else if (standard == 0 || fcntl(standard, F_GETFD) < 0) {
      if (dup2(prepared.devNull, standard) < 0)
        Fail(prepared, errno);
    }
  }
}

// Runs in the grandchild: its own session, its own folder, then the program.
[[noreturn]] void RunProgram(const Prepared& prepared) {
  if (setsid() < 0)
    Fail(prepared, errno);
  if (prepared.folder != nullptr && chdir(prepared.folder) != 0)
    Fail(prepared, errno);
  GiveStandardDescriptors(prepared);
  CloseOthersAtExec(prepared.highestDescriptor);
  Tell(prepared.report, kExecuting, 0);
  execv(prepared.file, prepared.argv);
  if (errno == ENOEXEC && prepared.shellArgv != nullptr)
    execv(prepared.shellArgv[0], prepared.shellArgv);
  Fail(prepared, errno);
}

int64_t MonotonicMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return int64_t{now.tv_sec} * 1000 + now.tv_nsec / 1000000;
}

// Whether the program ends within the wait, with its status. Where the kernel
// gives no handle to wait on, the child looks again every few milliseconds.
bool EndsWithin(pid_t program, int waitMs, int& status) {
  // The system call itself: Debian 12's C library declares its wrapper without C linkage.
  const int handle = static_cast<int>(syscall(SYS_pidfd_open, program, 0));
  if (handle >= 0) {
    pollfd ended{handle, POLLIN, 0};
    int ready;
    while ((ready = poll(&ended, 1, waitMs)) < 0 && errno == EINTR) {
    }
    close(handle);
    return ready == 1 && waitpid(program, &status, 0) == program;
  }
  const int64_t deadline = MonotonicMs() + waitMs;
  for (;;) {
    if (waitpid(program, &status, WNOHANG) == program)
      return true;
    if (MonotonicMs() >= deadline)
      return false;
    const timespec pause{0, 10 * 1000 * 1000};
    nanosleep(&pause, nullptr);
  }
}

// Tells how the program ended if it ends within the wait; a program still
// running then has started.
void AwaitVerdict(const Prepared& prepared, pid_t program) {
  int status = 0;
  if (!EndsWithin(program, prepared.verdictWaitMs, status))
    return;
  if (WIFEXITED(status))
    Tell(prepared.report, kExited, WEXITSTATUS(status));
  else if (WIFSIGNALED(status))
    Tell(prepared.report, kKilled, WTERMSIG(status));
}

// Runs in the child, which starts the program in a grandchild so that the
// program outlives the launcher and leaves no zombie behind.
[[noreturn]] void RunChild(const Prepared& prepared) {
  ResetSignals();
  // _Fork runs no fork handlers, which need not be async-signal-safe.
  const pid_t program = _Fork();
  if (program < 0)
    Fail(prepared, errno);
  if (program == 0)
    RunProgram(prepared);
  if (prepared.verdictWaitMs >= 0)
    AwaitVerdict(prepared, program);
  _exit(0);
}

std::vector<char*> ArgumentVector(std::vector<std::string>& arguments) {
  std::vector<char*> vector;
  for (std::string& argument : arguments)
    vector.push_back(argument.data());
  vector.push_back(nullptr);
  return vector;
}

int HighestDescriptor() {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
    return 1 << 20;
  return static_cast<int>(std::min<rlim_t>(limit.rlim_cur, INT_MAX) - 1);
}

// Reads every message until the last writer is gone: the child once it has
// ended, the grandchild once it has run its program or ended. Gives the read's
// errno, or 0.
int ReadMessages(int report, std::vector<Message>& messages) {
  Message message{};
  size_t filled = 0;
  for (;;) {
    const ssize_t got =
        read(report, reinterpret_cast<char*>(&message) + filled, sizeof message - filled);
    if (got < 0 && errno == EINTR)
      continue;
    if (got < 0)
      return errno;
    if (got == 0)
      return 0;
    filled += static_cast<size_t>(got);
    if (filled == sizeof message) {
      messages.push_back(message);
      filled = 0;
    }
  }
}

DetachedOutcome Judge(const std::vector<Message>& messages) {
  using Kind = DetachedOutcome::Kind;
  bool executing = false;
  for (const Message& message : messages) {
    switch (message.step) {
      case kExecuting:
        executing = true;
        break;
      case kFailed:
        return {Kind::kNotStarted, message.value};
      case kExited:
        return message.value == 0 ? DetachedOutcome{}
                                  : DetachedOutcome{Kind::kExited, message.value};
      case kKilled:
        return {Kind::kKilled, message.value};
      default:
        break;
    }
  }
  return executing ? DetachedOutcome{} : DetachedOutcome{Kind::kEndedEarly, 0};
}

}  // namespace

DetachedOutcome StartDetached(DetachedProgram program) {
  using Kind = DetachedOutcome::Kind;
  std::vector<char*> argv = ArgumentVector(program.arguments);
  std::vector<std::string> shellArguments{"/bin/sh", program.file};
  std::vector<char*> shellArgv = ArgumentVector(shellArguments);
  // Opened before the pipe, so that with the launcher's stdin closed it takes
  // descriptor 0 and the pipe cannot.
  const int devNull = CurrentFileSystem().Open("/dev/null", O_RDWR | O_CLOEXEC, 0);
  if (devNull < 0)
    return {Kind::kNotStarted, errno};
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) {
    const int error = errno;
    CurrentFileSystem().Close(devNull);
    return {Kind::kNotStarted, error};
  }
  const auto waitMs =
      program.verdictWait ? std::clamp<int64_t>(program.verdictWait->count(), 0, INT_MAX) : -1;
  const Prepared prepared{program.file.c_str(),
                          argv.data(),
                          program.shellFallback ? shellArgv.data() : nullptr,
                          program.folder.empty() ? nullptr : program.folder.c_str(),
                          devNull,
                          report[1],
                          HighestDescriptor(),
                          static_cast<int>(waitMs)};
  const pid_t child = fork();
  if (child == 0) {
    close(report[0]);
    RunChild(prepared);
  }
  const int forkError = errno;
  close(report[1]);
  CurrentFileSystem().Close(devNull);
  if (child < 0) {
    close(report[0]);
    return {Kind::kNotStarted, forkError};
  }
  std::vector<Message> messages;
  const int readError = ReadMessages(report[0], messages);
  close(report[0]);
  while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
  }
  if (readError != 0)
    return {Kind::kNotStarted, readError};
  return Judge(messages);
}

}  // namespace platform
