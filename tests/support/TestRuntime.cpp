#include "tests/support/TestRuntime.h"

#include <QCoreApplication>
#include <cstdlib>

#include "app/Startup.h"
#include "platform/core/Runtime.h"
#include "platform/ui/Controls.h"
#include "restore/Restore.h"

// Fontconfig's process-long caches would otherwise be reported as leaks in sanitizer builds.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace tervix::test {

static std::optional<std::string> TerminalNow() {
  const auto window = platform::GetImplicitWindow(Restore::kRuntimeClassName);
  return window ? std::optional(window->ControlAs<platform::EditField>("Terminal")->Text())
                : std::nullopt;
}

void FakeTickClock::BackgroundTask() {
  const auto restore = platform::GetImplicitWindow(Restore::kRuntimeClassName);
  if (!terminalAtWait_ && restore) {
    terminalAtWait_ = TerminalNow();
    for (const char* button : {"BevelYES", "BevelNO"})
      pressableAtWait_ += restore->ControlByName(button)->Enabled() ? button : "";
  }
  now_ = static_cast<int32_t>(static_cast<uint32_t>(now_) + 1u);
  ++backgroundTaskCalls_;
}

void RuntimeTest::SetUp() {
  ScratchFolderTest::SetUp();
  setenv("QT_QPA_PLATFORM", "offscreen", 1);

  platform::InstallTickClock(clock_);
  platform::InstallDialogHost(dialogs_);
  platform::InstallLaunchService(launches_);
  platform::SetResourceFilePath(TERVIX_RESOURCE_FILE);
  std::vector<std::string> words = CommandLine();
  std::vector<char*> arguments;
  for (std::string& word : words)
    arguments.push_back(word.data());
  arguments.push_back(nullptr);
  platform::RuntimeInit(static_cast<int>(words.size()), arguments.data());
}

void RuntimeTest::TearDown() {
  for (const auto& window : platform::OpenWindows())
    window->Close();
  platform::ReleaseImplicitWindowList();
  platform::ReleaseWindowSupportLists();
  platform::TakeHandlerException();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  platform::InstallTickClock(nullptr);
  platform::InstallDialogHost(nullptr);
  platform::InstallLaunchService(nullptr);
  ScratchFolderTest::TearDown();
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

}  // namespace tervix::test
