// Time stamps of folder names.
#include "platform/clock.h"

#include <chrono>
#include <cstdio>

namespace sdmate {

std::string FolderStamp(const LocalTime& time) {
  char text[48];
  std::snprintf(text, sizeof text, "%04d%02d%02d-%02d%02d%02d", time.year % 10000, time.month % 100,
                time.day % 100, time.hour % 100, time.minute % 100, time.second % 100);
  return text;
}

std::int64_t Clock::UnixNow() {
  using namespace std::chrono;
  return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

LocalTime CalendarTimeOf(std::int64_t unixSeconds) {
  using namespace std::chrono;
  const sys_seconds instant{seconds(unixSeconds)};
  const sys_days day = floor<days>(instant);
  const year_month_day date(day);
  const hh_mm_ss<seconds> time(instant - day);
  return {static_cast<int>(date.year()),
          static_cast<int>(unsigned(date.month())),
          static_cast<int>(unsigned(date.day())),
          static_cast<int>(time.hours().count()),
          static_cast<int>(time.minutes().count()),
          static_cast<int>(time.seconds().count())};
}

}  // namespace sdmate
