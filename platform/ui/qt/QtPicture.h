#pragma once

#include <QImage>

#include "platform/ui/Picture.h"

namespace platform::qt {

// A picture held as a toolkit image.
class QtPicture : public Picture {
 public:
  explicit QtPicture(QImage image) : image_(std::move(image)) {}
  int Width() const override { return image_.width(); }
  int Height() const override { return image_.height(); }
  const QImage& Image() const { return image_; }

 private:
  QImage image_;
};

}  // namespace platform::qt
