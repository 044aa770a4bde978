#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/Pictures.h"
#include "platform/Runtime.h"
#include "tests/about/AboutTest.h"

namespace tervix::test {
namespace {

using AboutBoxTest = AboutTest;

constexpr const char* kCopyrightLine = "\u00A9 2026 Tervix Launcher developers";

int OpenAboutBoxes() {
  int count = 0;
  for (const auto& window : platform::OpenWindows()) {
    if (window->RuntimeClassName() == AquaAboutBox::kRuntimeClassName)
      ++count;
  }
  return count;
}

TEST_F(AboutBoxTest, BuildingTheBoxFindsEveryControlItsHandlersUse) {
  auto box = ChooseAbout();
  ASSERT_NE(box, nullptr);
  const std::vector<std::pair<std::string, platform::ControlClass>> expected{
      {"icon", platform::ControlClass::Canvas},
      {"name", platform::ControlClass::StaticText},
      {"version", platform::ControlClass::StaticText},
      {"copyright", platform::ControlClass::StaticText}};
  ASSERT_EQ(box->ControlCount(), static_cast<int32_t>(expected.size()));
  for (int32_t index = 0; index < box->ControlCount(); ++index) {
    EXPECT_EQ(box->Control(index)->Name(), expected[index].first) << "at index " << index;
    EXPECT_EQ(box->Control(index)->Kind(), expected[index].second) << expected[index].first;
  }
}

TEST_F(AboutBoxTest, AboutShowsNameVersionAndCopyright) {
  auto box = ChooseAbout();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(Label(*box, "name"), "Tervix Launcher");
  EXPECT_EQ(Label(*box, "version"), "1.0");
  EXPECT_EQ(Label(*box, "copyright"), kCopyrightLine);
  EXPECT_EQ(box->Title(), "");
  EXPECT_EQ(box->Width(), 284);
  EXPECT_EQ(box->Height(), 167);
  EXPECT_EQ(box->ControlAs<platform::Canvas>("icon")->Backdrop(), tervix_logo4());
}

TEST_F(AboutBoxTest, AboutTwiceLeavesOneBoxWithItsTextsSetOnce) {
  auto box = ChooseAbout();
  ASSERT_NE(box, nullptr);
  box->ControlAs<platform::StaticText>("name")->SetText("changed since");
  auto again = ChooseAbout();
  EXPECT_EQ(again, box);
  EXPECT_EQ(OpenAboutBoxes(), 1);
  EXPECT_EQ(Label(*box, "name"), "changed since");
}

TEST_F(AboutBoxTest, BannerClickShowsTheOpenBoxWithoutResettingIt) {
  auto login = platform::GetImplicitWindow("Window1.Window1");
  ASSERT_NE(login, nullptr);
  Click(*login, "Canvas1");
  auto box = OpenAboutBox();
  ASSERT_NE(box, nullptr);
  box->ControlAs<platform::StaticText>("version")->SetText("changed since");
  Click(*login, "Canvas1");
  EXPECT_EQ(OpenAboutBox(), box);
  EXPECT_EQ(OpenAboutBoxes(), 1);
  EXPECT_EQ(Label(*box, "version"), "changed since");
}

TEST_F(AboutBoxTest, BoxBuiltAfterItsCloseBoxShowsItsTextsAgain) {
  auto box = ChooseAbout();
  ASSERT_NE(box, nullptr);
  box->ControlAs<platform::StaticText>("copyright")->SetText("changed since");
  CloseBox(*box);
  EXPECT_EQ(OpenAboutBox(), nullptr);
  EXPECT_EQ(platform::PendingQuitCode(), std::nullopt) << "the login window is still open";

  auto rebuilt = ChooseAbout();
  ASSERT_NE(rebuilt, nullptr);
  EXPECT_NE(rebuilt, box);
  EXPECT_EQ(Label(*rebuilt, "name"), "Tervix Launcher");
  EXPECT_EQ(Label(*rebuilt, "version"), "1.0");
  EXPECT_EQ(Label(*rebuilt, "copyright"), kCopyrightLine);
}

TEST_F(AboutBoxTest, FileCloseClosesTheBoxAndLeavesTheCommandUnhandled) {
  auto box = ChooseAbout();
  ASSERT_NE(box, nullptr);
  EXPECT_FALSE(box->HandleMenuCommand("FileClose"));
  EXPECT_FALSE(box->IsOpen());
  EXPECT_EQ(OpenAboutBox(), nullptr);
}

}  // namespace
}  // namespace tervix::test
