// The turning and mirroring of decoded pixels, the same on every system.
#include "platform/system_pictures.h"

#include <cstddef>
#include <cstring>
#include <utility>

namespace sdmate {

SystemPicture Oriented(SystemPicture picture, int orientation) {
  if (orientation < 2 || orientation > 8) return picture;
  const bool swaps = orientation >= 5;
  const int width = picture.width;
  const int height = picture.height;
  SystemPicture out;
  out.width = swaps ? height : width;
  out.height = swaps ? width : height;
  out.rgba.resize(picture.rgba.size());
  // For each pixel shown at (x, y), the stored pixel it comes from.
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      int sx = x;
      int sy = y;
      switch (orientation) {
        case 2:
          sx = width - 1 - x;
          break;
        case 3:
          sx = width - 1 - x;
          sy = height - 1 - y;
          break;
        case 4:
          sy = height - 1 - y;
          break;
        case 5:
          sx = y;
          sy = x;
          break;
        case 6:
          sx = y;
          sy = height - 1 - x;
          break;
        case 7:
          sx = width - 1 - y;
          sy = height - 1 - x;
          break;
        case 8:
          sx = width - 1 - y;
          sy = x;
          break;
        default:
          break;
      }
      const std::size_t from = (static_cast<std::size_t>(sy) * static_cast<std::size_t>(width) +
                                static_cast<std::size_t>(sx)) *
                               4;
      const std::size_t to = (static_cast<std::size_t>(y) * static_cast<std::size_t>(out.width) +
                              static_cast<std::size_t>(x)) *
                             4;
      std::memcpy(out.rgba.data() + to, picture.rgba.data() + from, 4);
    }
  }
  return out;
}

}  // namespace sdmate
