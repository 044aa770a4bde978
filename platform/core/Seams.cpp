#include "platform/core/Seams.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <cstdint>

#include "platform/core/qt/Services.h"

namespace platform {
namespace {

// Ticks come from a monotonic timer; the background task waits in a nested
// loop that serves paint and timer events but leaves user input queued, and
// ends at the next tick boundary.
class RealTickClock : public TickClock {
 public:
  RealTickClock() { timer_.start(); }

  int32_t Ticks() override { return static_cast<int32_t>(static_cast<uint32_t>(TickCount())); }

  void BackgroundTask() override {
    if (QCoreApplication::instance() == nullptr)
      return;
    const int64_t next = TickCount() + 1;
    const int64_t boundaryMs = (next * 1000 + 59) / 60;
    const int64_t waitMs = boundaryMs - timer_.elapsed();
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(waitMs > 0 ? waitMs : 0), Qt::PreciseTimer, &loop,
                       &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
  }

 private:
  int64_t TickCount() const { return timer_.elapsed() * 60 / 1000; }
  QElapsedTimer timer_;
};

struct Installed {
  std::shared_ptr<TickClock> clock;
  std::shared_ptr<DialogHost> dialogs;
  std::string resourceFilePath;
};

Installed& Services() {
  static Installed installed;
  return installed;
}

}  // namespace

void InstallTickClock(std::shared_ptr<TickClock> clock) {
  Services().clock = std::move(clock);
}

void InstallDialogHost(std::shared_ptr<DialogHost> host) {
  Services().dialogs = std::move(host);
}

void SetResourceFilePath(std::string path) {
  Services().resourceFilePath = std::move(path);
}

namespace qt {

TickClock& CurrentTickClock() {
  if (!Services().clock)
    Services().clock = NewRealTickClock();
  return *Services().clock;
}

DialogHost& CurrentDialogHost() {
  if (!Services().dialogs)
    Services().dialogs = NewRealDialogHost();
  return *Services().dialogs;
}

std::string ResourceFilePath() {
  if (!Services().resourceFilePath.empty())
    return Services().resourceFilePath;
  return QCoreApplication::applicationDirPath().toStdString() + "/tervix.rcc";
}

std::shared_ptr<TickClock> NewRealTickClock() {
  return std::make_shared<RealTickClock>();
}

}  // namespace qt
}  // namespace platform
