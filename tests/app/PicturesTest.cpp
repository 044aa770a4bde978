#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/Pictures.h"
#include "platform/core/Seams.h"
#include "platform/ui/Picture.h"
#include "tests/support/TestRuntime.h"

namespace tervix::test {
namespace {

using PicturesTest = RuntimeTest;

TEST_F(PicturesTest, EachPictureIsLoadedOnceAndShared) {
  const std::shared_ptr<platform::Picture> banner = tervix_logo1();
  const std::shared_ptr<platform::Picture> icon = tervix_logo4();
  ASSERT_NE(banner, nullptr);
  ASSERT_NE(icon, nullptr);
  EXPECT_NE(banner, icon);
  EXPECT_EQ(tervix_logo1(), banner);
  EXPECT_EQ(tervix_logo4(), icon);
}

TEST_F(PicturesTest, MissingPictureIsNilAndLookedUpAgainOnTheNextUse) {
  platform::SetResourceFilePath(TERVIX_ICON_ONLY_RCC);
  EXPECT_EQ(tervix_logo1(), nullptr);
  platform::SetResourceFilePath(TERVIX_FULL_RCC);
  EXPECT_NE(tervix_logo1(), nullptr);
}

}  // namespace
}  // namespace tervix::test
