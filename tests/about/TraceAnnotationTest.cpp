#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "about/TraceAnnotation.h"
#include "app/Instances.h"
#include "platform/Exceptions.h"
#include "tests/about/AboutTest.h"

namespace tervix::test {
namespace {

using TraceAnnotationTest = AboutTest;

TEST_F(TraceAnnotationTest, HideControlOfNilAnnotatesTheNilObjectException) {
  auto box = ChooseAbout();
  ASSERT_NE(box, nullptr);
  const std::string original = platform::NilObjectException().Message();
  try {
    box->hideControl(nullptr);
    FAIL() << "hideControl of nil returned normally";
  } catch (const platform::NilObjectException& e) {
    EXPECT_EQ(e.Message(), original + "\rAquaAboutBox.HideControl");
  }
}

TEST(TraceName, EmptyMessageBecomesCarriageReturnAndTraceName) {
  try {
    WithTraceName("AquaAboutBox.Open", [] { throw platform::RuntimeException(""); });
    FAIL() << "the exception did not pass on";
  } catch (const platform::RuntimeException& e) {
    EXPECT_EQ(e.Message(), "\rAquaAboutBox.Open");
  }
}

TEST(TraceName, SameExceptionObjectPassesOnWithItsClass) {
  try {
    WithTraceName("AquaAboutBox.FileClose", []() -> bool { throw platform::NilObjectException(); });
    FAIL() << "the exception did not pass on";
  } catch (const platform::NilObjectException& e) {
    EXPECT_TRUE(e.Message().ends_with("\rAquaAboutBox.FileClose")) << e.Message();
  }
}

TEST(TraceName, OtherExceptionsPassUnchanged) {
  try {
    WithTraceName("AquaAboutBox.Open", [] { throw std::runtime_error("not ours"); });
    FAIL() << "the exception did not pass on";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "not ours");
  }
}

// Without a registered application object the version label cannot be set;
// the failure leaves the box's construction marked with the label's trace name.
class AboutBoxWithoutApplication : public RuntimeTest {};

TEST_F(AboutBoxWithoutApplication, VersionLabelFailureCarriesItsTraceName) {
  const std::string original = platform::NilObjectException().Message();
  try {
    instance::AquaAboutBox();
    FAIL() << "the about box was built without an application object";
  } catch (const platform::NilObjectException& e) {
    EXPECT_EQ(e.Message(), original + "\rAquaAboutBox.Version.Open");
  }
}

}  // namespace
}  // namespace tervix::test
