// Time stamps of folder names.
#include "platform/clock.h"

#include <cstdio>

namespace sdmate {

std::string FolderStamp(const LocalTime& time) {
  char text[48];
  std::snprintf(text, sizeof text, "%04d%02d%02d-%02d%02d%02d", time.year % 10000, time.month % 100,
                time.day % 100, time.hour % 100, time.minute % 100, time.second % 100);
  return text;
}

}  // namespace sdmate
