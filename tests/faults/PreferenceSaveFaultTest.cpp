#include <gtest/gtest.h>

#include <iostream>
#include <string>

#include "options/Option.h"
#include "platform/Controls.h"
#include "platform/Values.h"
#include "platform/Window.h"
#include "prefs/Prefs.h"
#include "tests/faults/FaultSweep.h"
#include "tests/support/UserActions.h"

namespace tervix::test {
namespace {

constexpr const char* kOldLogin = "alice";
constexpr const char* kNewLogin = "bob the builder";
constexpr const char* kNoValue = "<no value>";

// The player opens the preferences window, replaces the default login and
// moves on to the executable field, which saves the login.
class LoginSavedFromPreferences : public FaultedFlow {
 protected:
  explicit LoginSavedFromPreferences(bool storedBefore) : storedBefore_(storedBefore) {}

  Seen Run() override {
    if (storedBefore_)
      StoreFromEarlierRun("PrefLogin", kOldLogin);
    StartLauncher();
    ChooseMenu("Pref");
    platform::Window& window =
        platform::NotNil(platform::GetImplicitWindow(Option::kRuntimeClassName));
    const std::string shown = window.ControlAs<platform::EditField>("EditField1")->Text();
    Type(window, "EditField1", std::string(shown.size(), '\b') + kNewLogin);

    const bool ranToEnd = Act([&] { Focus(window, "Executable"); });

    Seen seen{{"field", window.ControlAs<platform::EditField>("EditField1")->Text()}};
    if (ranToEnd)
      seen["login in this run"] = Prefs::PrefLogin();
    return seen;
  }

 private:
  bool storedBefore_;
};

class LoginReplaced : public LoginSavedFromPreferences {
 public:
  LoginReplaced() : LoginSavedFromPreferences(true) {}
};

class LoginStoredFirstTime : public LoginSavedFromPreferences {
 public:
  LoginStoredFirstTime() : LoginSavedFromPreferences(false) {}
};

// The login as the next run of the launcher loads it, with a cache of its own.
std::string LoadedInNextRun(const FaultCase& save) {
  const ChildOutcome next = RunBesideCase(save, [] {
    const platform::Variant value = Prefs::PreferenceValue("PrefLogin");
    return Seen{{"login", value.IsNil() ? kNoValue : value.StringValue()}};
  });
  EXPECT_EQ(next.trouble, "");
  return next.seen.count("login") ? next.seen.at("login") : "<not loaded>";
}

void CheckSave(const FaultCase& save, const std::string& before) {
  const std::string stored = FaultCase::Read(save.PrefsFolder() + "/PrefLogin");
  const std::string storedBefore = before == kNoValue ? "<missing>" : before;
  EXPECT_TRUE(stored == storedBefore || stored == kNewLogin)
      << "the preference file holds: " << stored;
  const std::string loaded = LoadedInNextRun(save);
  EXPECT_TRUE(loaded == before || loaded == kNewLogin) << "the next run loads: " << loaded;
  EXPECT_EQ(save.Saw("field"), kNewLogin);
  if (!save.fault) {
    EXPECT_EQ(loaded, kNewLogin);
  }
  if (!save.crashed && save.Saw("login in this run") == kNewLogin) {
    EXPECT_EQ(loaded, kNewLogin) << "this run goes on with the new login, the next one will not";
  }
}

void CheckReplacedLogin(const FaultCase& save) {
  CheckSave(save, kOldLogin);
}

void CheckFirstStoredLogin(const FaultCase& save) {
  CheckSave(save, kNoValue);
}

int Report(int cases) {
  std::cout << "fault cases run: " << cases << "\n";
  return cases;
}

TEST(PreferenceSaveFaultTest, LoginIsOldOrNewAfterAnyFailedCall) {
  EXPECT_GE(Report(Sweep<LoginReplaced>(FaultSet::FailedCalls, CheckReplacedLogin)), 60);
}

TEST(PreferenceSaveFaultTest, LoginIsOldOrNewWhereverTheLauncherStops) {
  EXPECT_GE(Report(Sweep<LoginReplaced>(FaultSet::Crashes, CheckReplacedLogin)), 20);
}

TEST(PreferenceSaveFaultTest, FirstLoginIsNoneOrNewAfterAnyFailedCall) {
  EXPECT_GE(Report(Sweep<LoginStoredFirstTime>(FaultSet::FailedCalls, CheckFirstStoredLogin)), 40);
}

TEST(PreferenceSaveFaultTest, FirstLoginIsNoneOrNewWhereverTheLauncherStops) {
  EXPECT_GE(Report(Sweep<LoginStoredFirstTime>(FaultSet::Crashes, CheckFirstStoredLogin)), 10);
}

}  // namespace
}  // namespace tervix::test
