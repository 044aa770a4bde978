#include "tests/support/TestRuntime.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/Startup.h"
#include "platform/Controls.h"
#include "platform/Runtime.h"
#include "restore/Restore.h"
#include "tests/support/FaultPlan.h"

// Fontconfig keeps caches for the life of the process, which the leak
// checker of sanitizer builds would otherwise report after every window test.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace tervix::test {

namespace fs = std::filesystem;

static std::optional<std::string> TerminalNow() {
  const auto window = platform::GetImplicitWindow(Restore::kRuntimeClassName);
  return window ? std::optional(window->ControlAs<platform::EditField>("Terminal")->Text())
                : std::nullopt;
}

void FakeTickClock::BackgroundTask() {
  if (!terminalAtWait_)
    terminalAtWait_ = TerminalNow();
  now_ = static_cast<int32_t>(static_cast<uint32_t>(now_) + 1u);
  ++backgroundTaskCalls_;
}

void RuntimeTest::SetUp() {
  root_ = (fs::temp_directory_path() / "tervix-test-XXXXXX").string();
  ASSERT_NE(mkdtemp(root_.data()), nullptr) << "cannot make a temporary folder";
  fs::create_directories(ConfigHome());
  fs::create_directories(ProfileFolder());
  setenv("HOME", Home().c_str(), 1);
  setenv("XDG_CONFIG_HOME", ConfigHome().c_str(), 1);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);

  platform::InstallTickClock(clock_);
  platform::InstallDialogHost(dialogs_);
  platform::InstallLaunchService(launches_);
  platform::SetResourceFilePath(TERVIX_RESOURCE_FILE);
  static char name[] = "tervix-tests", *arguments[] = {name, nullptr};
  platform::RuntimeInit(1, arguments);
}

void RuntimeTest::TearDown() {
  for (const auto& window : platform::OpenWindows())
    window->Close();
  platform::ReleaseImplicitWindowList();
  platform::ReleaseWindowSupportLists();
  platform::TakeHandlerException();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  FaultPlan::Uninstall();
  platform::InstallTickClock(nullptr);
  platform::InstallDialogHost(nullptr);
  platform::InstallLaunchService(nullptr);
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

void RuntimeTest::StartLauncher() {
  tervix::initialize();
  tervix::NewAppInstance();
  tervix::ApplicationAddMenuHandlers();
  tervix::MakeDefaultView();
}

std::string RuntimeTest::RestoreTerminal() const {
  return clock_->terminalAtWait().value_or(TerminalNow().value_or("<not seen>"));
}

void RuntimeTest::WriteFile(const std::string& path, const std::string& content) {
  fs::create_directories(fs::path(path).parent_path());
  ASSERT_TRUE(std::ofstream(path, std::ios::binary) << content) << "cannot write " << path;
}

std::optional<std::string> RuntimeTest::ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return in ? std::optional(std::string(std::istreambuf_iterator<char>(in), {})) : std::nullopt;
}

bool RuntimeTest::FileExists(const std::string& path) {
  return fs::exists(fs::symlink_status(path));
}

std::vector<std::string> RuntimeTest::ListFolder(const std::string& path) {
  std::vector<std::string> names;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(path, error))
    names.push_back(entry.path().filename().string());
  std::ranges::sort(names);
  return names;
}

}  // namespace tervix::test
