#include "app/Startup.h"

#include <exception>
#include <memory>
#include <string>

#include "about/AquaAboutBox.h"
#include "app/App.h"
#include "app/Instances.h"
#include "app/MenuBar1.h"
#include "app/Pictures.h"
#include "login/Window1.h"
#include "options/Option.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Runtime.h"
#include "platform/ui/Window.h"
#include "restore/Restore.h"

namespace tervix {
namespace {

void BindMenuHandler(const std::string& itemName, bool (App::*action)()) {
  App& application = platform::NotNil(instance::App());
  // The application object owns its handlers and lives until the process
  // ends, so the handler refers to it without keeping it alive.
  application.AddMenuHandler(itemName, [&application, action] { return (application.*action)(); });
}

}  // namespace

int main(int argc, char** argv) {
  platform::RuntimeInit(argc, argv);
  initialize();
  Main();
  finalize();
  return platform::RuntimeExit();
}

void initialize() {
  platform::RegisterClass(App::ClassRecord());
  platform::RegisterClass(Window1::ClassRecord());
  platform::RegisterClass(MenuBar1::ClassRecord());
  platform::RegisterClass(AquaAboutBox::ClassRecord());
  platform::RegisterClass(Option::ClassRecord());
  platform::RegisterClass(Restore::ClassRecord());
}

void Main() {
  try {
    platform::RuntimeInitExternalClasses();
    platform::InitPluginEntrypoints();
    InitFileTypes();
    NewAppInstance();
    ApplicationAddMenuHandlers();
    MakeDefaultView();
    platform::RuntimeRun();
  } catch (...) {
    platform::UnhandledException(std::current_exception());
  }
}

// The launcher opens no documents of its own, so it declares no file types.
void InitFileTypes() {}

void NewAppInstance() {
  auto application = std::make_shared<App>();
  platform::NotNil(application).SetMenuBar(instance::MenuBar1());
  platform::RuntimeRegisterAppObject(application);
}

void ApplicationAddMenuHandlers() {
  BindMenuHandler("Pref", &App::Pref_Action);
  BindMenuHandler("About", &App::About_Action);
}

void MakeDefaultView() {
  instance::Window1();
}

void finalize() {
  tervix_logo1_permapicExit();
  tervix_logo4_permapicExit();
  platform::ReleaseImplicitWindowList();
  platform::ReleaseWindowSupportLists();
  platform::ReleaseIntrospectionMaps();
  MenuBar1_implicitInstanceExit();
}

}  // namespace tervix
