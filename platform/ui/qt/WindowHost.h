#pragma once

#include <QMainWindow>

#include "platform/ui/qt/Widgets.h"

// The toolkit side of a window: bringing the main window in line with the
// design values kept beside it.
namespace platform::qt {

// The main window; NilObjectException once the toolkit has deleted it.
QMainWindow& LiveWindow(const WindowWidget& widget);
void ApplyFlags(WindowWidget& widget);
void ApplySize(WindowWidget& widget);
void ApplyBackColor(WindowWidget& widget);
void ApplyMenuBarVisible(WindowWidget& widget);
// Shows the window, the first time centred on its screen when its placement asks for that.
void Present(WindowWidget& widget);

}  // namespace platform::qt
