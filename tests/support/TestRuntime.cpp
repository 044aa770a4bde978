#include "tests/support/TestRuntime.h"

#include <QCoreApplication>
#include <QEvent>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/Startup.h"
#include "platform/Controls.h"
#include "platform/Runtime.h"
#include "platform/Window.h"
#include "restore/Restore.h"
#include "tests/support/FaultPlan.h"

// Fontconfig keeps caches for the life of the process, which the leak
// checker of sanitizer builds would otherwise report after every window test.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace tervix::test {
namespace {

namespace fs = std::filesystem;

std::optional<std::string> TerminalNow() {
  const auto window = platform::GetImplicitWindow(Restore::kRuntimeClassName);
  if (!window)
    return std::nullopt;
  return window->ControlAs<platform::EditField>("Terminal")->Text();
}

}  // namespace

void FakeTickClock::BackgroundTask() {
  if (!terminalAtWait_)
    terminalAtWait_ = TerminalNow();
  now_ = static_cast<int32_t>(static_cast<uint32_t>(now_) + 1u);
  ++backgroundTaskCalls_;
}

std::optional<std::string> ScriptedDialogs::ChooseFile(const std::string& title,
                                                       const std::string& initialDirectory) {
  openFileTitles_.push_back(title);
  initialDirectories_.push_back(initialDirectory);
  return nextAnswer_ < answers_.size() ? answers_[nextAnswer_++] : std::nullopt;
}

void RuntimeTest::SetUp() {
  std::string pattern = (fs::temp_directory_path() / "tervix-test-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr) << "cannot make a temporary folder";
  root_ = pattern;
  fs::create_directories(ConfigHome());
  fs::create_directories(ProfileFolder());
  setenv("HOME", Home().c_str(), 1);
  setenv("XDG_CONFIG_HOME", ConfigHome().c_str(), 1);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);

  clock_ = std::make_shared<FakeTickClock>();
  dialogs_ = std::make_shared<ScriptedDialogs>();
  launches_ = std::make_shared<LaunchRecorder>();
  platform::InstallTickClock(clock_);
  platform::InstallDialogHost(dialogs_);
  platform::InstallLaunchService(launches_);
  platform::SetResourceFilePath(TERVIX_RESOURCE_FILE);
  static char name[] = "tervix-tests";
  static char* arguments[] = {name, nullptr};
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
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
  ASSERT_TRUE(out.good()) << "cannot write " << path;
}

std::optional<std::string> RuntimeTest::ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool RuntimeTest::FileExists(const std::string& path) {
  std::error_code ignored;
  return fs::exists(fs::symlink_status(path, ignored));
}

std::vector<std::string> RuntimeTest::ListFolder(const std::string& path) {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator entry(path, error), end; !error && entry != end;
       entry.increment(error)) {
    names.push_back(entry->path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace tervix::test
