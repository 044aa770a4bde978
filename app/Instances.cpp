#include "app/Instances.h"

#include "about/AquaAboutBox.h"
#include "app/App.h"
#include "login/Window1.h"
#include "options/Option.h"
#include "platform/core/Runtime.h"
#include "platform/ui/Window.h"
#include "restore/Restore.h"

namespace tervix::instance {

std::shared_ptr<tervix::App> App() {
  return std::dynamic_pointer_cast<tervix::App>(platform::GetAppObject());
}

std::shared_ptr<tervix::Window1> Window1() {
  return platform::ImplicitInstance<tervix::Window1>();
}

std::shared_ptr<tervix::Restore> Restore() {
  return platform::ImplicitInstance<tervix::Restore>();
}

std::shared_ptr<tervix::Option> Option() {
  return platform::ImplicitInstance<tervix::Option>();
}

std::shared_ptr<tervix::AquaAboutBox> AquaAboutBox() {
  return platform::ImplicitInstance<tervix::AquaAboutBox>();
}

}  // namespace tervix::instance
