#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "platform/Exceptions.h"
#include "platform/FolderItem.h"
#include "platform/Places.h"
#include "platform/Values.h"

namespace tervix::test {
namespace {

using platform::Format;

TEST(ValueFormat, TwelvePlaceholdersShowTheWholeNumberWithoutLeadingZeros) {
  EXPECT_EQ(Format(0.123456789012 * 1e12, "############"), "123456789012");
  EXPECT_EQ(Format(0.000000123456 * 1e12, "############"), "123456");
  EXPECT_EQ(Format(0.4, "############"), "");
  EXPECT_EQ(Format(7, "000"), "007");
  EXPECT_EQ(Format(-42, "#"), "-42");
  EXPECT_THROW(Format(1, "#.##"), platform::RuntimeException);
}

TEST(ValueFormat, RandomNamesAreDigitsOnly) {
  for (int draw = 0; draw < 1000; ++draw) {
    const double number = platform::Rnd();
    ASSERT_TRUE(number >= 0.0 && number < 1.0) << number;
    const std::string name = Format(number * 1e12, "############");
    ASSERT_EQ(name.find_first_not_of("0123456789"), std::string::npos) << name;
  }
}

TEST(ValueText, StrAndChrGiveTheirExactBytes) {
  EXPECT_EQ(platform::Str(-2147483647 - 1), "-2147483648");
  EXPECT_EQ(platform::Chr(13), "\r");
  EXPECT_EQ(platform::Chr(0xE9), "\xC3\xA9");
  EXPECT_EQ(platform::DefineEncoding("\xFF\xFE", platform::Encodings::UTF8), "\xFF\xFE");
}

std::string PreferencesFolderFor(const char* home, const char* configHome) {
  const auto put = [](const char* name, const char* value) {
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  };
  put("HOME", home);
  put("XDG_CONFIG_HOME", configHome);
  auto folder = platform::PreferencesFolder();
  return folder ? folder->ShellPath() : "<nil>";
}

TEST(Places, PreferencesFolderIsTheAbsoluteConfigHomeElseTheHomeConfigFolder) {
  const std::string home = platform::System::EnvironmentVariable("HOME");
  const std::string configHome = platform::System::EnvironmentVariable("XDG_CONFIG_HOME");
  EXPECT_EQ(PreferencesFolderFor("/home/player", "/srv/config"), "/srv/config");
  EXPECT_EQ(PreferencesFolderFor("/home/player", ""), "/home/player/.config");
  EXPECT_EQ(PreferencesFolderFor("/home/player", "relative/config"), "/home/player/.config");
  EXPECT_EQ(PreferencesFolderFor("/home/player", nullptr), "/home/player/.config");
  EXPECT_EQ(PreferencesFolderFor(nullptr, nullptr), "<nil>");
  PreferencesFolderFor(home.c_str(), configHome.c_str());
}

}  // namespace
}  // namespace tervix::test
