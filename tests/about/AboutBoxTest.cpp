#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "about/AquaAboutBox.h"
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

}  // namespace
}  // namespace tervix::test
