#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "about/AquaAboutBox.h"
#include "about/TraceAnnotation.h"
#include "app/Instances.h"
#include "platform/core/Exceptions.h"
#include "platform/ui/Controls.h"
#include "tests/support/TestRuntime.h"
#include "tests/support/UserActions.h"

namespace tervix::test {
namespace {

using AboutBoxTest = RuntimeTest;

std::shared_ptr<AquaAboutBox> Box() {
  return platform::TypeTest<AquaAboutBox>(
      platform::GetImplicitWindow(AquaAboutBox::kRuntimeClassName));
}

// A click on the login window's banner or the menu item, chosen again, shows
// the box already open; its texts, checked with every window's, are set once.
TEST_F(AboutBoxTest, AboutShowsItsTextsOnceInOneBox) {
  StartLauncher();
  Click(Shown("Window1.Window1"), "Canvas1");
  const std::shared_ptr<AquaAboutBox> box = Box();
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->Visible());
  box->ControlAs<platform::StaticText>("name")->SetText("changed since");
  ChooseMenu("About");
  EXPECT_EQ(Box(), box);
  Click(Shown("Window1.Window1"), "Canvas1");
  EXPECT_EQ(Box(), box);
  EXPECT_EQ(box->ControlAs<platform::StaticText>("name")->Text(), "changed since")
      << "the texts were set again";
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

}  // namespace
}  // namespace tervix::test
