#include <QTest>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/core/Runtime.h"
#include "platform/ui/Controls.h"
#include "platform/ui/qt/Widgets.h"
#include "tests/support/TestRuntime.h"
#include "tests/support/UserActions.h"

namespace tervix::test {
namespace {

class TinyWindow : public platform::Window {
 public:
  static constexpr const char* kRuntimeClassName = "Tiny.Tiny";
  std::string RuntimeClassName() const override { return kRuntimeClassName; }

 protected:
  void Layout() override {
    platform::SetProperties(
        *this, platform::EncodeWindowBlock({"Tiny", 300, 200, 0, 0, false, false, {}}));
  }
  void CreateControls() override {
    using platform::ControlClass;
    CreateControl({"EditField1", ControlClass::EditField, 10, 40, 200, 22, "", 0, {}},
                  platform::KeyOrder::Forward);
    CreateControl({"BevelButton1", ControlClass::BevelButton, 10, 10, 200, 22, "", 1, {}},
                  platform::KeyOrder::Forward);
  }
  void AddMenuHandlers(platform::Window&) override {}
};

using WindowTest = RuntimeTest;

// A LostFocus handler may close the window again, move the focus or fail; it closes all the same.
TEST_F(WindowTest, ClosingGivesTheFocusedFieldOneLostFocusFirstWhateverItDoes) {
  platform::RuntimeRegisterAppObject(std::make_shared<platform::Application>());
  const struct {
    std::string name;
    std::function<void(platform::Window&, platform::RectControl&)> act;
    std::string failure;
  } cases[] = {
      {"only reads", [](auto&, auto&) {}, ""},
      {"closes again", [](auto& window, auto&) { window.Close(); }, ""},
      {"hides the field", [](auto&, auto& field) { field.SetVisible(false); }, ""},
      {"fails", [](auto&, auto&) { throw platform::RuntimeException("save failed"); },
       "save failed"},
  };
  for (const auto& lastLostFocus : cases) {
    SCOPED_TRACE(lastLostFocus.name);
    auto window = platform::ImplicitInstance<TinyWindow>();
    auto* field = window->ControlAs<platform::EditField>("EditField1").get();
    std::vector<std::string> seen;
    field->InstallInstanceEventHandler("LostFocus", [&, field, w = window.get()] {
      seen.push_back(field->Text() + (w->IsOpen() ? " in an open window" : " too late"));
      lastLostFocus.act(*w, *field);
    });
    window->ControlByName("BevelButton1")
        ->InstallInstanceEventHandler("Action", [w = window.get()] { w->Close(); });
    Type(*window, "EditField1", "typed");
    std::string failure;
    try {
      Click(*window, "BevelButton1");
    } catch (const platform::RuntimeException& error) {
      failure = error.Message();
    }
    EXPECT_EQ(failure, lastLostFocus.failure);
    EXPECT_EQ(seen, std::vector<std::string>{"typed in an open window"});
    EXPECT_FALSE(window->IsOpen());
  }
}

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

// Bytes that are not UTF-8 are replaced, and a long line stays one line.
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
