// Free-space arithmetic of the disk gauge.
#include "core/disk_gauge.h"

#include <algorithm>

namespace sdmate {

void DiskGauge::SetMaximum(std::int64_t maximum) {
  if (maximum <= 0) return;
  maximum_ = maximum;
  position_ = std::min(position_, maximum_);
}

void DiskGauge::SetPosition(std::int64_t position) {
  position_ = std::clamp<std::int64_t>(position, 0, maximum_);
}

int DiskGauge::Shift() const {
  int shift = 0;
  while ((maximum_ >> shift) > 0x7FFFFFFF) ++shift;
  return shift;
}

std::string FreeSpaceText(std::int64_t freeBytes) {
  return "残り " + std::to_string(freeBytes / 1024) + ".0 KB ";
}

bool IsLowSpace(std::int64_t freeBytes) { return freeBytes / 1024 < 1000; }

}  // namespace sdmate
