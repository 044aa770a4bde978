#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <sstream>

#include "platform/core/Exceptions.h"
#include "tests/design/DescribeBlock.h"

namespace tervix::test {
namespace {

using platform::ControlClass;
using platform::KeyOrder;

// Every key of each kind of block in its order, with the values that every
// block shares; the values a design must give are those of Cases() below.
constexpr const char* kWindow =
    "Placement=2 Width=389 Height=148 MinWidth=64 MinHeight=64 MaxWidth=32000 MaxHeight=32000 "
    "Frame=8 Composite=false HasBackColor=false BackColor=#FFFFFF Title=\"T\" Visible=true "
    "FullScreen=false MenuBarVisible=true CloseButton=true Resizeable=false LiveResize=true "
    "MaximizeButton=false MinimizeButton=true MacProcID=0";
const std::string kControlLead =
    "Name=\"c\" Index=-2147483648 Left=1 Top=2 Width=3 Height=4 LockLeft=false LockTop=false "
    "LockRight=false LockBottom=false TabPanelIndex=0 TabIndex=5 ";
constexpr const char* kCanvas =
    "Visible=true HelpTag=\"\" AutoDeactivate=true Enabled=true UseFocusRing=false "
    "AcceptFocus=false AcceptTabs=false EraseBackground=true InitialParent=\"\"";
constexpr const char* kEditField =
    "Border=true Multiline=false ScrollbarHorizontal=false ScrollbarVertical=true Styled=false "
    "Password=false UseFocusRing=true TextColor=#000000 BackColor=#FFFFFF Enabled=true Format=\"\" "
    "Visible=true HelpTag=\"\" AutoDeactivate=true TextFont=\"System\" TextSize=0 Bold=false "
    "Italic=false Underline=false Text=\"t\" Mask=\"\" ReadOnly=false LimitText=0 AcceptTabs=false "
    "Alignment=0 DataSource=\"\" DataField=\"\" InitialParent=\"\"";
constexpr const char* kStaticText =
    "Text=\"t\" TextAlign=0 TextColor=#000000 Multiline=false Enabled=true Visible=true "
    "HelpTag=\"\" AutoDeactivate=true TextFont=\"System\" TextSize=0 Bold=false Italic=false "
    "Underline=false DataSource=\"\" DataField=\"\" InitialParent=\"\"";
constexpr const char* kBevelButton =
    "InitialParent=\"\" Visible=true HelpTag=\"\" AutoDeactivate=true Enabled=true Caption=\"t\" "
    "CaptionAlign=3 CaptionPlacement=1 CaptionDelta=0 IconAlign=0 IconDX=0 IconDY=0 Bevel=3 "
    "HasMenu=0 Value=false MenuValue=0 ButtonType=0 AcceptFocus=false TextFont=\"System\" "
    "TextSize=0 Bold=false Italic=false Underline=false";

// A block of each kind, in each key order it comes in, and the words above
// that it must decode to.
struct BlockCase {
  std::string name;
  std::string kind;
  std::string block;
  std::string expected;
  friend void PrintTo(const BlockCase& block, std::ostream* out) { *out << block.name; }
};

std::vector<BlockCase> Cases() {
  const platform::WindowDesign window{"T", 389, 148, 2, 8, true, true, {}};
  const platform::WindowDesign withHelp{"T", 389, 148, 2, 8, true, true, {{"BalloonHelp", ""}}};
  std::vector<BlockCase> cases{
      {"Window", "Window", platform::EncodeWindowBlock(window), kWindow},
      {"WindowWithBalloonHelp", "Window", platform::EncodeWindowBlock(withHelp),
       std::string(kWindow) + " BalloonHelp=\"\""}};
  for (const auto& [kind, keys] : {std::pair{ControlClass::Canvas, kCanvas},
                                   {ControlClass::EditField, kEditField},
                                   {ControlClass::StaticText, kStaticText},
                                   {ControlClass::BevelButton, kBevelButton}}) {
    // What every design gives; a canvas also its focus ring.
    platform::ControlDesign design{"c", kind, 1, 2, 3, 4, "t", 5, {}};
    if (kind == ControlClass::Canvas)
      design = {"c", kind, 1, 2, 3, 4, "", 5, {{"UseFocusRing", false}}};
    const std::string name = platform::ControlClassName(kind), forward = kControlLead + keys;
    std::string reversed, word;
    for (std::istringstream words(forward); words >> word;)
      reversed = word + " " + reversed;
    cases.push_back({name, name, EncodeControlBlock(design, KeyOrder::Forward), forward});
    cases.push_back(
        {name + "Reversed", name, EncodeControlBlock(design, KeyOrder::Reversed), reversed});
  }
  return cases;
}

class BlockDefaultsTest : public testing::TestWithParam<BlockCase> {};

TEST_P(BlockDefaultsTest, BlockHoldsEveryKeyInItsOrderWithTheSharedDefaults) {
  std::string expected = GetParam().expected;
  std::replace(expected.begin(), expected.end(), ' ', '\n');
  EXPECT_EQ(Describe(platform::DecodeBlock(GetParam().block, GetParam().kind)),
            expected.ends_with('\n') ? expected : expected + "\n");
}

INSTANTIATE_TEST_SUITE_P(EveryKind, BlockDefaultsTest, testing::ValuesIn(Cases()),
                         [](const auto& info) { return info.param.name; });

// The message decoding the block fails with.
std::string DecodeFailure(const std::string& block) {
  try {
    platform::DecodeBlock(block, "Window");
  } catch (const platform::RuntimeException& error) {
    return error.Message();
  }
  return "<decoded>";
}

// One entry as a property block holds it: the key, a blank, then the value's bytes.
std::string Entry(const std::string& key, const std::string& bytes) {
  return key + " " + bytes;
}

TEST(PropertyBlock, TruncatedBlockOrUnknownKeyFailsLoudly) {
  EXPECT_EQ(DecodeFailure(Entry("Width", {0, 0})),
            "The Window property block ends inside the value of \"Width\" at byte 6: it needs 4 "
            "bytes and 2 are left");
  EXPECT_EQ(DecodeFailure(Entry("Colour", {1, 2, 3})),
            "The Window property block has the unknown key \"Colour\" at byte 0");
}

}  // namespace
}  // namespace tervix::test
