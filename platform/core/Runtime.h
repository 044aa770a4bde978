#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

class Application;

// A class as the runtime knows it: registered once, kept in registration order.
struct ClassRecord {
  std::string runtimeClassName;         // "Window1.Window1", "App"
  std::string base;                     // "Window", "Application", "MenuBar"
  std::vector<std::string> operations;  // the class's own, in order
  std::vector<std::string> hooks;       // window events it answers, in order
  std::string scope = "Public";
};

// Start-up, in the order the process entry calls them. Of the command line
// only the program name is used: the launcher takes no options.
void RuntimeInit(int argc, char** argv);
// Registers a class; registering the same name again does nothing.
void RegisterClass(ClassRecord record);
const std::vector<ClassRecord>& RegisteredClasses();
void RuntimeInitExternalClasses();
void InitPluginEntrypoints();
void RuntimeRegisterAppObject(std::shared_ptr<Application> application);
std::shared_ptr<Application> GetAppObject();
// Runs the event loop until Quit. An exception that left a handler ends the
// loop and is thrown again from here.
void RuntimeRun();
// The framework's handling of an exception that escaped the program.
void UnhandledException(std::exception_ptr exception);
// Ends the runtime; the result is the process exit status (the quit code,
// or 1 after an unhandled exception).
int RuntimeExit();

// Shutdown releases, in the order the program's finalisation calls them.
void ReleaseWindowSupportLists();
void ReleaseIntrospectionMaps();

// Asks the event loop to end with the given code once the current handler
// returns. First the control that has the focus in each open window gets its
// last LostFocus, as on a close, so that what was typed is handed over; no
// window is closed.
void Quit(int code = 0);
// An exception that left a handler and that RuntimeRun has not yet thrown
// again; taking it clears it. Tests drive handlers without the loop and take it here.
std::exception_ptr TakeHandlerException();
// The code of a quit that was asked for and not yet carried out by the loop.
std::optional<int> PendingQuitCode();

// The tick counter, sixtieths of a second, and the busy-wait yield.
int32_t Ticks();
void RuntimeBackgroundTask();
// Ticks since start, computed modulo 2^32 and read as a signed 32-bit value.
int32_t TicksSince(int32_t start);

}  // namespace platform
