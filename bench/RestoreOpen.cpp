// The time from the login window's "Restore" button to the restore window
// painted on screen, with a long stored login against an empty one.
#include <QApplication>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/Instances.h"
#include "app/Startup.h"
#include "bench/Report.h"
#include "login/Window1.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Runtime.h"
#include "platform/core/Seams.h"
#include "platform/ui/Controls.h"
#include "platform/ui/qt/Widgets.h"
#include "prefs/Prefs.h"
#include "restore/Restore.h"

namespace {

constexpr int kRuns = 3;
constexpr double kTargetSeconds = 1.0;

// A login with neither a line end nor a blank, the hardest line for the
// toolkit to wrap, as a hand-edited preference file might hold.
std::string Login(size_t bytes) {
  std::string login;
  login.reserve(bytes);
  while (login.size() < bytes)
    login += "gatewayplayer";
  login.resize(bytes);
  return login;
}

// Presses "Restore" and waits until the restore window has painted.
double OpenRestore(size_t loginBytes) {
  const auto start = std::chrono::steady_clock::now();
  platform::NotNil(tervix::instance::Window1()).BevelButton2_Action();
  tervix::Restore& restore = platform::NotNil(tervix::instance::Restore());
  QApplication::processEvents();
  platform::qt::WindowQWidget(restore)->repaint();
  const double seconds = bench::SecondsSince(start);
  const auto* terminal = qobject_cast<const QPlainTextEdit*>(
      platform::qt::ControlInputWidget(*restore.ControlByName("Terminal")));
  if (terminal == nullptr ||
      terminal->document()->characterCount() < 2 * static_cast<int>(loginBytes))
    throw std::runtime_error("the terminal does not show the whole login twice");
  restore.Close();
  platform::NotNil(tervix::instance::Window1()).Show();
  QApplication::processEvents();
  return seconds;
}

double MedianOpen(size_t loginBytes) {
  tervix::Prefs::PrefLogin(Login(loginBytes));
  std::vector<double> runs;
  for (int i = 0; i < kRuns; ++i)
    runs.push_back(OpenRestore(loginBytes));
  return bench::Median(runs);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s FOLDER RESOURCE-FILE\n", argv[0]);
    return 2;
  }
  try {
    const std::string folder = std::filesystem::absolute(argv[1]).string();
    std::filesystem::create_directories(folder + "/config");
    setenv("XDG_CONFIG_HOME", (folder + "/config").c_str(), 1);
    platform::SetResourceFilePath(argv[2]);
    platform::RuntimeInit(argc, argv);
    tervix::initialize();
    tervix::NewAppInstance();
    tervix::ApplicationAddMenuHandlers();
    tervix::MakeDefaultView();

    MedianOpen(0);
    const double empty = MedianOpen(0);
    for (const size_t megabytes : {1, 10}) {
      const double seconds = MedianOpen(megabytes * 1000 * 1000);
      bench::PrintRow("restore window open with a " + std::to_string(megabytes) +
                          " MB stored login vs an empty one (s, median of " +
                          std::to_string(kRuns) + ")",
                      bench::Fixed(seconds, 3), bench::Fixed(empty, 3),
                      bench::Fixed(seconds / empty, 1) + "x", "< 1 s", seconds < kTargetSeconds);
    }
    for (const auto& window : platform::OpenWindows())
      window->Close();
    tervix::finalize();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "restore benchmark: %s\n", error.what());
    return 1;
  }
  return 0;
}
