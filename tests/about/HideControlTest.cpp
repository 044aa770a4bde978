#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <ostream>
#include <string>

#include "tests/about/AboutTest.h"

namespace tervix::test {
namespace {

using Tops = std::map<std::string, int32_t>;

class HideControlTest : public AboutTest {
 protected:
  void SetUp() override {
    AboutTest::SetUp();
    box_ = ChooseAbout();
    ASSERT_NE(box_, nullptr);
  }
  Tops ControlTops() const {
    Tops tops;
    for (int32_t index = 0; index < box_->ControlCount(); ++index) {
      tops[box_->Control(index)->Name()] = box_->Control(index)->Top();
    }
    return tops;
  }
  void Hide(const std::string& name) { box_->hideControl(box_->ControlByName(name)); }
  bool IsVisible(const std::string& name) const { return box_->ControlByName(name)->Visible(); }

  std::shared_ptr<AquaAboutBox> box_;
};

struct HideCase {
  std::string target;
  Tops tops;
  int32_t height;
};

void PrintTo(const HideCase& hideCase, std::ostream* out) {
  *out << hideCase.target;
}

class HideControlClosesTheGap : public HideControlTest,
                                public ::testing::WithParamInterface<HideCase> {};

TEST_P(HideControlClosesTheGap, MovesTheTargetAndLaterControlsUpAndShrinksTheBox) {
  Hide(GetParam().target);
  EXPECT_FALSE(IsVisible(GetParam().target));
  EXPECT_EQ(ControlTops(), GetParam().tops);
  EXPECT_EQ(box_->Height(), GetParam().height);
}

INSTANTIATE_TEST_SUITE_P(
    AboutBoxControls, HideControlClosesTheGap,
    ::testing::Values(
        HideCase{"version", {{"icon", 22}, {"name", 84}, {"version", 87}, {"copyright", 111}}, 143},
        HideCase{"name", {{"icon", 22}, {"name", 57}, {"version", 84}, {"copyright", 108}}, 140},
        HideCase{"icon", {{"icon", -40}, {"name", 22}, {"version", 49}, {"copyright", 73}}, 105}),
    [](const ::testing::TestParamInfo<HideCase>& info) { return info.param.target; });

TEST_F(HideControlTest, HidingAHiddenControlAgainChangesNothing) {
  Hide("version");
  const Tops once = ControlTops();
  Hide("version");
  EXPECT_EQ(ControlTops(), once);
  EXPECT_EQ(box_->Height(), 143);
}

TEST_F(HideControlTest, NextControlAboveTheTargetMovesControlsDownAndGrowsTheBox) {
  box_->ControlByName("copyright")->SetTop(50);
  Hide("version");
  EXPECT_EQ(ControlTops(),
            (Tops{{"icon", 22}, {"name", 84}, {"version", 172}, {"copyright", 111}}));
  EXPECT_EQ(box_->Height(), 228);
}

TEST_F(HideControlTest, LastControlIsHiddenAndNothingMoves) {
  const Tops before = ControlTops();
  Hide("copyright");
  EXPECT_FALSE(IsVisible("copyright"));
  EXPECT_EQ(ControlTops(), before);
  EXPECT_EQ(box_->Height(), 167);
}

TEST_F(HideControlTest, ControlOfAnotherWindowIsLeftAlone) {
  auto login = platform::GetImplicitWindow("Window1.Window1");
  ASSERT_NE(login, nullptr);
  auto foreign = login->ControlByName("EditField1");
  ASSERT_NE(foreign, nullptr);
  const int32_t foreignTop = foreign->Top();
  const Tops before = ControlTops();
  box_->hideControl(foreign);
  EXPECT_TRUE(foreign->Visible());
  EXPECT_EQ(foreign->Top(), foreignTop);
  EXPECT_EQ(ControlTops(), before);
  EXPECT_EQ(box_->Height(), 167);
}

TEST_F(HideControlTest, EachPassYieldsToTheFramework) {
  const int before = clock().backgroundTaskCalls();
  Hide("version");
  // Three steps to find the target at index 2, then two moves (indexes 2 and 3).
  EXPECT_EQ(clock().backgroundTaskCalls() - before, 5);
}

}  // namespace
}  // namespace tervix::test
