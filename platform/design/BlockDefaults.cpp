#include "platform/design/BlockDefaults.h"

#include <cstdint>
#include <limits>

namespace platform {

BlockValues WindowDefaults() {
  return {{"MinWidth", 64},
          {"MinHeight", 64},
          {"MaxWidth", 32000},
          {"MaxHeight", 32000},
          {"Composite", false},
          {"HasBackColor", false},
          {"BackColor", Color{255, 255, 255}},
          {"Visible", true},
          {"FullScreen", false},
          {"MenuBarVisible", true},
          {"CloseButton", true},
          {"Resizeable", false},
          {"MaximizeButton", false},
          {"MacProcID", 0}};
}

BlockValues ControlDefaults(ControlClass control) {
  BlockValues values{{"Index", std::numeric_limits<int32_t>::min()},
                     {"TabPanelIndex", 0},
                     {"InitialParent", std::string()},
                     {"HelpTag", std::string()},
                     {"Visible", true},
                     {"Enabled", true},
                     {"AutoDeactivate", true},
                     {"LockLeft", false},
                     {"LockTop", false},
                     {"LockRight", false},
                     {"LockBottom", false}};
  auto add = [&values](const BlockValues& more) { values.insert(more.begin(), more.end()); };
  if (control != ControlClass::Canvas) {
    add({{"TextFont", std::string("System")},
         {"TextSize", 0},
         {"Bold", false},
         {"Italic", false},
         {"Underline", false}});
  }
  if (control == ControlClass::EditField || control == ControlClass::StaticText) {
    add({{"DataSource", std::string()}, {"DataField", std::string()}});
  }
  const Color black{0, 0, 0};
  switch (control) {
    case ControlClass::Canvas:
      add({{"AcceptFocus", false}, {"AcceptTabs", false}, {"EraseBackground", true}});
      break;
    case ControlClass::EditField:
      add({{"Border", true},
           {"Multiline", false},
           {"ScrollbarHorizontal", false},
           {"ScrollbarVertical", true},
           {"Styled", false},
           {"Password", false},
           {"ReadOnly", false},
           {"UseFocusRing", true},
           {"TextColor", black},
           {"BackColor", Color{255, 255, 255}},
           {"Text", std::string()},
           {"Mask", std::string()},
           {"Format", std::string()},
           {"LimitText", 0},
           {"AcceptTabs", false},
           {"Alignment", 0}});
      break;
    case ControlClass::StaticText:
      add({{"Multiline", false}, {"TextColor", black}, {"TextAlign", 0}});
      break;
    case ControlClass::BevelButton:
      add({{"Bevel", 3},
           {"ButtonType", 0},
           {"CaptionAlign", 3},
           {"CaptionPlacement", 1},
           {"CaptionDelta", 0},
           {"IconAlign", 0},
           {"IconDX", 0},
           {"IconDY", 0},
           {"HasMenu", 0},
           {"MenuValue", 0},
           {"Value", false},
           {"AcceptFocus", false}});
      break;
  }
  return values;
}

}  // namespace platform
