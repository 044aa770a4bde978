#include "about/AquaAboutBox.h"

#include <memory>
#include <string>

#include "about/TraceAnnotation.h"
#include "app/App.h"
#include "app/Instances.h"
#include "app/Pictures.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Values.h"

namespace tervix {

namespace {
constexpr const char* kAppName = "Tervix Launcher";
constexpr const char* kCopyrightLine = "\u00A9 2026 Tervix Launcher developers";
}  // namespace

const platform::WindowDesign& AquaAboutBox::Design() {
  static const platform::WindowDesign design{.title = "",
                                             .width = 284,
                                             .height = 167,
                                             .placement = 2,
                                             .frame = 0,
                                             .liveResize = false,
                                             .minimizeButton = false,
                                             .differs = {{"BalloonHelp", std::string()}}};
  return design;
}

const std::vector<platform::ControlDesign>& AquaAboutBox::Controls() {
  using enum platform::ControlClass;
  static const std::vector<platform::Property> nameLabel{
      {"TextAlign", 1}, {"Bold", true}, {"TextSize", 14}};
  static const std::vector<platform::Property> smallLabel{
      {"TextAlign", 1}, {"TextSize", 10}, {"Multiline", true}};
  static const std::vector<platform::ControlDesign> controls{
      {"icon", Canvas, 17, 22, 250, 50, "", 0, {{"UseFocusRing", true}}},
      {"name", StaticText, 24, 84, 236, 19, "kAppName", 1, nameLabel},
      {"version", StaticText, 24, 111, 236, 12, "app.majorVersion", 1, smallLabel},
      {"copyright", StaticText, 24, 135, 236, 12, "kAppCopyrightPrefix + kAppAuthorName", 6,
       smallLabel},
  };
  return controls;
}

platform::ClassRecord AquaAboutBox::ClassRecord() {
  return {kRuntimeClassName,
          "Window",
          {"Layout", "CreateControls", "_CreateControls0", "name_Open", "version_Open",
           "copyright_Open", "AddMenuHandlers", "Event_EnableMenuItems", "Event_Open",
           "_FileClose_Action", "hideControl"},
          {"Layout", "CreateControls", "AddMenuHandlers", "Open", "EnableMenuItems"}};
}

// The window's own events are bound before anything of the window is built,
// so they are in place however the framework orders the rest of construction.
void AquaAboutBox::Layout() {
  InstallWindowEventHandler("Open", [this] { Event_Open(); });
  InstallWindowEventHandler("EnableMenuItems", [this] { Event_EnableMenuItems(); });
  platform::SetProperties(*this, platform::EncodeWindowBlock(Design()));
}

void AquaAboutBox::CreateControls() {
  CreateControls0();
}

void AquaAboutBox::CreateControls0() {
  using platform::KeyOrder;
  using platform::StaticText;
  CreateControl(Controls()[0], KeyOrder::Reversed, tervix_logo4());
  CreateControl(Controls()[1], KeyOrder::Reversed);
  ControlAs<StaticText>("name")->InstallInstanceEventHandler("Open", [this] { name_Open(); });
  CreateControl(Controls()[2], KeyOrder::Reversed);
  ControlAs<StaticText>("version")->InstallInstanceEventHandler("Open", [this] { version_Open(); });
  CreateControl(Controls()[3], KeyOrder::Reversed);
  ControlAs<StaticText>("copyright")->InstallInstanceEventHandler("Open", [this] {
    copyright_Open();
  });
}

void AquaAboutBox::AddMenuHandlers(platform::Window& window) {
  AquaAboutBox* box = platform::TypeTest<AquaAboutBox>(window.shared_from_this()).get();
  box->AddMenuHandler("FileClose", [box] { return box->FileClose_Action(); });
}

void AquaAboutBox::name_Open() {
  WithTraceName("AquaAboutBox.Name.Open",
                [this] { ControlAs<platform::StaticText>("name")->SetText(kAppName); });
}

void AquaAboutBox::version_Open() {
  WithTraceName("AquaAboutBox.Version.Open", [this] {
    const std::shared_ptr<App> appObject = instance::App();
    const App& app = platform::NotNil(appObject);
    ControlAs<platform::StaticText>("version")->SetText(platform::Str(app.MajorVersion()) + "." +
                                                        platform::Str(app.MinorVersion()));
  });
}

void AquaAboutBox::copyright_Open() {
  WithTraceName("AquaAboutBox.Copyright.Open",
                [this] { ControlAs<platform::StaticText>("copyright")->SetText(kCopyrightLine); });
}

void AquaAboutBox::Event_EnableMenuItems() {
  WithTraceName("AquaAboutBox.EnableMenuItems", [] {});
}

void AquaAboutBox::Event_Open() {
  WithTraceName("AquaAboutBox.Open", [] {});
}

// Returns false so that the command still counts as unhandled.
bool AquaAboutBox::FileClose_Action() {
  return WithTraceName("AquaAboutBox.FileClose", [this] {
    Close();
    return false;
  });
}

}  // namespace tervix
