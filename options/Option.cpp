#include "options/Option.h"

#include <memory>

#include "app/ExecutableDialog.h"
#include "platform/files/FolderItem.h"
#include "platform/ui/Controls.h"
#include "prefs/Prefs.h"

namespace tervix {

const platform::WindowDesign& Option::Design() {
  static const platform::WindowDesign design{.title = "Untitled",
                                             .width = 274,
                                             .height = 188,
                                             .placement = 0,
                                             .frame = 8,
                                             .liveResize = true,
                                             .minimizeButton = true,
                                             .differs = {}};
  return design;
}

const std::vector<platform::ControlDesign>& Option::Controls() {
  using enum platform::ControlClass;
  static const std::vector<platform::ControlDesign> controls{
      {"BevelButton1", BevelButton, 194, 146, 60, 22, "Ok", 0, {}},
      {"BevelButton2", BevelButton, 122, 146, 60, 22, "Cancel", 1, {}},
      {"EditField1", EditField, 20, 33, 234, 22, "", 2, {}},
      {"StaticText1", StaticText, 20, 14, 100, 20, "Default login", 3, {}},
      {"StaticText2", StaticText, 20, 65, 119, 20, "Tervix executable", 4, {}},
      {"Executable", EditField, 21, 86, 185, 23, "", 5, {}},
      {"BevelButton3", BevelButton, 212, 86, 42, 22, "Get", 6, {}},
  };
  return controls;
}

platform::ClassRecord Option::ClassRecord() {
  return {kRuntimeClassName,
          "Window",
          {"Layout", "CreateControls", "_CreateControls0", "BevelButton1_Action", "EditField1_Open",
           "EditField1_LostFocus", "Executable_Open", "Executable_LostFocus", "BevelButton3_Action",
           "AddMenuHandlers"},
          {"Layout", "CreateControls", "AddMenuHandlers"}};
}

void Option::Layout() {
  platform::SetProperties(*this, platform::EncodeWindowBlock(Design()));
}

void Option::CreateControls() {
  CreateControls0();
}

void Option::CreateControls0() {
  using platform::BevelButton;
  using platform::EditField;
  using platform::KeyOrder;
  CreateControl(Controls()[0], KeyOrder::Reversed);
  ControlAs<BevelButton>("BevelButton1")->InstallInstanceEventHandler("Action", [this] {
    BevelButton1_Action();
  });
  CreateControl(Controls()[1], KeyOrder::Reversed);
  CreateControl(Controls()[2], KeyOrder::Reversed);
  ControlAs<EditField>("EditField1")->InstallInstanceEventHandler("Open", [this] {
    EditField1_Open();
  });
  ControlAs<EditField>("EditField1")->InstallInstanceEventHandler("LostFocus", [this] {
    EditField1_LostFocus();
  });
  CreateControl(Controls()[3], KeyOrder::Reversed);
  CreateControl(Controls()[4], KeyOrder::Reversed);
  CreateControl(Controls()[5], KeyOrder::Reversed);
  ControlAs<EditField>("Executable")->InstallInstanceEventHandler("Open", [this] {
    Executable_Open();
  });
  ControlAs<EditField>("Executable")->InstallInstanceEventHandler("LostFocus", [this] {
    Executable_LostFocus();
  });
  CreateControl(Controls()[6], KeyOrder::Reversed);
  ControlAs<BevelButton>("BevelButton3")->InstallInstanceEventHandler("Action", [this] {
    BevelButton3_Action();
  });
}

// The window has no menu handlers; the type test still fails loudly if the
// framework hands over a window of another class.
void Option::AddMenuHandlers(platform::Window& window) {
  platform::TypeTest<Option>(window.shared_from_this());
}

// "Ok" only closes: every value was stored when its field lost the focus.
void Option::BevelButton1_Action() {
  Close();
}

void Option::EditField1_Open() {
  ControlAs<platform::EditField>("EditField1")->SetText(Prefs::PrefLogin());
}

void Option::EditField1_LostFocus() {
  Prefs::PrefLogin(ControlAs<platform::EditField>("EditField1")->Text());
}

void Option::Executable_Open() {
  ControlAs<platform::EditField>("Executable")->SetText(Prefs::PrefExecutable());
}

void Option::Executable_LostFocus() {
  Prefs::PrefExecutable(ControlAs<platform::EditField>("Executable")->Text());
}

void Option::BevelButton3_Action() {
  const std::shared_ptr<platform::FolderItem> chosen = ChooseExecutable();
  if (!chosen)
    return;
  ControlAs<platform::EditField>("Executable")->SetText(chosen->ShellPath());
  Prefs::PrefExecutable(chosen->ShellPath());
}

}  // namespace tervix
