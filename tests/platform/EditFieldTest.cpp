#include <QTest>
#include <QWidget>
#include <memory>
#include <string>
#include <utility>

#include "platform/ui/Controls.h"
#include "platform/ui/qt/Widgets.h"
#include "tests/support/TestRuntime.h"

namespace tervix::test {
namespace {

const std::string kLongLine(40000, 'x');

// A field of either kind, alone on screen so that keys reach it.
std::shared_ptr<platform::EditField> Field(bool multiline) {
  auto field = std::make_shared<platform::EditField>();
  field->SetProperty("Multiline", multiline);
  platform::qt::ControlQWidget(*field)->show();
  return field;
}

using EditFieldTest = RuntimeTest;

TEST_F(EditFieldTest, FieldGivesBackTheBytesItWasGivenAndAppended) {
  // clang-format off
  const std::pair<const char*, std::string> kOddTexts[] = {
      {"invalid byte", "b\xFFob"},
      {"cut sequence", "login\xE2\x82"},
      {"overlong slash", "a\xC0\xAF" "b"},
      {"encoded surrogate", "\xED\xA0\x80"},
      {"NUL", std::string("bob\0.usr", 8)},
      {"every line end", "a\r\nb\rc\nd\xE2\x80\xA9" "e\xE2\x80\xA8" "f"},
      {"no-break space", "no\xC2\xA0" "break"},
      {"longer than the line editor holds", kLongLine},
      {"long lines between line ends", kLongLine + "\n" + kLongLine + " " + kLongLine},
  };
  // clang-format on
  for (const auto& [name, bytes] : kOddTexts) {
    for (const bool multiline : {false, true}) {
      SCOPED_TRACE(std::string(name) + (multiline ? ", multi-line" : ", single-line"));
      auto field = Field(multiline);
      field->SetText(bytes);
      EXPECT_TRUE(field->Text() == bytes) << testing::PrintToString(field->Text());
      field->AppendText(bytes);
      EXPECT_TRUE(field->Text() == bytes + bytes);
    }
  }
}

// Once edited, a field holds what its editor shows: bytes that are not UTF-8
// are replaced, and a long line stays one line.
TEST_F(EditFieldTest, EditedFieldGivesTheTextItShowsWithNoLimitOnItsLength) {
  const struct {
    bool multiline;
    std::string given, typed, expected;
  } cases[] = {
      {false, "b\xFFob", "!", "b\xEF\xBF\xBDob!"},
      {false, kLongLine, "y", kLongLine + "y"},
      {true, "b\xFFob\r\n" + kLongLine + "\n", "y", "b\xEF\xBF\xBDob\n" + kLongLine + "\ny"},
  };
  for (const auto& edit : cases) {
    SCOPED_TRACE(edit.expected.substr(0, 10));
    auto field = Field(edit.multiline);
    field->SetText(edit.given);
    QTest::keyClick(platform::qt::ControlInputWidget(*field), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(platform::qt::ControlInputWidget(*field), QString::fromStdString(edit.typed));
    EXPECT_TRUE(field->Text() == edit.expected) << testing::PrintToString(field->Text());
    field->AppendText(kLongLine);
    EXPECT_TRUE(field->Text() == edit.expected + kLongLine);
  }
}

}  // namespace
}  // namespace tervix::test
