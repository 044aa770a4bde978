#include <QTest>
#include <QWidget>
#include <memory>
#include <string>

#include "platform/ui/Controls.h"
#include "platform/ui/qt/Widgets.h"
#include "tests/support/TestRuntime.h"

namespace tervix::test {
namespace {

struct OddText {
  const char* name;
  std::string bytes;
  friend void PrintTo(const OddText& text, std::ostream* out) { *out << text.name; }
};

const std::string kLongLine(40000, 'x');

// clang-format off
const OddText kOddTexts[] = {
    {"InvalidByte", "b\xFFob"},
    {"CutSequence", "login\xE2\x82"},
    {"OverlongSlash", "a\xC0\xAF" "b"},
    {"EncodedSurrogate", "\xED\xA0\x80"},
    {"Nul", std::string("bob\0.usr", 8)},
    {"EveryLineEnd", "a\r\nb\rc\nd\xE2\x80\xA9" "e\xE2\x80\xA8" "f"},
    {"NoBreakSpace", "no\xC2\xA0" "break"},
    {"LongerThanTheLineEditorHolds", kLongLine},
    {"LongLinesBetweenLineEnds", kLongLine + "\n" + kLongLine + " " + kLongLine},
};
// clang-format on

// A field of either kind, alone on screen so that keys reach it.
class EditFieldTest : public RuntimeTest, public testing::WithParamInterface<OddText> {
 protected:
  std::shared_ptr<platform::EditField> Field(bool multiline) {
    auto field = std::make_shared<platform::EditField>();
    field->SetProperty("Multiline", multiline);
    platform::qt::ControlQWidget(*field)->show();
    return field;
  }
  static void TypeAtEnd(platform::EditField& field, const QString& keys) {
    QWidget* input = platform::qt::ControlInputWidget(field);
    QTest::keyClick(input, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(input, keys);
  }
};

TEST_P(EditFieldTest, FieldGivesBackTheBytesItWasGivenAndAppended) {
  for (const bool multiline : {false, true}) {
    SCOPED_TRACE(multiline ? "multi-line" : "single-line");
    auto field = Field(multiline);
    field->SetText(GetParam().bytes);
    EXPECT_TRUE(field->Text() == GetParam().bytes) << testing::PrintToString(field->Text());
    field->AppendText(GetParam().bytes);
    EXPECT_TRUE(field->Text() == GetParam().bytes + GetParam().bytes);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, EditFieldTest, testing::ValuesIn(kOddTexts),
                         [](const auto& info) { return std::string(info.param.name); });

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
    TypeAtEnd(*field, QString::fromStdString(edit.typed));
    EXPECT_TRUE(field->Text() == edit.expected) << testing::PrintToString(field->Text());
    field->AppendText(kLongLine);
    EXPECT_TRUE(field->Text() == edit.expected + kLongLine);
  }
}

}  // namespace
}  // namespace tervix::test
