#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/core/Seams.h"
#include "prefs/Prefs.h"
#include "tests/support/ScratchFolder.h"

namespace tervix::test {

// The restore window closes when its wait ends, so the clock notes what it shows at first yield.
class FakeTickClock : public platform::TickClock {
 public:
  int32_t Ticks() override { return now_; }
  void BackgroundTask() override;
  void Set(int32_t now) { now_ = now; }
  int backgroundTaskCalls() const { return backgroundTaskCalls_; }
  const std::optional<std::string>& terminalAtWait() const { return terminalAtWait_; }
  const std::string& pressableAtWait() const { return pressableAtWait_; }

 private:
  int32_t now_ = 1000;
  int backgroundTaskCalls_ = 0;
  std::optional<std::string> terminalAtWait_;
  std::string pressableAtWait_;
};

struct ShownMessage {
  std::string text;
  int style = 0;
  std::string title;
};

// Answers open-file dialogs from a script and records every message box.
class ScriptedDialogs : public platform::DialogHost {
 public:
  void AnswerNextOpenFile(std::optional<std::string> path) { answers_.push_back(std::move(path)); }
  std::optional<std::string> ChooseFile(const std::string& title,
                                        const std::string& initialDirectory) override {
    openFileTitles_.push_back(title);
    initialDirectories_.push_back(initialDirectory);
    return nextAnswer_ < answers_.size() ? answers_[nextAnswer_++] : std::nullopt;
  }
  int ShowMessage(const std::string& text, int style, const std::string& title) override {
    messages_.push_back({text, style, title});
    if (whileMessageShows_)
      whileMessageShows_();
    return 1;
  }
  void WhileMessageShows(std::function<void()> look) { whileMessageShows_ = std::move(look); }

  const std::vector<ShownMessage>& messages() const { return messages_; }
  const std::vector<std::string>& openFileTitles() const { return openFileTitles_; }
  const std::vector<std::string>& openFileInitialDirectories() const { return initialDirectories_; }

 private:
  std::vector<std::optional<std::string>> answers_;
  size_t nextAnswer_ = 0;
  std::vector<ShownMessage> messages_;
  std::function<void()> whileMessageShows_;
  std::vector<std::string> openFileTitles_;
  std::vector<std::string> initialDirectories_;
};

class LaunchRecorder : public platform::LaunchService {
 public:
  platform::LaunchResult Launch(const std::string& shellPath) override {
    launched_.push_back(shellPath);
    if (atLaunch_)
      atLaunch_(shellPath);
    if (error_ == 0)
      return {};
    return {error_, reason_.empty() ? std::strerror(error_) : reason_};
  }
  void FailWith(int error, std::string reason = {}) {
    error_ = error;
    reason_ = std::move(reason);
  }
  void AtLaunch(std::function<void(const std::string&)> look) { atLaunch_ = std::move(look); }
  const std::vector<std::string>& launched() const { return launched_; }

 private:
  std::vector<std::string> launched_;
  int error_ = 0;
  std::string reason_;
  std::function<void(const std::string&)> atLaunch_;
};

// CTest runs every test in a process of its own, so process-wide state starts fresh for each.
class RuntimeTest : public ScratchFolderTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  virtual std::vector<std::string> CommandLine() const { return {"tervix-tests"}; }

  // Runs the launcher's start-up up to the event loop: classes registered,
  // App with its menu bar, menu handlers bound, the login window built.
  void StartLauncher();

  std::string PrefsFolderPath() const { return ConfigHome() + "/" + Prefs::kApplicationFolderName; }

  // The restore window's terminal as the player last saw it: at the first
  // wait, which ends in the return to the login window, else as it is now.
  std::string RestoreTerminal() const;

  FakeTickClock& clock() { return *clock_; }
  ScriptedDialogs& dialogs() { return *dialogs_; }
  LaunchRecorder& launches() { return *launches_; }

 private:
  std::shared_ptr<FakeTickClock> clock_ = std::make_shared<FakeTickClock>();
  std::shared_ptr<ScriptedDialogs> dialogs_ = std::make_shared<ScriptedDialogs>();
  std::shared_ptr<LaunchRecorder> launches_ = std::make_shared<LaunchRecorder>();
};

}  // namespace tervix::test
