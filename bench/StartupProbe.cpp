// Start-up time and peak memory of the launcher against a bare Qt window with
// the same widgets. Both programs run under this same harness on the display
// in DISPLAY: it watches the root window for the first top-level window to be
// mapped, timing from just before fork to that MapNotify, lets the program
// settle, ends it and takes its peak resident size from wait4.
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/Report.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Run {
  double mappedMs = 0;
  double peakMiB = 0;
};

// Time given to a program after its window is mapped, so that it paints and
// reaches the memory a player's session starts with.
constexpr int kSettleMs = 1500;
constexpr int kMapTimeoutMs = 30000;

class RootWatch {
 public:
  RootWatch() : display_(XOpenDisplay(nullptr)) {
    if (display_ == nullptr) {
      throw std::runtime_error("cannot open the display; is DISPLAY set?");
    }
    fcntl(ConnectionNumber(display_), F_SETFD, FD_CLOEXEC);
    XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
    XSync(display_, True);
  }
  ~RootWatch() { XCloseDisplay(display_); }
  RootWatch(const RootWatch&) = delete;
  RootWatch& operator=(const RootWatch&) = delete;

  // True when a top-level window was mapped within the given time.
  bool WaitForMap(int timeoutMs) {
    auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Clock::now() < deadline) {
      while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type == MapNotify && event.xmap.event == DefaultRootWindow(display_)) {
          return true;
        }
      }
      pollfd descriptor{ConnectionNumber(display_), POLLIN, 0};
      poll(&descriptor, 1, 10);
    }
    return false;
  }

  // Serves and drops events for the given time.
  void Drain(int ms) {
    auto deadline = Clock::now() + std::chrono::milliseconds(ms);
    do {
      XSync(display_, True);
      pollfd descriptor{ConnectionNumber(display_), POLLIN, 0};
      poll(&descriptor, 1, 10);
    } while (Clock::now() < deadline);
  }

 private:
  Display* display_;
};

Run Measure(RootWatch& watch, const std::vector<std::string>& command) {
  std::vector<char*> arguments;
  for (const std::string& argument : command) {
    arguments.push_back(const_cast<char*>(argument.c_str()));
  }
  arguments.push_back(nullptr);

  watch.Drain(50);
  Clock::time_point start = Clock::now();
  pid_t child = fork();
  if (child == 0) {
    int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, STDOUT_FILENO);
    dup2(quiet, STDERR_FILENO);
    execv(arguments[0], arguments.data());
    _exit(127);
  }
  bool mapped = watch.WaitForMap(kMapTimeoutMs);
  Run run;
  run.mappedMs = bench::SecondsSince(start) * 1000;
  watch.Drain(kSettleMs);
  kill(child, SIGTERM);
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  if (!mapped) {
    throw std::runtime_error(command[0] + " showed no window");
  }
  run.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024;
  watch.Drain(100);
  return run;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: %s RUNS LAUNCHER BARE-WINDOW RESOURCE-FILE\n", argv[0]);
    return 2;
  }
  try {
    int runs = std::atoi(argv[1]);
    std::vector<std::string> launcher{argv[2]};
    std::vector<std::string> bare{argv[3], argv[4]};
    RootWatch watch;
    // One untimed run each fills the page cache for both.
    Measure(watch, launcher);
    Measure(watch, bare);
    std::vector<double> launcherMs, bareMs, launcherMiB, bareMiB;
    for (int i = 0; i < runs; ++i) {
      // Alternating the order keeps a drift of the machine from favouring one.
      bool launcherFirst = i % 2 == 0;
      Run first = Measure(watch, launcherFirst ? launcher : bare);
      Run second = Measure(watch, launcherFirst ? bare : launcher);
      const Run& ours = launcherFirst ? first : second;
      const Run& theirs = launcherFirst ? second : first;
      launcherMs.push_back(ours.mappedMs);
      bareMs.push_back(theirs.mappedMs);
      launcherMiB.push_back(ours.peakMiB);
      bareMiB.push_back(theirs.peakMiB);
    }
    double timeRatio = bench::Median(launcherMs) / bench::Median(bareMs);
    bench::PrintRow("start-up to first window shown (ms, median of " + std::to_string(runs) + ")",
                    bench::Fixed(bench::Median(launcherMs), 1),
                    bench::Fixed(bench::Median(bareMs), 1), bench::Fixed(timeRatio, 3) + "x",
                    "<= 1.15x", timeRatio <= 1.15);
    double memoryRatio = bench::Median(launcherMiB) / bench::Median(bareMiB);
    bench::PrintRow("peak memory, max RSS (MiB)", bench::Fixed(bench::Median(launcherMiB), 1),
                    bench::Fixed(bench::Median(bareMiB), 1), bench::Fixed(memoryRatio, 3) + "x",
                    "<= 1.15x", memoryRatio <= 1.15);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "start-up benchmark: %s\n", error.what());
    return 1;
  }
  return 0;
}
