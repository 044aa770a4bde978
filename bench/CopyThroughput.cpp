// Backup copy throughput: platform::FolderItem::CopyFileTo against cp on the
// same files. CopyFileTo makes its copy durable (the file and its folder are
// flushed before it returns), so it is set against cp alone and against cp
// followed by the same two flushes.
#include <fcntl.h>
#include <spawn.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/Report.h"
#include "platform/files/FolderItem.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr int64_t kMiB = 1024 * 1024;

void WriteSource(const std::string& path, int64_t size) {
  int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (file < 0) {
    throw std::runtime_error("cannot create " + path);
  }
  std::vector<uint64_t> block(kMiB / sizeof(uint64_t));
  uint64_t state = 0x9E3779B97F4A7C15ull;
  for (int64_t written = 0; written < size; written += kMiB) {
    for (uint64_t& word : block) {
      state = state * 6364136223846793005ull + 1442695040888963407ull;
      word = state;
    }
    if (write(file, block.data(), kMiB) != kMiB) {
      throw std::runtime_error("cannot write " + path);
    }
  }
  fsync(file);
  close(file);
}

void Flush(const std::string& path) {
  int file = open(path.c_str(), O_RDONLY);
  fsync(file);
  close(file);
}

void Spawn(std::vector<std::string> command) {
  std::vector<char*> arguments;
  for (std::string& argument : command) {
    arguments.push_back(argument.data());
  }
  arguments.push_back(nullptr);
  pid_t child = 0;
  if (posix_spawnp(&child, arguments[0], nullptr, nullptr, arguments.data(), environ) != 0) {
    throw std::runtime_error("cannot start " + command[0]);
  }
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    throw std::runtime_error(command[0] + " failed");
  }
}

double CopyWithFolderItem(const std::string& source, const std::string& destination) {
  std::filesystem::remove(destination);
  Clock::time_point start = Clock::now();
  platform::FolderItem from(source, platform::kShellPathMode);
  platform::FolderItem to(destination, platform::kShellPathMode);
  from.CopyFileTo(to);
  double seconds = bench::SecondsSince(start);
  if (from.LastErrorCode() != 0) {
    throw std::runtime_error("CopyFileTo failed with error " +
                             std::to_string(from.LastErrorCode()));
  }
  return seconds;
}

double CopyWithCp(const std::string& source, const std::string& destination, bool flush) {
  std::filesystem::remove(destination);
  Clock::time_point start = Clock::now();
  Spawn({"cp", source, destination});
  if (flush) {
    Flush(destination);
    Flush(std::filesystem::path(destination).parent_path());
  }
  return bench::SecondsSince(start);
}

void Measure(const std::string& folder, int64_t size, int runs) {
  std::string source = folder + "/source.usr";
  std::string destination = folder + "/source-backup.usr";
  WriteSource(source, size);
  std::vector<double> ours, cp, cpFlushed;
  CopyWithFolderItem(source, destination);
  for (int i = 0; i < runs; ++i) {
    ours.push_back(CopyWithFolderItem(source, destination));
    if (std::filesystem::file_size(destination) != static_cast<uintmax_t>(size)) {
      throw std::runtime_error("the copy has the wrong size");
    }
    cp.push_back(CopyWithCp(source, destination, false));
    cpFlushed.push_back(CopyWithCp(source, destination, true));
  }
  std::filesystem::remove(source);
  std::filesystem::remove(destination);

  auto rate = [size](const std::vector<double>& times) {
    return static_cast<double>(size) / kMiB / bench::Median(times);
  };
  std::string label = size >= 1024 * kMiB ? std::to_string(size / (1024 * kMiB)) + " GiB"
                                          : std::to_string(size / kMiB) + " MiB";
  double flushedRatio = rate(ours) / rate(cpFlushed);
  bench::PrintRow("backup copy " + label + " (MiB/s) vs cp + fsync of file and folder",
                  bench::Fixed(rate(ours), 0), bench::Fixed(rate(cpFlushed), 0),
                  bench::Fixed(flushedRatio, 3) + "x", ">= 0.9x", flushedRatio >= 0.9);
  double plainRatio = rate(ours) / rate(cp);
  bench::PrintRow("backup copy " + label + " (MiB/s) vs plain cp (no fsync)",
                  bench::Fixed(rate(ours), 0), bench::Fixed(rate(cp), 0),
                  bench::Fixed(plainRatio, 3) + "x", ">= 0.9x", plainRatio >= 0.9);
}

int64_t FreeBytes(const std::string& folder) {
  struct statvfs info {};
  statvfs(folder.c_str(), &info);
  return static_cast<int64_t>(info.f_bavail) * static_cast<int64_t>(info.f_frsize);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER (on the disk to measure)\n", argv[0]);
    return 2;
  }
  try {
    std::string folder = std::filesystem::absolute(argv[1]).string();
    std::filesystem::create_directories(folder);
    Measure(folder, kMiB, 30);
    Measure(folder, 64 * kMiB, 7);
    if (FreeBytes(folder) >= 4 * 1024 * kMiB) {
      Measure(folder, 1024 * kMiB, 3);
    } else {
      bench::PrintSkipped("backup copy 1 GiB (less than 4 GiB free)");
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "copy benchmark: %s\n", error.what());
    return 1;
  }
  return 0;
}
