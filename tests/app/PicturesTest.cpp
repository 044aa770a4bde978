#include <gtest/gtest.h>

#include <memory>

#include "app/Instances.h"
#include "app/Pictures.h"
#include "login/Window1.h"
#include "platform/Controls.h"
#include "platform/Exceptions.h"
#include "platform/Picture.h"
#include "platform/Seams.h"
#include "tests/support/TestRuntime.h"

namespace tervix {
namespace {

using PicturesTest = test::RuntimeTest;

TEST_F(PicturesTest, EachPictureIsLoadedOnceAndShared) {
  const std::shared_ptr<platform::Picture> banner = tervix_logo1();
  const std::shared_ptr<platform::Picture> icon = tervix_logo4();
  ASSERT_NE(banner, nullptr);
  ASSERT_NE(icon, nullptr);
  EXPECT_NE(banner, icon);
  EXPECT_EQ(tervix_logo1(), banner);
  EXPECT_EQ(tervix_logo4(), icon);
}

TEST_F(PicturesTest, RebuiltLoginWindowShowsTheSameBanner) {
  StartLauncher();
  const std::shared_ptr<platform::Picture> banner =
      platform::NotNil(instance::Window1()).ControlAs<platform::Canvas>("Canvas1")->Backdrop();
  ASSERT_NE(banner, nullptr);
  platform::NotNil(instance::Window1()).Close();
  EXPECT_EQ(instance::Window1()->ControlAs<platform::Canvas>("Canvas1")->Backdrop(), banner);
}

TEST_F(PicturesTest, MissingBannerIsNilEachTimeAndTheWindowStillOpens) {
  platform::SetResourceFilePath(TERVIX_ICON_ONLY_RCC);
  EXPECT_EQ(tervix_logo1(), nullptr);
  EXPECT_EQ(tervix_logo1(), nullptr);
  EXPECT_NE(tervix_logo4(), nullptr);
  StartLauncher();
  EXPECT_EQ(instance::Window1()->ControlAs<platform::Canvas>("Canvas1")->Backdrop(), nullptr);
}

TEST_F(PicturesTest, UnopenableResourceFileRaisesNilObjectException) {
  platform::SetResourceFilePath(Home() + "/no-such-resources.rcc");
  EXPECT_THROW(tervix_logo1(), platform::NilObjectException);
  EXPECT_THROW(tervix_logo4(), platform::NilObjectException);
}

}  // namespace
}  // namespace tervix
