#include "platform/DesktopLaunch.h"

#include <QDesktopServices>
#include <QFile>
#include <QProcess>
#include <QUrl>

#include <utility>

#include "platform/FileSystem.h"

namespace platform {
namespace {

QString LocalName(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

bool IsExecutableFile(const std::string& path) {
  struct stat status {};
  return CurrentFileSystem().Stat(path, &status) == 0 && S_ISREG(status.st_mode) &&
         (status.st_mode & 0111) != 0;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos)
    return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Starts executables detached, so that they outlive the launcher, and hands
// every other file to the desktop's default handler for its type.
class DesktopLaunchService : public LaunchService {
 public:
  void Launch(const std::string& shellPath) override {
    if (shellPath.empty())
      return;
    if (IsExecutableFile(shellPath)) {
      QProcess::startDetached(LocalName(shellPath), {}, LocalName(FolderOf(shellPath)));
    } else {
      QDesktopServices::openUrl(QUrl::fromLocalFile(LocalName(shellPath)));
    }
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
