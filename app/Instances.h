#pragma once

#include <memory>

// The accessors of the process-wide single objects, each named as its class:
// the open window of a window class (built when there is none), the menu bar
// instance and the registered application object.
namespace tervix {
class App;
class MenuBar1;
class Window1;
class Restore;
class Option;
class AquaAboutBox;
}  // namespace tervix

namespace tervix::instance {
std::shared_ptr<tervix::App> App();
std::shared_ptr<tervix::MenuBar1> MenuBar1();
std::shared_ptr<tervix::Window1> Window1();
std::shared_ptr<tervix::Restore> Restore();
std::shared_ptr<tervix::Option> Option();
std::shared_ptr<tervix::AquaAboutBox> AquaAboutBox();
}  // namespace tervix::instance
