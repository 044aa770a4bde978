#include "app/Pictures.h"

#include <cstdint>

#include "platform/core/Exceptions.h"
#include "platform/core/Runtime.h"

namespace tervix {
namespace {

constexpr int32_t kBannerResource = 168;
constexpr int32_t kAboutIconResource = 169;

// The last picture each accessor loaded; a nil one is stored too, so that the
// next use looks the resource up again.
std::shared_ptr<platform::Picture> tervix_logo1_permapic;
std::shared_ptr<platform::Picture> tervix_logo4_permapic;

std::shared_ptr<platform::Picture> CachedPicture(std::shared_ptr<platform::Picture>& cache,
                                                 int32_t number) {
  if (cache)
    return cache;
  std::shared_ptr<platform::ResourceFork> resources = platform::appResourceForkGetter();
  cache = platform::NotNil(resources).GetPicture(number);
  return cache;
}

}  // namespace

std::shared_ptr<platform::Picture> tervix_logo1() {
  return CachedPicture(tervix_logo1_permapic, kBannerResource);
}

std::shared_ptr<platform::Picture> tervix_logo4() {
  return CachedPicture(tervix_logo4_permapic, kAboutIconResource);
}

void tervix_logo1_permapicExit() {
  tervix_logo1_permapic = nullptr;
}

void tervix_logo4_permapicExit() {
  tervix_logo4_permapic = nullptr;
}

}  // namespace tervix
