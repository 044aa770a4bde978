#include "platform/ui/Picture.h"

#include <QImage>
#include <QResource>

#include "platform/core/qt/Services.h"
#include "platform/ui/qt/QtPicture.h"

namespace platform {
namespace {

class QtResourceFork : public ResourceFork {
 public:
  std::shared_ptr<Picture> GetPicture(int32_t number) override {
    QImage image(QStringLiteral(":/pictures/%1").arg(number));
    if (image.isNull())
      return nullptr;
    return std::make_shared<qt::QtPicture>(std::move(image));
  }
};

// The resource file registered with the toolkit, so that a changed path
// replaces the old file's pictures rather than adding to them.
QString& RegisteredPath() {
  static QString path;
  return path;
}

}  // namespace

std::shared_ptr<ResourceFork> appResourceForkGetter() {
  const QString path = QString::fromStdString(qt::ResourceFilePath());
  QString& registered = RegisteredPath();
  if (registered != path) {
    if (!registered.isEmpty())
      QResource::unregisterResource(registered);
    registered.clear();
    if (!QResource::registerResource(path))
      return nullptr;
    registered = path;
  }
  return std::make_shared<QtResourceFork>();
}

}  // namespace platform
