// The time of day, as a service: backups and history folders are named by the local time, and
// tests set the time instead of the process's time zone.
#pragma once

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
};

// "yyyymmdd-hhnnss": the name of a folder made at that time.
std::string FolderStamp(const LocalTime& time);

// The operating system's clock in local time.
std::unique_ptr<Clock> MakeSystemClock();

// A clock that shows one time until it is set to another: for tests and benchmarks.
class FixedClock : public Clock {
 public:
  explicit FixedClock(LocalTime time = {2005, 3, 3, 14, 7, 31}) : time_(time) {}
  LocalTime Now() override { return time_; }
  void Set(LocalTime time) { time_ = time; }

 private:
  LocalTime time_;
};

}  // namespace sdmate
