#include "platform/files/DesktopLaunch.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <utility>
#include <vector>

#include "platform/files/FileSystem.h"

namespace platform {
namespace {

// The program to run and the folder to run it in, prepared before the fork,
// since the child may only make async-signal-safe calls.
struct Program {
  std::string file;
  std::vector<std::string> arguments;
  std::string folder;
  bool searchPath = false;
  // A file the kernel refuses as not executable runs through the shell, as a shell would.
  bool shellFallback = false;
};

std::vector<char*> ArgumentVector(std::vector<std::string>& arguments) {
  std::vector<char*> vector;
  for (std::string& argument : arguments)
    vector.push_back(argument.data());
  vector.push_back(nullptr);
  return vector;
}

[[noreturn]] void ReportAndExit(int reportPipe, int error) {
  while (write(reportPipe, &error, sizeof error) < 0 && errno == EINTR) {
  }
  _exit(127);
}

// Runs in the grandchild: its own session, its own folder, then the program.
[[noreturn]] void Exec(Program& program, char* const* argv, char* const* shellArgv,
                       int reportPipe) {
  setsid();
  if (!program.folder.empty() && chdir(program.folder.c_str()) != 0)
    ReportAndExit(reportPipe, errno);
  if (program.searchPath)
    execvp(program.file.c_str(), argv);
  else
    execv(program.file.c_str(), argv);
  if (errno == ENOEXEC && program.shellFallback)
    execv(shellArgv[0], shellArgv);
  ReportAndExit(reportPipe, errno);
}

// Starts the program in a grandchild, so that it outlives the launcher and
// leaves no zombie. A close-on-exec pipe tells whether the exec happened:
// it closes empty when it did, and carries the errno when it did not.
int StartDetached(Program program) {
  std::vector<char*> argv = ArgumentVector(program.arguments);
  std::vector<std::string> shellArguments{"/bin/sh", program.file};
  std::vector<char*> shellArgv = ArgumentVector(shellArguments);
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0)
    return errno;
  const pid_t child = fork();
  if (child < 0) {
    const int error = errno;
    close(report[0]);
    close(report[1]);
    return error;
  }
  if (child == 0) {
    close(report[0]);
    const pid_t grandchild = fork();
    if (grandchild < 0)
      ReportAndExit(report[1], errno);
    if (grandchild == 0)
      Exec(program, argv.data(), shellArgv.data(), report[1]);
    _exit(0);
  }
  close(report[1]);
  int error = 0;
  ssize_t got;
  while ((got = read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
  }
  close(report[0]);
  while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
  }
  return got == static_cast<ssize_t>(sizeof error) ? error : 0;
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
// and hands every other file to the desktop's default application.
class DesktopLaunchService : public LaunchService {
 public:
  int Launch(const std::string& shellPath) override {
    struct stat status {};
    if (CurrentFileSystem().Stat(shellPath, &status) != 0)
      return errno;
    if (S_ISDIR(status.st_mode))
      return EISDIR;
    const std::string path = Absolute(shellPath);
    if (S_ISREG(status.st_mode) && (status.st_mode & 0111) != 0)
      return StartDetached({path, {path}, FolderOf(path), false, true});
    return StartDetached({"xdg-open", {"xdg-open", path}, {}, true, false});
  }
};

std::shared_ptr<LaunchService>& Installed() {
  static std::shared_ptr<LaunchService> installed = std::make_shared<DesktopLaunchService>();
  return installed;
}

}  // namespace

LaunchService& CurrentLaunchService() {
  return *Installed();
}

void InstallLaunchService(std::shared_ptr<LaunchService> service) {
  Installed() = service ? std::move(service) : std::make_shared<DesktopLaunchService>();
}

}  // namespace platform
