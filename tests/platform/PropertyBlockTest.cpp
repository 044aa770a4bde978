#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <ostream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/PropertyBlock.h"

namespace {

using platform::Color;
using platform::ControlClass;
using platform::ControlDesign;
using platform::DecodeBlock;
using platform::EncodeControlBlock;
using platform::EncodeWindowBlock;
using platform::KeyOrder;
using platform::Property;
using platform::PropertyValue;
using platform::WindowDesign;

// One entry as the block holds it: the key, a blank, then the value's bytes.
std::string Entry(const std::string& key, std::initializer_list<int> bytes) {
  std::string entry = key + " ";
  for (int byte : bytes)
    entry.push_back(static_cast<char>(byte));
  return entry;
}

WindowDesign LoginWindow() {
  return {"Tervix Launcher", 389, 148, 2, 0, false, true, {}};
}

// A control at a fixed place; only its name, class, text and differing values vary.
ControlDesign Design(std::string name, ControlClass kind, std::string text,
                     std::vector<Property> differs = {}) {
  return {std::move(name), kind, 12, 34, 56, 22, std::move(text), 3, std::move(differs)};
}

ControlDesign StatusLine() {
  return Design("StaticText2", ControlClass::StaticText, "Please enter your gateway login...",
                {{"TextAlign", 1}, {"TextColor", Color{0x2A, 0x43, 0x91}}});
}

std::vector<std::string> Keys(const std::vector<Property>& entries) {
  std::vector<std::string> keys;
  for (const Property& entry : entries)
    keys.push_back(entry.key);
  return keys;
}

const PropertyValue& ValueOf(const std::vector<Property>& entries, const std::string& key) {
  for (const Property& entry : entries) {
    if (entry.key == key)
      return entry.value;
  }
  throw std::runtime_error("no entry " + key);
}

std::string ErrorOf(const std::string& block, const std::string& kind) {
  try {
    DecodeBlock(block, kind);
  } catch (const platform::RuntimeException& error) {
    return error.Message();
  }
  return "no error";
}

TEST(PropertyBlockBytes, WindowBlockBeginsWithPlacement) {
  const std::string block = EncodeWindowBlock(LoginWindow());
  EXPECT_EQ(block.substr(0, 14), Entry("Placement", {0x00, 0x00, 0x00, 0x02}));
}

TEST(PropertyBlockBytes, TitleIsCountedUtf8) {
  const std::string block = EncodeWindowBlock(LoginWindow());
  EXPECT_NE(block.find(Entry("Title", {0x00, 0x00, 0x00, 0x0F}) + "Tervix Launcher"),
            std::string::npos)
      << block;
}

TEST(PropertyBlockBytes, WhiteBackColorIsThreeBytes) {
  const std::string block = EncodeWindowBlock(LoginWindow());
  EXPECT_NE(block.find(Entry("BackColor", {0xFF, 0xFF, 0xFF}) + "Title "), std::string::npos)
      << block;
}

TEST(PropertyBlockBytes, ControlDefaultsHaveTheirByteForms) {
  const std::string block = EncodeControlBlock(StatusLine(), KeyOrder::Forward);
  EXPECT_NE(block.find(Entry("Index", {0x80, 0x00, 0x00, 0x00})), std::string::npos) << block;
  EXPECT_NE(block.find(Entry("HelpTag", {0x00, 0x00, 0x00, 0x00})), std::string::npos) << block;
  EXPECT_NE(block.find(Entry("TextColor", {0x2A, 0x43, 0x91})), std::string::npos) << block;
  EXPECT_NE(block.find(Entry("Enabled", {0x01})), std::string::npos) << block;
}

TEST(PropertyBlockRoundTrip, WindowBlockHoldsEveryKeyInOrder) {
  const std::vector<Property> entries = DecodeBlock(EncodeWindowBlock(LoginWindow()), "Window");
  EXPECT_EQ(Keys(entries),
            (std::vector<std::string>{
                "Placement",   "Width",      "Height",     "MinWidth",       "MinHeight",
                "MaxWidth",    "MaxHeight",  "Frame",      "Composite",      "HasBackColor",
                "BackColor",   "Title",      "Visible",    "FullScreen",     "MenuBarVisible",
                "CloseButton", "Resizeable", "LiveResize", "MaximizeButton", "MinimizeButton",
                "MacProcID"}));
  EXPECT_EQ(ValueOf(entries, "Width"), PropertyValue(int32_t{389}));
  EXPECT_EQ(ValueOf(entries, "Height"), PropertyValue(int32_t{148}));
  EXPECT_EQ(ValueOf(entries, "Title"), PropertyValue(std::string("Tervix Launcher")));
  EXPECT_EQ(ValueOf(entries, "MinimizeButton"), PropertyValue(true));
  EXPECT_EQ(ValueOf(entries, "MaxWidth"), PropertyValue(int32_t{32000}));
  EXPECT_EQ(ValueOf(entries, "Visible"), PropertyValue(true));
}

TEST(PropertyBlockRoundTrip, BalloonHelpComesAfterMacProcID) {
  WindowDesign design{"About", 250, 183, 2, 8, false, false, {{"BalloonHelp", std::string()}}};
  const std::vector<std::string> keys = Keys(DecodeBlock(EncodeWindowBlock(design), "Window"));
  ASSERT_EQ(keys.size(), 22u);
  EXPECT_EQ(keys[20], "MacProcID");
  EXPECT_EQ(keys[21], "BalloonHelp");
}

struct KindCase {
  ControlDesign design;
  size_t keyCount;
  // The key that holds the design's text; empty for a canvas.
  std::string textKey;
};

void PrintTo(const KindCase& kindCase, std::ostream* out) {
  *out << kindCase.design.name;
}

class ControlBlockRoundTrip : public ::testing::TestWithParam<KindCase> {};

TEST_P(ControlBlockRoundTrip, ReversedBlockHoldsTheSameEntriesBackwards) {
  const ControlDesign& design = GetParam().design;
  std::vector<Property> forward = DecodeBlock(EncodeControlBlock(design, KeyOrder::Forward),
                                              platform::ControlClassName(design.kind));
  const std::vector<Property> reversed = DecodeBlock(EncodeControlBlock(design, KeyOrder::Reversed),
                                                     platform::ControlClassName(design.kind));
  ASSERT_EQ(forward.size(), GetParam().keyCount);
  EXPECT_EQ(forward.front().key, "Name");
  EXPECT_EQ(reversed.back().key, "Name");
  EXPECT_EQ(reversed.back().value, PropertyValue(design.name));
  std::reverse(forward.begin(), forward.end());
  ASSERT_EQ(Keys(reversed), Keys(forward));
  for (size_t i = 0; i < forward.size(); ++i) {
    EXPECT_EQ(reversed[i].value, forward[i].value) << "key " << forward[i].key;
  }
}

TEST_P(ControlBlockRoundTrip, DesignValuesAndSharedDefaultsAreRead) {
  const ControlDesign& design = GetParam().design;
  const std::vector<Property> entries = DecodeBlock(EncodeControlBlock(design, KeyOrder::Reversed),
                                                    platform::ControlClassName(design.kind));
  EXPECT_EQ(ValueOf(entries, "Left"), PropertyValue(design.left));
  EXPECT_EQ(ValueOf(entries, "Top"), PropertyValue(design.top));
  EXPECT_EQ(ValueOf(entries, "Width"), PropertyValue(design.width));
  EXPECT_EQ(ValueOf(entries, "Height"), PropertyValue(design.height));
  EXPECT_EQ(ValueOf(entries, "TabIndex"), PropertyValue(design.tabIndex));
  EXPECT_EQ(ValueOf(entries, "Index"), PropertyValue(std::numeric_limits<int32_t>::min()));
  EXPECT_EQ(ValueOf(entries, "AutoDeactivate"), PropertyValue(true));
  if (!GetParam().textKey.empty()) {
    EXPECT_EQ(ValueOf(entries, GetParam().textKey), PropertyValue(design.text));
  }
  for (const Property& differing : design.differs) {
    EXPECT_EQ(ValueOf(entries, differing.key), differing.value) << "key " << differing.key;
  }
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, ControlBlockRoundTrip,
    ::testing::Values(
        KindCase{Design("Canvas1", ControlClass::Canvas, "", {{"UseFocusRing", false}}), 21, ""},
        KindCase{Design("Executable", ControlClass::EditField, "/usr/games/tervix",
                        {{"TextSize", 11}, {"BackColor", Color{0, 0, 0}}}),
                 40, "Text"},
        KindCase{StatusLine(), 28, "Text"},
        KindCase{Design("BevelYES", ControlClass::BevelButton, "Yes"), 35, "Caption"}),
    [](const ::testing::TestParamInfo<KindCase>& info) { return info.param.design.name; });

TEST(PropertyBlockFaults, TruncatedValueFailsLoudly) {
  std::string block = EncodeWindowBlock(LoginWindow());
  block.resize(block.size() - 2);
  EXPECT_EQ(ErrorOf(block, "Window"),
            "The Window property block ends inside the value of \"MacProcID\" at byte " +
                std::to_string(block.size() - 2) + ": it needs 4 bytes and 2 are left");
}

TEST(PropertyBlockFaults, TruncatedKeyFailsLoudly) {
  EXPECT_EQ(ErrorOf(Entry("Width", {0, 0, 0, 1}) + "Hei", "Window"),
            "The Window property block ends inside the key at byte 10");
}

TEST(PropertyBlockFaults, UnknownKeyFailsLoudly) {
  EXPECT_EQ(ErrorOf(Entry("Colour", {1, 2, 3}), "Window"),
            "The Window property block has the unknown key \"Colour\" at byte 0");
}

TEST(PropertyBlockFaults, KeyOfAnotherKindFailsLoudly) {
  EXPECT_EQ(ErrorOf(Entry("Caption", {0, 0, 0, 0}), "EditField"),
            "The EditField property block has the unknown key \"Caption\" at byte 0");
}

TEST(PropertyBlockFaults, BooleanByteOtherThanZeroOrOneFailsLoudly) {
  EXPECT_EQ(ErrorOf(Entry("Visible", {2}), "Canvas"),
            "The Canvas property block gives \"Visible\" the boolean byte 2");
}

TEST(PropertyBlockFaults, DesignValueNoBlockCanHoldFailsLoudly) {
  ControlDesign otherKindsKey = StatusLine();
  otherKindsKey.differs.push_back({"Caption", std::string("x")});
  EXPECT_THROW(EncodeControlBlock(otherKindsKey, KeyOrder::Forward), platform::RuntimeException);
  ControlDesign wrongType = StatusLine();
  wrongType.differs.push_back({"TextAlign", true});
  EXPECT_THROW(EncodeControlBlock(wrongType, KeyOrder::Forward), platform::RuntimeException);
}

TEST(PropertyBlockFaults, CanvasWithoutFocusRingValueFailsLoudly) {
  try {
    EncodeControlBlock(Design("Canvas1", ControlClass::Canvas, ""), KeyOrder::Forward);
    FAIL() << "encoded a canvas block without UseFocusRing";
  } catch (const platform::RuntimeException& error) {
    EXPECT_EQ(error.Message(),
              "The design of control \"Canvas1\" gives no value for \"UseFocusRing\"");
  }
}

}  // namespace
