#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

// What every benchmark program shares: the clock, the median and the one row
// format that scripts/run-benchmarks.sh gathers into its table.
namespace bench {

inline double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline double Median(std::vector<double> values) {
  if (values.empty()) {
    return 0;
  }
  std::sort(values.begin(), values.end());
  size_t middle = values.size() / 2;
  return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

inline std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

// One tab-separated row: what was measured, the launcher's figure, the
// baseline's, their ratio, the target and whether it was met.
inline void PrintRow(const std::string& measure, const std::string& ours,
                     const std::string& baseline, const std::string& ratio,
                     const std::string& target, bool met) {
  std::printf("%s\t%s\t%s\t%s\t%s\t%s\n", measure.c_str(), ours.c_str(), baseline.c_str(),
              ratio.c_str(), target.c_str(), met ? "met" : "MISSED");
  std::fflush(stdout);
}

// A row for a measurement that was not made, with the reason as its name.
inline void PrintSkipped(const std::string& measure) {
  std::printf("%s\t-\t-\t-\t-\tskipped\n", measure.c_str());
  std::fflush(stdout);
}

}  // namespace bench
