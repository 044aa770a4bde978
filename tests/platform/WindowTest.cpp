#include <functional>
#include <string>
#include <vector>

#include "platform/core/Runtime.h"
#include "platform/ui/Controls.h"
#include "platform/ui/qt/Widgets.h"
#include "tests/support/TestRuntime.h"
#include "tests/support/UserActions.h"

namespace tervix::test {
namespace {

// A window of a field and a button, made for this test.
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

// Closing hands what was typed just before to the focused field's LostFocus,
// once, while the window is still whole. That handler may close the window
// again, move the focus (hiding the field moves it) or fail; the window
// closes all the same, and no second LostFocus comes.

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

}  // namespace
}  // namespace tervix::test
