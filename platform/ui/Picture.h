#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// An image loaded from the application's resource file.
class Picture {
 public:
  virtual ~Picture() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
};

// The application's resource file.
class ResourceFork {
 public:
  virtual ~ResourceFork() = default;
  // The picture resource of that number, or nil when it is absent.
  virtual std::shared_ptr<Picture> GetPicture(int32_t number) = 0;
};

// The application's resource file, or nil when it cannot be opened.
std::shared_ptr<ResourceFork> appResourceForkGetter();

}  // namespace platform
