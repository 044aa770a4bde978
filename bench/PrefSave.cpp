// One preference save, tervix::Prefs::PrefLogin(value), against the least a
// durable replacement of a small file takes: write a temporary file, fsync
// it, rename it over the old one.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/Report.h"
#include "platform/core/Runtime.h"
#include "prefs/Prefs.h"

namespace {

constexpr int kSaves = 300;

std::string Value(int i) {
  return "player-" + std::to_string(1000 + i);
}

double SaveWithPrefs(const std::string& value) {
  auto start = std::chrono::steady_clock::now();
  tervix::Prefs::PrefLogin(value);
  return bench::SecondsSince(start);
}

// The bare save; with flushFolder, the rename is flushed too, as the
// launcher's own file replacement does.
double SaveBare(const std::string& folder, const std::string& value, bool flushFolder) {
  auto start = std::chrono::steady_clock::now();
  std::string temporary = folder + "/PrefLogin.tmp";
  int file = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (file < 0 || write(file, value.data(), value.size()) != static_cast<ssize_t>(value.size()) ||
      fsync(file) != 0 || close(file) != 0 ||
      rename(temporary.c_str(), (folder + "/PrefLogin").c_str()) != 0) {
    throw std::runtime_error("the bare save failed");
  }
  if (flushFolder) {
    int directory = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    fsync(directory);
    close(directory);
  }
  return bench::SecondsSince(start);
}

std::string ReadWhole(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream content;
  content << file.rdbuf();
  return content.str();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FOLDER (on the disk to measure)\n", argv[0]);
    return 2;
  }
  try {
    std::string folder = std::filesystem::absolute(argv[1]).string();
    std::string config = folder + "/config";
    std::string bare = folder + "/bare";
    std::filesystem::create_directories(config);
    std::filesystem::create_directories(bare);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    // The store needs the runtime but no screen.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    platform::RuntimeInit(argc, argv);

    SaveWithPrefs(Value(0));
    SaveBare(bare, Value(0), false);
    std::vector<double> ours, baseline, flushedBaseline;
    for (int i = 1; i <= kSaves; ++i) {
      ours.push_back(SaveWithPrefs(Value(i)));
      baseline.push_back(SaveBare(bare, Value(i), false));
      flushedBaseline.push_back(SaveBare(bare, Value(i), true));
    }
    std::string stored =
        ReadWhole(config + "/" + tervix::Prefs::kApplicationFolderName + "/PrefLogin");
    if (stored != Value(kSaves)) {
      throw std::runtime_error("the preference file holds '" + stored + "'");
    }
    double ratio = bench::Median(ours) / bench::Median(baseline);
    bench::PrintRow("preference save, PrefLogin(value) (ms, median of " + std::to_string(kSaves) +
                        ") vs write + fsync + rename",
                    bench::Fixed(bench::Median(ours) * 1000, 3),
                    bench::Fixed(bench::Median(baseline) * 1000, 3), bench::Fixed(ratio, 3) + "x",
                    "<= 2x", ratio <= 2);
    double flushedRatio = bench::Median(ours) / bench::Median(flushedBaseline);
    bench::PrintRow("preference save vs write + fsync + rename + folder fsync",
                    bench::Fixed(bench::Median(ours) * 1000, 3),
                    bench::Fixed(bench::Median(flushedBaseline) * 1000, 3),
                    bench::Fixed(flushedRatio, 3) + "x", "<= 2x", flushedRatio <= 2);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "preference benchmark: %s\n", error.what());
    return 1;
  }
  return 0;
}
