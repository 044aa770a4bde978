#include <gtest/gtest.h>

#include <iostream>
#include <string>
#include <vector>

#include "login/Window1.h"
#include "platform/Controls.h"
#include "platform/Runtime.h"
#include "platform/Window.h"
#include "tests/faults/FaultSweep.h"
#include "tests/support/UserActions.h"

namespace tervix::test {
namespace {

using Files = std::vector<std::string>;

constexpr const char* kProfile = "bob's profile: level 12, three ships";
constexpr const char* kOldBackup =
    "bob's backup from last week, longer than the profile he has now";
constexpr const char* kExecutable = "/opt/tervix/Tervix";
constexpr const char* kPrompt = "Please enter your gateway login...";
constexpr const char* kStartingGateway = "Starting gateway...";
constexpr const char* kGatewayMissing = "This gateway doesn't exists, please try again...";

std::string Join(const std::vector<std::string>& lines) {
  std::string joined;
  for (const std::string& line : lines)
    joined += (joined.empty() ? "" : "\n") + line;
  return joined;
}

// Bob's profile and last week's backup are on disk, the game is known from an
// earlier run, and bob presses "Logon".
class LogonFlow : public FaultedFlow {
 protected:
  Seen Run() override {
    WriteFile(ProfileFolder() + "bob.usr", kProfile);
    WriteFile(ProfileFolder() + "bob-backup.usr", kOldBackup);
    StoreFromEarlierRun("PrefExecutable", kExecutable);
    StartLauncher();
    platform::Window& window =
        platform::NotNil(platform::GetImplicitWindow(Window1::kRuntimeClassName));
    Type(window, "EditField1", "bob");

    Act([&] { Click(window, "BevelButton1"); });

    std::vector<std::string> messages;
    for (const ShownMessage& message : dialogs().messages())
      messages.push_back(message.text);
    const std::optional<int> quit = platform::PendingQuitCode();
    return {{"status", window.ControlAs<platform::StaticText>("StaticText2")->Text()},
            {"launched", Join(launches().launched())},
            {"messages", Join(messages)},
            {"quit", quit ? std::to_string(*quit) : "none"}};
  }
};

void CheckLogon(const FaultCase& logon) {
  const std::string folder = logon.ProfileFolder();
  const std::string backup = FaultCase::Read(folder + "bob-backup.usr");
  const std::string status = logon.Saw("status");
  EXPECT_EQ(FaultCase::Read(folder + "bob.usr"), kProfile);
  EXPECT_TRUE(backup == kOldBackup || backup == kProfile)
      << "the player was left without a whole backup; it holds: " << backup;

  if (logon.crashed) {
    if (status == kStartingGateway) {
      EXPECT_EQ(backup, kProfile) << "\"Starting gateway...\" was shown before the backup was made";
    }
    EXPECT_EQ(logon.Saw("launched"), "");
    return;
  }
  EXPECT_EQ(FaultCase::List(folder), (Files{"bob-backup.usr", "bob.usr"}))
      << "a temporary file was left behind";
  if (status == kPrompt) {
    EXPECT_EQ(logon.Saw("messages"), kGatewayMissing);
    EXPECT_EQ(backup, kOldBackup);
    EXPECT_EQ(logon.Saw("launched"), "");
    EXPECT_EQ(logon.Saw("quit"), "none");
    return;
  }
  EXPECT_EQ(status, kStartingGateway);
  EXPECT_EQ(logon.Saw("messages"), "");
  EXPECT_EQ(logon.Saw("quit"), "0");
  const std::string launched = logon.Saw("launched");
  EXPECT_TRUE(launched == kExecutable || launched.empty()) << "launched: " << launched;
  if (!logon.fault) {
    EXPECT_EQ(logon.Saw("launched"), kExecutable);
    EXPECT_EQ(backup, kProfile) << "a logon where nothing failed made no backup";
  }
}

TEST(LogonFaultTest, BackupIsWholeAfterAnyFailedCall) {
  const int cases = Sweep<LogonFlow>(FaultSet::FailedCalls, CheckLogon);
  std::cout << "fault cases run: " << cases << "\n";
  EXPECT_GE(cases, 30);
}

TEST(LogonFaultTest, BackupIsWholeWhereverTheLauncherStops) {
  const int cases = Sweep<LogonFlow>(FaultSet::Crashes, CheckLogon);
  std::cout << "fault cases run: " << cases << "\n";
  EXPECT_GE(cases, 10);
}

}  // namespace
}  // namespace tervix::test
