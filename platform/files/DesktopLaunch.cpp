#include "platform/files/DesktopLaunch.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/files/DetachedStart.h"
#include "platform/files/FileSystem.h"

namespace platform {
namespace {

constexpr const char* kOpener = "xdg-open";
// Some openers stay with the program they start, so an opener that has not
// failed by then has done its part.
constexpr std::chrono::seconds kOpenerVerdictWait{3};
// Where execvp looks when PATH is not set.
constexpr const char* kDefaultPath = "/bin:/usr/bin";

constexpr const char* kOpenerNotFound = "The desktop's opener xdg-open was not found";
constexpr const char* kOpenerNotRun = "The desktop's opener xdg-open could not be run: ";
constexpr const char* kOpenerFailed = "The desktop's opener xdg-open failed with exit status ";
constexpr const char* kOpenerKilled = "The desktop's opener xdg-open was ended by signal ";
constexpr const char* kEndedEarly = "The new process ended before it could run ";

// What xdg-open's own exit statuses mean.
std::string OpenerStatusMeaning(int status) {
  switch (status) {
    case 1:
      return ": error in command line syntax";
    case 2:
      return ": the file does not exist";
    case 3:
      return ": a required tool could not be found";
    case 4:
      return ": the action failed";
    default:
      return "";
  }
}

LaunchResult SystemFailure(int error) {
  return {error, std::strerror(error)};
}

// Whether the kernel would run the file for this process, asked as exec asks.
bool MayExecute(const std::string& path) {
  return CurrentFileSystem().AccessToExecute(path) == 0;
}

bool IsProgram(const std::string& path) {
  struct stat status {};
  return CurrentFileSystem().Stat(path, &status) == 0 && S_ISREG(status.st_mode) &&
         MayExecute(path);
}

// The program's path as execvp would find it on PATH; empty when there is none.
std::string FindOnPath(const std::string& name) {
  const char* variable = std::getenv("PATH");
  const std::string_view folders = variable != nullptr ? variable : kDefaultPath;
  for (size_t start = 0; start <= folders.size();) {
    const size_t end = std::min(folders.find(':', start), folders.size());
    const std::string_view folder = folders.substr(start, end - start);
    const std::string candidate = std::string(folder.empty() ? "." : folder) + "/" + name;
    if (IsProgram(candidate))
      return candidate;
    start = end + 1;
  }
  return {};
}

// Whether the file reads as a script, as a shell decides before it runs one
// that the kernel refused: a NUL byte in its first line, within its first 80
// bytes, makes it a program for some other machine, never shell commands.
bool LooksLikeScript(const std::string& path) {
  struct stat status {};
  const int descriptor = OpenRegularFile(path, O_RDONLY, status);
  if (descriptor < 0)
    return false;
  char start[80];
  const ssize_t got = CurrentFileSystem().Read(descriptor, start, sizeof start);
  CurrentFileSystem().Close(descriptor);
  if (got < 0)
    return false;
  const std::string_view firstBytes(start, static_cast<size_t>(got));
  return firstBytes.substr(0, firstBytes.find('\n')).find('\0') == std::string_view::npos;
}

std::string Absolute(const std::string& path) {
  if (path.front() == '/')
    return path;
  std::vector<char> here(4096);
  while (getcwd(here.data(), here.size()) == nullptr) {
    if (errno != ERANGE)
      return path;
    here.resize(here.size() * 2);
  }
  return std::string(here.data()) + "/" + path;
}

// Starts executables from the path's own bytes, detached in their own folder,
// and hands every other file to the desktop's opener.
class DesktopLaunchService : public LaunchService {
 public:
  explicit DesktopLaunchService(std::chrono::milliseconds openerVerdictWait)
      : openerVerdictWait_(openerVerdictWait) {}

  LaunchResult Launch(const std::string& shellPath) override {
    struct stat status {};
    if (CurrentFileSystem().Stat(shellPath, &status) != 0)
      return SystemFailure(errno);
    if (S_ISDIR(status.st_mode))
      return SystemFailure(EISDIR);
    const std::string path = Absolute(shellPath);
    if (S_ISREG(status.st_mode) && MayExecute(path))
      return RunProgram(path);
    return Open(path);
  }

 private:
  static LaunchResult RunProgram(const std::string& path) {
    const DetachedOutcome outcome =
        StartDetached({path, {path}, FolderOf(path), LooksLikeScript(path), {}});
    switch (outcome.kind) {
      case DetachedOutcome::Kind::kStarted:
        return {};
      case DetachedOutcome::Kind::kNotStarted:
        return SystemFailure(outcome.value);
      default:
        return {ECHILD, std::string(kEndedEarly) + "the program"};
    }
  }

  LaunchResult Open(const std::string& path) const {
    const std::string opener = FindOnPath(kOpener);
    if (opener.empty())
      return {ENOENT, kOpenerNotFound};
    const DetachedOutcome outcome =
        StartDetached({opener, {kOpener, path}, {}, false, openerVerdictWait_});
    switch (outcome.kind) {
      case DetachedOutcome::Kind::kStarted:
        return {};
      case DetachedOutcome::Kind::kNotStarted:
        return {outcome.value, kOpenerNotRun + std::string(std::strerror(outcome.value))};
      case DetachedOutcome::Kind::kEndedEarly:
        return {ECHILD, std::string(kEndedEarly) + kOpener};
      case DetachedOutcome::Kind::kExited:
        return {ECHILD,
                kOpenerFailed + std::to_string(outcome.value) + OpenerStatusMeaning(outcome.value)};
      case DetachedOutcome::Kind::kKilled:
        return {ECHILD, kOpenerKilled + std::to_string(outcome.value)};
    }
    return {};
  }

  std::chrono::milliseconds openerVerdictWait_;
};

std::shared_ptr<LaunchService>& Installed() {
  static std::shared_ptr<LaunchService> installed = NewDesktopLaunchService(kOpenerVerdictWait);
  return installed;
}

}  // namespace

std::shared_ptr<LaunchService> NewDesktopLaunchService(
    std::chrono::milliseconds openerVerdictWait) {
  return std::make_shared<DesktopLaunchService>(openerVerdictWait);
}

LaunchService& CurrentLaunchService() {
  return *Installed();
}

void InstallLaunchService(std::shared_ptr<LaunchService> service) {
  Installed() = service ? std::move(service) : NewDesktopLaunchService(kOpenerVerdictWait);
}

}  // namespace platform
