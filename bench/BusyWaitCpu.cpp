// CPU time that a real 240-tick busy wait costs, as a share of one core: the
// wait the launcher makes after starting the game, with the real tick clock.
#include <sys/resource.h>

#include <chrono>
#include <vector>

#include "app/BusyWait.h"
#include "bench/Report.h"
#include "platform/core/Runtime.h"

namespace {

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& time) { return time.tv_sec + time.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace

int main(int argc, char** argv) {
  platform::RuntimeInit(argc, argv);
  constexpr int kRuns = 3;
  std::vector<double> shares, walls;
  for (int i = 0; i < kRuns; ++i) {
    double cpuBefore = CpuSeconds();
    auto start = std::chrono::steady_clock::now();
    tervix::BusyWait(240);
    double wall = bench::SecondsSince(start);
    shares.push_back((CpuSeconds() - cpuBefore) / wall * 100);
    walls.push_back(wall);
  }
  double share = bench::Median(shares);
  bench::PrintRow("CPU during a 240-tick wait, BusyWait alone (% of a core; wait took " +
                      bench::Fixed(bench::Median(walls), 3) + " s)",
                  bench::Fixed(share, 2) + "%", "-", "-", "< 2%", share < 2);
  return 0;
}
