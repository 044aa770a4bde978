#pragma once

#include <memory>

#include "platform/ui/qt/Widgets.h"

namespace platform::qt {

// A window without a menu bar of its own still answers the shortcuts of the
// application's menu bar, as it would under a global menu bar.
void AddShortcutActions(WindowWidget& widget, const std::weak_ptr<Window>& weak,
                        const MenuItem& menu);

}  // namespace platform::qt
