#include "app/App.h"

#include "about/AquaAboutBox.h"
#include "app/Instances.h"
#include "options/Option.h"
#include "platform/core/Exceptions.h"

namespace tervix {

platform::ClassRecord App::ClassRecord() {
  return {"App", "Application", {"_Pref_Action", "_About_Action"}, {}, ""};
}

bool App::Pref_Action() {
  platform::NotNil(instance::Option()).Show();
  return true;
}

bool App::About_Action() {
  platform::NotNil(instance::AquaAboutBox()).Show();
  return true;
}

int App::MajorVersion() const {
  return TERVIX_VERSION_MAJOR;
}

int App::MinorVersion() const {
  return TERVIX_VERSION_MINOR;
}

}  // namespace tervix
