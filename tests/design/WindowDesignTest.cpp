#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>

#include "about/AquaAboutBox.h"
#include "login/Window1.h"
#include "options/Option.h"
#include "platform/ui/qt/Widgets.h"
#include "restore/Restore.h"
#include "tests/design/DescribeBlock.h"
#include "tests/support/TestRuntime.h"
#include "tests/support/UserActions.h"

namespace tervix::test {

// Each block the framework applies, with the kind it names, as the player's
// actions have it applied.
std::string appliedBlocks;

std::vector<platform::Property> RealDecodeBlock(
    const std::string& block, const std::string& kind) __asm__("__real_" DECODE_BLOCK_SYMBOL);
std::vector<platform::Property> RecordDecodedBlock(
    const std::string& block, const std::string& kind) __asm__("__wrap_" DECODE_BLOCK_SYMBOL);

std::vector<platform::Property> RecordDecodedBlock(const std::string& block,
                                                   const std::string& kind) {
  std::vector<platform::Property> entries = RealDecodeBlock(block, kind);
  appliedBlocks += kind + ":\n" + Describe(entries);
  return entries;
}

namespace {

using platform::Color;
using platform::ControlDesign;
using platform::KeyOrder;

struct DesignedWindow {
  std::string name;
  std::string runtimeClassName;
  std::string opener;  // what the player chooses or clicks in the login window; "" for start-up
  platform::WindowDesign window;
  KeyOrder order;
  std::vector<ControlDesign> controls;
  friend void PrintTo(const DesignedWindow& window, std::ostream* out) { *out << window.name; }
};

// What each window differs in from the shared defaults, as the player must get it.
// clang-format off
using enum platform::ControlClass;
const ControlDesign kBanner{"Canvas1", Canvas, 0, 0, 395, 57, "", 0,
                            {{"LockLeft", true}, {"LockTop", true}, {"UseFocusRing", false}}};
const std::vector<platform::Property> kSmallLabel{
    {"TextAlign", 1}, {"TextSize", 10}, {"Multiline", true}};
const DesignedWindow kWindows[] = {
    {"Login", Window1::kRuntimeClassName, "", {"Tervix Launcher", 389, 148, 2, 0, false, true, {}},
     KeyOrder::Forward,
     {kBanner,
      {"EditField1", EditField, 60, 70, 199, 22, "", 1, {}},
      {"StaticText1", StaticText, 13, 72, 35, 20, "Login", 2, {}},
      {"StaticText2", StaticText, 0, 104, 276, 20, "Please enter your gateway login...", 4,
       {{"TextAlign", 1}, {"TextColor", Color{0x2A, 0x43, 0x91}}}},
      {"BevelButton1", BevelButton, 277, 70, 92, 22, "Logon", 0, {}},
      {"BevelButton2", BevelButton, 277, 102, 92, 22, "Restore", 5, {}}}},
    {"Restore", Restore::kRuntimeClassName, "BevelButton2",
     {"Tervix Launcher", 389, 288, 2, 0, false, true, {}}, KeyOrder::Forward,
     {kBanner,
      {"Terminal", EditField, 20, 69, 349, 165, "Tervix Restore System v1.0", 1,
       {{"Multiline", true}, {"TextColor", Color{0, 255, 0}}, {"BackColor", Color{0, 0, 0}},
        {"TextSize", 10}, {"UseFocusRing", false}}},
      {"BevelYES", BevelButton, 205, 246, 117, 22, "Yes", 2, {}},
      {"BevelNO", BevelButton, 65, 246, 117, 22, "No", 3, {}}}},
    {"Preferences", Option::kRuntimeClassName, "Pref", {"Untitled", 274, 188, 0, 8, true, true, {}},
     KeyOrder::Reversed,
     {{"BevelButton1", BevelButton, 194, 146, 60, 22, "Ok", 0, {}},
      {"BevelButton2", BevelButton, 122, 146, 60, 22, "Cancel", 1, {}},
      {"EditField1", EditField, 20, 33, 234, 22, "", 2, {}},
      {"StaticText1", StaticText, 20, 14, 100, 20, "Default login", 3, {}},
      {"StaticText2", StaticText, 20, 65, 119, 20, "Tervix executable", 4, {}},
      {"Executable", EditField, 21, 86, 185, 23, "", 5, {}},
      {"BevelButton3", BevelButton, 212, 86, 42, 22, "Get", 6, {}}}},
    {"About", AquaAboutBox::kRuntimeClassName, "About",
     {"", 284, 167, 2, 0, false, false, {{"BalloonHelp", std::string()}}}, KeyOrder::Reversed,
     {{"icon", Canvas, 17, 22, 250, 50, "", 0, {{"UseFocusRing", true}}},
      {"name", StaticText, 24, 84, 236, 19, "kAppName", 1,
       {{"TextAlign", 1}, {"Bold", true}, {"TextSize", 14}}},
      {"version", StaticText, 24, 111, 236, 12, "app.majorVersion", 1, kSmallLabel},
      {"copyright", StaticText, 24, 135, 236, 12, "kAppCopyrightPrefix + kAppAuthorName", 6,
       kSmallLabel}}},
};
// clang-format on

// What the player would miss on the built window: its close box, its
// minimize box where the design has one, its fixed size, each field's frame
// and each canvas's picture. Empty when nothing is missing.
std::string Missing(const platform::Window& window, const DesignedWindow& designed) {
  const QMainWindow& shown = *platform::qt::WindowQWidget(window);
  const Qt::WindowFlags flags = shown.windowFlags();
  std::string missing = flags & Qt::WindowCloseButtonHint ? "" : " close box";
  missing += bool(flags & Qt::WindowMinimizeButtonHint) == designed.window.minimizeButton
                 ? ""
                 : " minimize box as designed";
  missing += flags & Qt::WindowMaximizeButtonHint || shown.minimumSize() != shown.maximumSize()
                 ? " fixed size"
                 : "";
  for (const ControlDesign& row : designed.controls) {
    const auto& control = platform::NotNil(window.ControlByName(row.name));
    const QWidget* input = platform::qt::ControlInputWidget(control);
    const auto* line = qobject_cast<const QLineEdit*>(input);
    const auto* text = qobject_cast<const QPlainTextEdit*>(input);
    if ((line && !line->hasFrame()) || (text && text->frameShape() == QFrame::NoFrame))
      missing += " " + row.name + "'s frame";
    const auto* canvas = dynamic_cast<const platform::Canvas*>(&control);
    if (canvas && !canvas->Backdrop())
      missing += " " + row.name + "'s picture";
  }
  return missing;
}

class WindowDesignTest : public RuntimeTest, public testing::WithParamInterface<DesignedWindow> {};

TEST_P(WindowDesignTest, WindowIsBuiltFromItsDesignOverTheSharedDefaults) {
  const DesignedWindow& designed = GetParam();
  appliedBlocks.clear();
  StartLauncher();
  if (!designed.opener.empty()) {
    appliedBlocks.clear();
    if (designed.opener.starts_with("Bevel"))
      Click(platform::NotNil(platform::GetImplicitWindow(Window1::kRuntimeClassName)),
            designed.opener);
    else
      ChooseMenu(designed.opener);
  }
  const auto window = platform::GetImplicitWindow(designed.runtimeClassName);
  ASSERT_NE(window, nullptr);

  std::string expected = "Window:\n" + Describe(RealDecodeBlock(
                                           platform::EncodeWindowBlock(designed.window), "Window"));
  for (const ControlDesign& row : designed.controls) {
    const std::string kind = platform::ControlClassName(row.kind);
    expected += kind + ":\n" +
                Describe(RealDecodeBlock(platform::EncodeControlBlock(row, designed.order), kind));
  }
  EXPECT_EQ(appliedBlocks, expected);
  EXPECT_EQ(Missing(*window, designed), "");
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, WindowDesignTest, testing::ValuesIn(kWindows),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace tervix::test
