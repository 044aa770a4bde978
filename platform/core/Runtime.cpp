#include "platform/core/Runtime.h"

#include <QApplication>
#include <QEventLoop>
#include <QSettings>
#include <cstdint>
#include <iostream>

#include "platform/core/Application.h"
#include "platform/core/Exceptions.h"
#include "platform/core/qt/Dispatcher.h"
#include "platform/core/qt/Services.h"
#include "platform/ui/Window.h"

namespace platform {
namespace {

struct RuntimeState {
  std::vector<ClassRecord> classes;
  std::shared_ptr<Application> application;
  std::optional<int> pendingQuit;
  std::optional<int> quitCode;
  std::exception_ptr handlerException;
  bool hadUnhandledException = false;
  QEventLoop* loop = nullptr;
  int dispatchDepth = 0;
};

RuntimeState& State() {
  static RuntimeState state;
  return state;
}

// The toolkit keeps its own settings (the file dialog's history and
// sidebar) in the config home, beside the player's preferences. Pointing
// every settings path at a character device leaves nothing that can be read
// or created there, so those settings live in memory for the run.
void KeepToolkitSettingsOffDisk() {
  constexpr const char* kNowhere = "/dev/null";
  for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
    QSettings::setPath(format, QSettings::UserScope, kNowhere);
    QSettings::setPath(format, QSettings::SystemScope, kNowhere);
  }
}

// The launcher takes no command-line options: the toolkit sees only the
// program name, so its own options (-reverse, -stylesheet, -platform) change
// nothing. QApplication keeps references to argc and argv for its whole life.
void CreateApplication(const char* programName) {
  if (QApplication::instance() != nullptr)
    return;
  KeepToolkitSettingsOffDisk();
  static std::string name = programName != nullptr ? programName : "tervix-launcher";
  static char* arguments[] = {name.data(), nullptr};
  static int count = 1;
  // Never destroyed: widgets of released windows are deleted later through
  // the event queue, and the application must outlive them.
  auto* application = new QApplication(count, arguments);
  application->setQuitOnLastWindowClosed(false);
}

void EndEventLoop() {
  if (State().loop != nullptr)
    State().loop->exit(0);
}

std::string MessageOf(const std::exception_ptr& exception) {
  try {
    std::rethrow_exception(exception);
  } catch (const RuntimeException& error) {
    return error.Message();
  } catch (const std::exception& error) {
    return error.what();
  } catch (...) {
    return "unknown exception";
  }
}

}  // namespace

void RuntimeInit(int argc, char** argv) {
  CreateApplication(argc > 0 && argv != nullptr ? argv[0] : nullptr);
  State() = RuntimeState{};
}

void RegisterClass(ClassRecord record) {
  for (const ClassRecord& known : State().classes) {
    if (known.runtimeClassName == record.runtimeClassName)
      return;
  }
  State().classes.push_back(std::move(record));
}

const std::vector<ClassRecord>& RegisteredClasses() {
  return State().classes;
}

// The launcher's windows use no external classes and no plug-in controls, so
// these start-up steps have nothing to set up.
void RuntimeInitExternalClasses() {}

void InitPluginEntrypoints() {}

void RuntimeRegisterAppObject(std::shared_ptr<Application> application) {
  State().application = std::move(application);
}

std::shared_ptr<Application> GetAppObject() {
  return State().application;
}

void RuntimeRun() {
  RuntimeState& state = State();
  if (!state.handlerException && !state.pendingQuit && OpenWindows().empty())
    Quit(0);
  if (!state.handlerException && !state.pendingQuit) {
    QEventLoop loop;
    state.loop = &loop;
    loop.exec();
    state.loop = nullptr;
  }
  if (state.pendingQuit) {
    state.quitCode = state.pendingQuit;
    state.pendingQuit.reset();
  }
  if (std::exception_ptr exception = TakeHandlerException())
    std::rethrow_exception(exception);
}

void UnhandledException(std::exception_ptr exception) {
  const std::string message = MessageOf(exception);
  std::cerr << "Unhandled exception: " << message << std::endl;
  State().hadUnhandledException = true;
}

int RuntimeExit() {
  RuntimeState& state = State();
  int status = state.quitCode.value_or(state.pendingQuit.value_or(0));
  if (state.hadUnhandledException)
    status = 1;
  return status;
}

// The class records are plain values that the process's end frees, so there
// is nothing to release early.
void ReleaseIntrospectionMaps() {}

void Quit(int code) {
  State().pendingQuit = code;
  for (const auto& window : OpenWindows())
    window->RaiseLastLostFocus();
}

std::exception_ptr TakeHandlerException() {
  std::exception_ptr exception = State().handlerException;
  State().handlerException = nullptr;
  return exception;
}

std::optional<int> PendingQuitCode() {
  return State().pendingQuit;
}

int32_t Ticks() {
  return qt::CurrentTickClock().Ticks();
}

void RuntimeBackgroundTask() {
  qt::CurrentTickClock().BackgroundTask();
}

int32_t TicksSince(int32_t start) {
  return static_cast<int32_t>(static_cast<uint32_t>(Ticks()) - static_cast<uint32_t>(start));
}

namespace qt {

void Dispatch(std::shared_ptr<Window> window, std::shared_ptr<RectControl> control,
              const std::function<void()>& handler) {
  RuntimeState& state = State();
  ++state.dispatchDepth;
  try {
    handler();
  } catch (...) {
    if (!state.handlerException)
      state.handlerException = std::current_exception();
  }
  --state.dispatchDepth;
  if (state.dispatchDepth > 0)
    return;
  if (state.handlerException || state.pendingQuit) {
    EndEventLoop();
  } else if (OpenWindows().empty()) {
    Quit(0);
    EndEventLoop();
  }
  control.reset();
  window.reset();
}

}  // namespace qt
}  // namespace platform
