#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <algorithm>
#include <cstdio>
#include <map>
#include <sstream>

#include "about/AquaAboutBox.h"
#include "login/Window1.h"
#include "options/Option.h"
#include "platform/ui/qt/Widgets.h"
#include "restore/Restore.h"
#include "tests/support/TestRuntime.h"
#include "tests/support/UserActions.h"

namespace tervix::test {

// A design value as a block entry prints it: colours as #RRGGBB, strings in quotes.
std::string ValueText(const platform::PropertyValue& value) {
  struct Text {
    std::string operator()(int32_t number) const { return std::to_string(number); }
    std::string operator()(bool flag) const { return flag ? "true" : "false"; }
    std::string operator()(const std::string& text) const { return '"' + text + '"'; }
    std::string operator()(const platform::Color& colour) const {
      char text[8];
      std::snprintf(text, sizeof text, "#%02X%02X%02X", colour.red, colour.green, colour.blue);
      return text;
    }
  };
  return std::visit(Text{}, value);
}

// Each block the framework decodes, with the kind it names, one "Key=value" a
// line: the linker routes every decoding through here.
std::string appliedBlocks;

std::vector<platform::Property> RealDecodeBlock(
    const std::string& block, const std::string& kind) __asm__("__real_" DECODE_BLOCK_SYMBOL);
std::vector<platform::Property> RecordDecodedBlock(
    const std::string& block, const std::string& kind) __asm__("__wrap_" DECODE_BLOCK_SYMBOL);

std::vector<platform::Property> RecordDecodedBlock(const std::string& block,
                                                   const std::string& kind) {
  std::vector<platform::Property> entries = RealDecodeBlock(block, kind);
  appliedBlocks += kind + ":\n";
  for (const platform::Property& entry : entries)
    appliedBlocks += entry.key + "=" + ValueText(entry.value) + "\n";
  return entries;
}

namespace {

using platform::ControlDesign;
using platform::KeyOrder;
using platform::Property;

// Every key of each kind of block in its order, with the value that every
// block holds unless its design gives another; "?" marks what each design gives.
const std::string kLead =
    "Name=? Index=-2147483648 Left=? Top=? Width=? Height=? LockLeft=false LockTop=false "
    "LockRight=false LockBottom=false TabPanelIndex=0 TabIndex=? ";
const std::map<std::string, std::string> kDefaults{
    {"Window",
     "Placement=? Width=? Height=? MinWidth=64 MinHeight=64 MaxWidth=32000 MaxHeight=32000 "
     "Frame=? Composite=false HasBackColor=false BackColor=#FFFFFF Title=? Visible=true "
     "FullScreen=false MenuBarVisible=true CloseButton=true Resizeable=false LiveResize=? "
     "MaximizeButton=false MinimizeButton=? MacProcID=0"},
    {"Canvas", kLead +
                   "Visible=true HelpTag=\"\" AutoDeactivate=true Enabled=true UseFocusRing=? "
                   "AcceptFocus=false AcceptTabs=false EraseBackground=true InitialParent=\"\""},
    {"EditField",
     kLead +
         "Border=true Multiline=false ScrollbarHorizontal=false ScrollbarVertical=true "
         "Styled=false Password=false UseFocusRing=true TextColor=#000000 BackColor=#FFFFFF "
         "Enabled=true Format=\"\" Visible=true HelpTag=\"\" AutoDeactivate=true "
         "TextFont=\"System\" TextSize=0 Bold=false Italic=false Underline=false Text=? Mask=\"\" "
         "ReadOnly=false LimitText=0 AcceptTabs=false Alignment=0 DataSource=\"\" DataField=\"\" "
         "InitialParent=\"\""},
    {"StaticText", kLead + "Text=? TextAlign=0 TextColor=#000000 Multiline=false Enabled=true "
                           "Visible=true HelpTag=\"\" AutoDeactivate=true TextFont=\"System\" "
                           "TextSize=0 Bold=false Italic=false Underline=false DataSource=\"\" "
                           "DataField=\"\" InitialParent=\"\""},
    {"BevelButton",
     kLead + "InitialParent=\"\" Visible=true HelpTag=\"\" AutoDeactivate=true Enabled=true "
             "Caption=? CaptionAlign=3 CaptionPlacement=1 CaptionDelta=0 IconAlign=0 IconDX=0 "
             "IconDY=0 Bevel=3 HasMenu=0 Value=false MenuValue=0 ButtonType=0 AcceptFocus=false "
             "TextFont=\"System\" TextSize=0 Bold=false Italic=false Underline=false"},
};

// The block a design must come to: the kind's keys in the given order, each
// with the design's value or else the default; a key that no block of the
// kind holds by default follows at the end.
std::string ExpectedBlock(const std::string& kind, std::vector<Property> given, KeyOrder order) {
  std::string block;
  std::istringstream words(kDefaults.at(kind));
  for (std::string word; words >> word;) {
    const std::string key = word.substr(0, word.find('='));
    auto own = std::find_if(given.begin(), given.end(), [&](auto& p) { return p.key == key; });
    const std::string line = own == given.end() ? word : key + "=" + ValueText(own->value);
    block = order == KeyOrder::Reversed ? line + "\n" + block : block + line + "\n";
    if (own != given.end())
      given.erase(own);
  }
  for (const Property& extra : given)
    block += extra.key + "=" + ValueText(extra.value) + "\n";
  return kind + ":\n" + block;
}

std::string ExpectedBlocks(const platform::WindowDesign& window,
                           const std::vector<ControlDesign>& controls, KeyOrder order) {
  std::vector<Property> given{{"Title", window.title},   {"Width", window.width},
                              {"Height", window.height}, {"Placement", window.placement},
                              {"Frame", window.frame},   {"LiveResize", window.liveResize}};
  given.push_back({"MinimizeButton", window.minimizeButton});
  given.insert(given.end(), window.differs.begin(), window.differs.end());
  std::string blocks = ExpectedBlock("Window", given, KeyOrder::Forward);
  for (const ControlDesign& row : controls) {
    const std::string kind = platform::ControlClassName(row.kind);
    given = {{"Name", row.name},   {"Left", row.left},     {"Top", row.top},
             {"Width", row.width}, {"Height", row.height}, {"TabIndex", row.tabIndex}};
    if (kind != "Canvas")
      given.push_back({kind == "BevelButton" ? "Caption" : "Text", row.text});
    given.insert(given.end(), row.differs.begin(), row.differs.end());
    blocks += ExpectedBlock(kind, given, order);
  }
  return blocks;
}

// Each window as the player opens it (by a menu item, a button of the login
// window, or start-up), with the key order its blocks come in.
struct DesignedWindow {
  const char* name;
  const char* runtimeClassName;
  const char* opener;
  KeyOrder order;
  const platform::WindowDesign& (*design)();
  const std::vector<ControlDesign>& (*controls)();
  friend void PrintTo(const DesignedWindow& window, std::ostream* out) { *out << window.name; }
};

const DesignedWindow kWindows[] = {
    {"Login", Window1::kRuntimeClassName, "", KeyOrder::Forward, Window1::Design,
     Window1::Controls},
    {"Restore", Restore::kRuntimeClassName, "BevelButton2", KeyOrder::Forward, Restore::Design,
     Restore::Controls},
    {"Preferences", Option::kRuntimeClassName, "Pref", KeyOrder::Reversed, Option::Design,
     Option::Controls},
    {"About", AquaAboutBox::kRuntimeClassName, "About", KeyOrder::Reversed, AquaAboutBox::Design,
     AquaAboutBox::Controls},
};

// What the player would miss on the built window: its close box, its
// minimize box where the design has one, its fixed size, each field's frame
// and each canvas's picture. Empty when nothing is missing.
std::string Missing(const platform::Window& window, const DesignedWindow& designed) {
  const QMainWindow& shown = *platform::qt::WindowQWidget(window);
  const Qt::WindowFlags flags = shown.windowFlags();
  std::string missing = flags & Qt::WindowCloseButtonHint ? "" : " close box";
  if (bool(flags & Qt::WindowMinimizeButtonHint) != designed.design().minimizeButton)
    missing += " minimize box as designed";
  if (flags & Qt::WindowMaximizeButtonHint || shown.minimumSize() != shown.maximumSize())
    missing += " fixed size";
  for (const ControlDesign& row : designed.controls()) {
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
  StartLauncher();
  if (*designed.opener != '\0') {
    appliedBlocks.clear();
    if (std::string(designed.opener).starts_with("Bevel"))
      Click(platform::NotNil(platform::GetImplicitWindow(Window1::kRuntimeClassName)),
            designed.opener);
    else
      ChooseMenu(designed.opener);
  }
  const auto window = platform::GetImplicitWindow(designed.runtimeClassName);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(appliedBlocks, ExpectedBlocks(designed.design(), designed.controls(), designed.order));
  EXPECT_EQ(Missing(*window, designed), "");
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, WindowDesignTest, testing::ValuesIn(kWindows),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tervix::test
