#pragma once

#include "platform/core/Runtime.h"
#include "platform/ui/Menu.h"

namespace tervix {

// The menu bar: one File menu with About, a separator, Preferences and Quit.
class MenuBar1 : public platform::MenuBar {
 public:
  static platform::ClassRecord ClassRecord();
  void Constructor();
  void Untitled0();
};

// Shutdown: releases the single instance.
void MenuBar1_implicitInstanceExit();

}  // namespace tervix
