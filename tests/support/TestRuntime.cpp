#include "tests/support/TestRuntime.h"

#include <QCoreApplication>
#include <QEvent>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "app/Startup.h"
#include "platform/Runtime.h"
#include "platform/Window.h"
#include "prefs/Prefs.h"
#include "tests/support/FaultPlan.h"

// Fontconfig keeps caches for the life of the process, which the leak
// checker of sanitizer builds would otherwise report after every window test.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace tervix::test {
namespace {

namespace fs = std::filesystem;

// The resource file is built at the top of the build tree, not beside each
// test executable, so the harness finds it by walking up from there.
void UseBuiltResourceFile() {
  std::error_code error;
  fs::path folder = fs::read_symlink("/proc/self/exe", error).parent_path();
  for (; !error && !folder.empty(); folder = folder.parent_path()) {
    if (fs::exists(folder / "tervix.rcc")) {
      platform::SetResourceFilePath((folder / "tervix.rcc").string());
      return;
    }
    if (folder == folder.root_path())
      return;
  }
}

}  // namespace

void FakeTickClock::BackgroundTask() {
  now_ = static_cast<int32_t>(static_cast<uint32_t>(now_) + 1u);
  ++backgroundTaskCalls_;
}

void ScriptedDialogs::AnswerNextOpenFile(std::optional<std::string> path) {
  answers_.push_back(std::move(path));
}

std::optional<std::string> ScriptedDialogs::ChooseFile(const std::string& title,
                                                       const std::string& initialDirectory) {
  openFileTitles_.push_back(title);
  initialDirectories_.push_back(initialDirectory);
  if (answers_.empty())
    return std::nullopt;
  std::optional<std::string> answer = answers_.front();
  answers_.erase(answers_.begin());
  return answer;
}

int ScriptedDialogs::ShowMessage(const std::string& text, int style, const std::string& title) {
  messages_.push_back({text, style, title});
  return 1;
}

void RuntimeTest::SetUp() {
  std::string pattern = (fs::temp_directory_path() / "tervix-test-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr) << "cannot make a temporary folder";
  root_ = pattern;
  home_ = root_ + "/home";
  configHome_ = root_ + "/config";
  fs::create_directories(home_);
  fs::create_directories(configHome_);
  fs::create_directories(ProfileFolder());
  setenv("HOME", home_.c_str(), 1);
  setenv("XDG_CONFIG_HOME", configHome_.c_str(), 1);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);

  clock_ = std::make_shared<FakeTickClock>();
  dialogs_ = std::make_shared<ScriptedDialogs>();
  launches_ = std::make_shared<LaunchRecorder>();
  platform::InstallTickClock(clock_);
  platform::InstallDialogHost(dialogs_);
  platform::InstallLaunchService(launches_);
  UseBuiltResourceFile();
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
  if (!root_.empty())
    fs::remove_all(root_, ignored);
}

void RuntimeTest::StartLauncher() {
  tervix::initialize();
  tervix::NewAppInstance();
  tervix::ApplicationAddMenuHandlers();
  tervix::MakeDefaultView();
}

std::string RuntimeTest::ProfileFolder() const {
  return home_ + "/Library/Application Support/Tervix/";
}

std::string RuntimeTest::PrefsFolderPath() const {
  return configHome_ + "/" + tervix::Prefs::kApplicationFolderName;
}

void RuntimeTest::WriteFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
  ASSERT_TRUE(out.good()) << "cannot write " << path;
}

std::optional<std::string> RuntimeTest::ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return std::nullopt;
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
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
