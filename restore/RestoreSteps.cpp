#include "restore/RestoreSteps.h"

#include "app/BusyWait.h"
#include "app/Instances.h"
#include "login/Window1.h"
#include "platform/core/Exceptions.h"
#include "platform/ui/Controls.h"
#include "restore/Restore.h"

namespace tervix::RestoreSteps {

void AppendToTerminal(const platform::Window& window, const std::string& text) {
  window.ControlAs<platform::EditField>("Terminal")->AppendText(text);
}

void Disable(const platform::Window& window, const std::string& buttonName) {
  window.ControlAs<platform::BevelButton>(buttonName)->SetEnabled(false);
}

void ReturnToLogin(const platform::Window& window, const std::string& pressedButton,
                   int32_t ticks) {
  window.ControlAs<platform::BevelButton>(pressedButton)->Refresh(true);
  BusyWait(ticks);
  platform::NotNil(instance::Restore()).Close();
  platform::NotNil(instance::Window1()).Show();
}

}  // namespace tervix::RestoreSteps
