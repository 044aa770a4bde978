#pragma once

#include "platform/core/Application.h"
#include "platform/core/Runtime.h"

namespace tervix {

// The application object.
class App : public platform::Application {
 public:
  static platform::ClassRecord ClassRecord();

  // Menu handlers of "Pref" and "About": show the window, report it handled.
  bool Pref_Action();
  bool About_Action();

  int MajorVersion() const override;
  int MinorVersion() const override;
};

}  // namespace tervix
