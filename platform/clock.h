// The time of day, as a service: backups and history folders are named by the local time, and
// tests set the time instead of the process's time zone.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace sdmate {

struct LocalTime {
  int year = 1980;
  int month = 1;  // 1 .. 12
  int day = 1;    // 1 .. 31
  int hour = 0;
  int minute = 0;
  int second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  // The local date and time now, to the second.
  virtual LocalTime Now() = 0;
  // The local date and time of an instant (seconds since 1970, UTC): a file's time as the user
  // read it on the computer that wrote it.
  virtual LocalTime LocalTimeOf(std::int64_t unixSeconds) = 0;
  // Seconds since 1970 (UTC) by the system's clock, the one file times follow (also for a clock
  // set to show another time).
  virtual std::int64_t UnixNow();
};

// "yyyymmdd-hhnnss": the name of a folder made at that time.
std::string FolderStamp(const LocalTime& time);

// The operating system's clock in local time.
std::unique_ptr<Clock> MakeSystemClock();

// The calendar time of seconds since 1970, without any time zone.
LocalTime CalendarTimeOf(std::int64_t unixSeconds);

// A clock that shows one time until it is set to another, in a zone of a fixed offset from UTC
// (Japan's, nine hours, unless set): for tests and benchmarks.
class FixedClock : public Clock {
 public:
  explicit FixedClock(LocalTime time = {2005, 3, 3, 14, 7, 31}) : time_(time) {}
  LocalTime Now() override { return time_; }
  LocalTime LocalTimeOf(std::int64_t unixSeconds) override {
    return CalendarTimeOf(unixSeconds + offsetSeconds);
  }
  void Set(LocalTime time) { time_ = time; }

  std::int64_t offsetSeconds = std::int64_t{9} * 3600;

 private:
  LocalTime time_;
};

}  // namespace sdmate
