#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "about/AquaAboutBox.h"
#include "about/TraceAnnotation.h"
#include "app/Instances.h"
#include "platform/core/Exceptions.h"
#include "platform/ui/Controls.h"
#include "tests/support/TestRuntime.h"
#include "tests/support/UserActions.h"

namespace tervix::test {
namespace {

// A started launcher with the about box opened by a click on the login window's banner.
class AboutBoxTest : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    StartLauncher();
    ClickBanner();
    box_ = Box();
  }
  static void ClickBanner() {
    Click(platform::NotNil(platform::GetImplicitWindow("Window1.Window1")), "Canvas1");
  }
  static std::shared_ptr<AquaAboutBox> Box() {
    return platform::TypeTest<AquaAboutBox>(
        platform::GetImplicitWindow(AquaAboutBox::kRuntimeClassName));
  }
  std::string Label(const std::string& name) const {
    return box_->ControlAs<platform::StaticText>(name)->Text();
  }

  std::shared_ptr<AquaAboutBox> box_;
};

// The banner or the menu item, chosen again, shows the box already open.
TEST_F(AboutBoxTest, AboutShowsItsTextsOnceInOneBox) {
  ASSERT_NE(box_, nullptr);
  EXPECT_TRUE(box_->Visible());
  EXPECT_EQ(Label("name"), "Tervix Launcher");
  EXPECT_EQ(Label("version"), "1.0");
  EXPECT_EQ(Label("copyright"), "\u00A9 2026 Tervix Launcher developers");
  box_->ControlAs<platform::StaticText>("name")->SetText("changed since");
  ChooseMenu("About");
  EXPECT_EQ(Box(), box_);
  ClickBanner();
  EXPECT_EQ(Box(), box_);
  EXPECT_EQ(Label("name"), "changed since") << "the texts were set again";
}

// The message of the exception of class E that body throws.
template <class E, class Body>
std::string MessageThrown(Body body) {
  try {
    body();
  } catch (const E& e) {
    return e.Message();
  }
  return "<nothing thrown>";
}

// A failure inside the about box carries, after a carriage return, the name
// of where it happened. The version shown is the application object's:
// without one the box cannot be built.
using AboutBoxFailure = RuntimeTest;

TEST_F(AboutBoxFailure, CarriesTheTraceNameOfWhereItHappened) {
  const std::string nil = platform::NilObjectException().Message();
  EXPECT_EQ(MessageThrown<platform::NilObjectException>([] { instance::AquaAboutBox(); }),
            nil + "\rAquaAboutBox.Version.Open");
  EXPECT_EQ(MessageThrown<platform::RuntimeException>([] {
              WithTraceName("AquaAboutBox.Open", [] { throw platform::RuntimeException(""); });
            }),
            "\rAquaAboutBox.Open");
  StartLauncher();
  EXPECT_EQ(MessageThrown<platform::NilObjectException>(
                [] { platform::NotNil(instance::AquaAboutBox()).hideControl(nullptr); }),
            nil + "\rAquaAboutBox.HideControl");
}

struct HideCase {
  std::string name;
  std::string target;         // a control of the about box, or else of the login window
  int32_t copyrightTop;       // the copyright line's top before hiding; 135 as designed
  std::vector<int32_t> tops;  // of icon, name, version and copyright, in creation order
  int32_t height;
  friend void PrintTo(const HideCase& hide, std::ostream* out) { *out << hide.name; }
};

class HideControlTest : public AboutBoxTest, public ::testing::WithParamInterface<HideCase> {};

// Each target is hidden twice: the second call must change nothing.
TEST_P(HideControlTest, HidesTheTargetAndClosesTheGapItLeaves) {
  const HideCase& hide = GetParam();
  box_->ControlByName("copyright")->SetTop(hide.copyrightTop);
  auto target = box_->ControlByName(hide.target);
  const bool foreign = target == nullptr;
  if (foreign)
    target = platform::GetImplicitWindow("Window1.Window1")->ControlByName(hide.target);
  box_->hideControl(target);
  box_->hideControl(target);
  EXPECT_EQ(target->Visible(), foreign);
  std::vector<int32_t> tops;
  for (int32_t index = 0; index < box_->ControlCount(); ++index)
    tops.push_back(box_->Control(index)->Top());
  EXPECT_EQ(tops, hide.tops);
  EXPECT_EQ(box_->Height(), hide.height);
}

INSTANTIATE_TEST_SUITE_P(
    AboutBox, HideControlTest,
    ::testing::Values(HideCase{"version", "version", 135, {22, 84, 87, 111}, 143},
                      HideCase{"name", "name", 135, {22, 57, 84, 108}, 140},
                      HideCase{"icon", "icon", 135, {-40, 22, 49, 73}, 105},
                      HideCase{"nextControlAbove", "version", 50, {22, 84, 172, 111}, 228},
                      HideCase{"lastControl", "copyright", 135, {22, 84, 111, 135}, 167},
                      HideCase{"foreignControl", "EditField1", 135, {22, 84, 111, 135}, 167}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace tervix::test
