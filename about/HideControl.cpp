#include <cstdint>
#include <memory>
#include <optional>

#include "about/AquaAboutBox.h"
#include "about/TraceAnnotation.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Runtime.h"

namespace tervix {

namespace {

// The target's index among the window's controls, or nothing when it is not one of them.
std::optional<int32_t> IndexOfControl(const platform::Window& window,
                                      const platform::RectControl& target) {
  for (int32_t index = 0; index < window.ControlCount(); ++index) {
    platform::RuntimeBackgroundTask();
    if (window.Control(index).get() == &target)
      return index;
  }
  return std::nullopt;
}

void MoveControlsUp(const platform::Window& window, int32_t from, int32_t delta) {
  const int32_t count = window.ControlCount();
  for (int32_t index = from; index < count; ++index) {
    platform::RuntimeBackgroundTask();
    auto control = platform::TypeTest<platform::RectControl>(window.Control(index));
    control->SetTop(control->Top() - delta);
  }
}

}  // namespace

// Hides the target and closes up the gap it leaves: the target and every
// control after it in creation order move up by the distance to the next
// control, and the window shrinks by as much.
void AquaAboutBox::hideControl(const std::shared_ptr<platform::RectControl>& target) {
  WithTraceName("AquaAboutBox.HideControl", [&] {
    platform::RectControl& hidden = platform::NotNil(target);
    if (!hidden.Visible())
      return;
    const std::optional<int32_t> index = IndexOfControl(*this, hidden);
    if (!index)
      return;
    // The last control has no next one to measure the gap by, so nothing moves.
    if (*index + 1 == ControlCount()) {
      hidden.SetVisible(false);
      return;
    }
    const auto next = platform::TypeTest<platform::RectControl>(Control(*index + 1));
    const int32_t delta = next->Top() - hidden.Top();
    hidden.SetVisible(false);
    MoveControlsUp(*this, *index, delta);
    SetHeight(Height() - delta);
  });
}

}  // namespace tervix
