// The yardstick for the launcher's start-up: a plain Qt program that shows a
// window of the login window's size with the same widgets, menu and banner,
// and does nothing else.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QResource>
#include <QScreen>
#include <QWidget>

namespace {

class Banner : public QWidget {
 public:
  Banner(QWidget* parent, QPixmap picture) : QWidget(parent), picture_(std::move(picture)) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
  }

 private:
  QPixmap picture_;
};

void BuildMenu(QMainWindow& window) {
  QMenu* file = window.menuBar()->addMenu("&File");
  file->addAction("About Tervix");
  file->addSeparator();
  file->addAction("Preferences...")->setShortcut(QKeySequence("Ctrl+,"));
  QAction* quit = file->addAction("&Quit");
  quit->setShortcut(QKeySequence("Ctrl+Q"));
  QObject::connect(quit, &QAction::triggered, qApp, &QApplication::quit);
}

void BuildControls(QWidget& area) {
  auto* banner = new Banner(&area, QPixmap(":/pictures/168"));
  banner->setGeometry(0, 0, 395, 57);
  auto* login = new QLineEdit(&area);
  login->setGeometry(60, 70, 199, 22);
  auto* label = new QLabel("Login", &area);
  label->setGeometry(13, 72, 35, 20);
  auto* status = new QLabel("Please enter your gateway login...", &area);
  status->setGeometry(0, 104, 276, 20);
  status->setAlignment(Qt::AlignCenter);
  QPalette palette = status->palette();
  palette.setColor(QPalette::WindowText, QColor(0x2A, 0x43, 0x91));
  status->setPalette(palette);
  auto* logon = new QPushButton("Logon", &area);
  logon->setGeometry(277, 70, 92, 22);
  auto* restore = new QPushButton("Restore", &area);
  restore->setGeometry(277, 102, 92, 22);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc > 1) {
    QResource::registerResource(QString::fromLocal8Bit(argv[1]));
  }
  QMainWindow window;
  window.setWindowTitle("Tervix Launcher");
  BuildMenu(window);
  auto* area = new QWidget(&window);
  area->setFixedSize(389, 148);
  BuildControls(*area);
  window.setCentralWidget(area);
  window.setFixedSize(window.sizeHint());
  QRect screen = application.primaryScreen()->availableGeometry();
  window.move(screen.center() - window.rect().center());
  window.show();
  return application.exec();
}
